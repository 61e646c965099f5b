#include "TempTree.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TempTree::TempTree()
{
    EXPECT_TRUE(dir_.isValid());
}

TempTree::~TempTree()
{
    for (const QString& folder : std::as_const(locked_))
        ::chmod(QFile::encodeName(folder).constData(), 0700);
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

QString TempTree::link(const QString& relative, const QString& target)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    EXPECT_EQ(::symlink(QFile::encodeName(target).constData(), QFile::encodeName(full).constData()),
              0)
        << full.toStdString();
    return full;
}

QString TempTree::fifo(const QString& relative)
{
    const QString full = path(relative);
    QDir().mkpath(QFileInfo(full).absolutePath());
    EXPECT_EQ(::mkfifo(QFile::encodeName(full).constData(), 0600), 0) << full.toStdString();
    return full;
}

QString TempTree::sparseFile(const QString& relative, qint64 size)
{
    const QString full = file(relative, qint64(0));
    EXPECT_EQ(::truncate(QFile::encodeName(full).constData(), off_t(size)), 0)
        << full.toStdString();
    return full;
}

QString TempTree::unreadableFolder(const QString& relative)
{
    const QString full = folder(relative);
    file(relative + QStringLiteral("/inside.txt"), 3);
    EXPECT_EQ(::chmod(QFile::encodeName(full).constData(), 0), 0);
    locked_ << full;
    return full;
}

void TempTree::openRootToOthers()
{
    EXPECT_EQ(::chmod(QFile::encodeName(root()).constData(), 0755), 0);
}
