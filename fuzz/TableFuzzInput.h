#pragma once

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QString>
#include <cstddef>
#include <cstdint>

/// Writes the input to a fixed file with the given extension (the readers read files)
/// and returns its path; empty when it cannot be written.
inline QString WriteTableFuzzInput(const uint8_t* data, size_t size, const char* ext)
{
    const QString path = QDir::tempPath() + QStringLiteral("/lumara-fuzz-%1.%2")
                                                .arg(QCoreApplication::applicationPid())
                                                .arg(QLatin1String(ext));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return {};
    file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}
