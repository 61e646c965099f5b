#pragma once

// Helpers shared by the fuzz targets.

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QString>
#include <cstddef>
#include <cstdint>
#include <unistd.h>

namespace fuzz {

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

/// Readers that need Qt's application object (fonts, settings) get one, once, drawing
/// off screen.
inline void ensureApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    if (!QCoreApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        new QGuiApplication(argc, argv);
    }
}

/// The path of a scratch file of this process holding `content`, for readers that
/// only take a file name. Kept in memory-backed storage where there is some.
inline QString scratchFile(const char* name, const QByteArray& content)
{
    static const QString folder =
        QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
    const QString path =
        folder + QStringLiteral("/lumara-fuzz-%1-").arg(::getpid()) + QLatin1String(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(content);
    return path;
}

} // namespace fuzz
