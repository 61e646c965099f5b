#include "TempTree.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"

#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <ftw.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

TempTree::TempTree()
{
    EXPECT_TRUE(dir_.isValid());
}

namespace {

int removeEntry(const char* path, const struct stat*, int, struct FTW* at)
{
    if (at->level > 0)
        ::remove(path);
    return 0;
}

} // namespace

TempTree::~TempTree()
{
    for (const QString& folder : std::as_const(locked_))
        ::chmod(platform::encodeFileName(folder).constData(), 0700);
    // By bytes: Qt's own removal cannot reach names that are not UTF-8.
    ::nftw(platform::encodeFileName(root()).constData(), removeEntry, 16, FTW_DEPTH | FTW_PHYS);
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
    // By bytes too: folders may have names that are not UTF-8.
    platform::makeFolders(full.left(full.lastIndexOf(u'/')));
    // Written by bytes, so a name that is not UTF-8 lands as given.
    const int fd = ::open(platform::encodeFileName(full).constData(),
                          O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    EXPECT_GE(fd, 0) << full.toStdString();
    if (fd >= 0) {
        EXPECT_EQ(::write(fd, content.constData(), size_t(content.size())), content.size());
        ::close(fd);
    }
    return full;
}

QString TempTree::folder(const QString& relative)
{
    const QString full = path(relative);
    platform::makeFolders(full);
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
    // By bytes too: folders may have names that are not UTF-8.
    platform::makeFolders(full.left(full.lastIndexOf(u'/')));
    EXPECT_EQ(::symlink(platform::encodeFileName(target).constData(),
                        platform::encodeFileName(full).constData()),
              0)
        << full.toStdString();
    return full;
}

QString TempTree::fifo(const QString& relative)
{
    const QString full = path(relative);
    // By bytes too: folders may have names that are not UTF-8.
    platform::makeFolders(full.left(full.lastIndexOf(u'/')));
    EXPECT_EQ(::mkfifo(platform::encodeFileName(full).constData(), 0600), 0) << full.toStdString();
    return full;
}

QString TempTree::sparseFile(const QString& relative, qint64 size)
{
    const QString full = file(relative, qint64(0));
    EXPECT_EQ(::truncate(platform::encodeFileName(full).constData(), off_t(size)), 0)
        << full.toStdString();
    return full;
}

QString TempTree::unreadableFolder(const QString& relative)
{
    const QString full = folder(relative);
    file(relative + QStringLiteral("/inside.txt"), 3);
    EXPECT_EQ(::chmod(platform::encodeFileName(full).constData(), 0), 0);
    locked_ << full;
    return full;
}

void TempTree::openRootToOthers()
{
    EXPECT_EQ(::chmod(platform::encodeFileName(root()).constData(), 0755), 0);
}
