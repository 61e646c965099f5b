#include "basket/BasketHeader.h"

#include <limits>

namespace {

int ansiCode(QChar c)
{
    return c.unicode() < 256 ? c.unicode() : '?';
}

} // namespace

QString EncodeBasketHeader(const QString& text, const QString& key, int* checksum)
{
    if (checksum)
        *checksum = 0;
    if (key.isEmpty())
        return {};
    QString result;
    result.reserve(text.size() * 2);
    int sum = 0;
    qsizetype p = 0;
    for (const QChar c : text) {
        p = p < key.size() ? p + 1 : 1;
        const int x = ansiCode(c) ^ ansiCode(key.at(p - 1));
        sum += x;
        if (sum > std::numeric_limits<qint16>::max())
            return {};
        result += QString::number(x, 16).toUpper().rightJustified(2, QLatin1Char(' '));
    }
    if (checksum)
        *checksum = sum;
    return result;
}

QString DecodeBasketHeader(const QString& text, const QString& key, int* checksum)
{
    if (checksum)
        *checksum = 0;
    if (key.isEmpty())
        return {};
    QString result;
    result.reserve(text.size() / 2 + 1);
    int sum = 0;
    qsizetype p = 0;
    for (qsizetype i = 0; i < text.size(); i += 2) {
        bool ok = false;
        int x = text.mid(i, 2).trimmed().toInt(&ok, 16);
        if (!ok || x < 0)
            x = 0;
        p = p < key.size() ? p + 1 : 1;
        const int k = ansiCode(key.at(p - 1));
        sum = k ^ ((sum + x) & 0xFFFF);
        result += QChar((k ^ x) & 0xFFFF);
    }
    if (checksum)
        *checksum = sum;
    return result;
}

bool IsBasketHeaderLine(const QString& line)
{
    // A longer line cannot decode to the mark; skip decoding anything large.
    if (line.size() > 2 * BasketMark.size() + 1)
        return false;
    return DecodeBasketHeader(line, BasketKey) == BasketMark;
}
