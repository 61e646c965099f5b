#include "platform/TableSource.h"

#include <QRegularExpression>

namespace platform {

std::optional<QString> TableOfRecordSource(const QString& query)
{
    static const QRegularExpression head(QStringLiteral("^\\s*SELECT\\s+\\*\\s+FROM\\s+"),
                                         QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch m = head.match(query);
    if (!m.hasMatch())
        return std::nullopt;
    const QString rest = query.mid(m.capturedEnd());
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close <= 1 || !rest.mid(close + 1).trimmed().isEmpty())
            return std::nullopt;
        return rest.mid(1, close - 1);
    }
    // Unbracketed: the name is one word; a second word can only be an alias.
    const QStringList words =
        rest.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty() || words.size() > 2)
        return std::nullopt;
    return words.front();
}

} // namespace platform
