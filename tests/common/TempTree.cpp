#include "TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

TempTree::TempTree()
{
    EXPECT_TRUE(dir_.isValid());
}

QString TempTree::path(const QString& relative) const
{
    return relative.isEmpty() ? root() : root() + QLatin1Char('/') + relative;
}

QString TempTree::file(const QString& relative, qint64 size)
{
    return file(relative, QByteArray(size, 'x'));
}

QString TempTree::file(const QString& relative, const QByteArray& content)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    QFile out(full);
    EXPECT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate)) << full.toStdString();
    out.write(content);
    return full;
}

QString TempTree::folder(const QString& relative)
{
    const QString full = path(relative);
    QDir().mkpath(full);
    return full;
}

void TempTree::setModified(const QString& relative, const QDateTime& when)
{
    QFile f(path(relative));
    EXPECT_TRUE(f.open(QIODevice::ReadWrite));
    EXPECT_TRUE(f.setFileTime(when, QFileDevice::FileModificationTime));
    EXPECT_TRUE(f.setFileTime(when, QFileDevice::FileAccessTime));
}
