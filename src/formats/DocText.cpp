#include "formats/DocText.h"

#include "platform/FileAccess.h"

#include <QFile>

namespace {
constexpr qsizetype BlockSize = 1024;
}

QString DocText(const QByteArray& bytes)
{
    // The block count rounds past the end, so the tail is padded with spaces as read.
    const qsizetype blocks = bytes.size() / BlockSize + 1;
    const qsizetype padded = blocks * BlockSize;
    QString text;
    text.reserve(padded);
    for (qsizetype i = 0; i < padded; ++i) {
        const auto b = i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : ' ';
        if (b == 13)
            text += QChar(10);
        else if (b > 31 && b < 127)
            text += QChar(b);
    }
    return text;
}

std::optional<QString> DocTextOfFile(const QString& path)
{
    QFile file;
    if (!platform::openForReading(file, path))
        return std::nullopt;
    return DocText(file.readAll());
}
