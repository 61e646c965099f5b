#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <sys/stat.h>

/// The bytes of the file at `path`, or "<missing>" when it cannot be read.
inline QByteArray FileBytes(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

/// The permission bits of `path` (a link followed), or 0 when it cannot be statted.
inline unsigned ModeOf(const QString& path)
{
    struct stat st {};
    return ::stat(QFile::encodeName(path).constData(), &st) == 0 ? st.st_mode & 07777 : 0;
}
