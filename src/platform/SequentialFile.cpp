#include "platform/SequentialFile.h"

#include "platform/FileNames.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform {

SequentialFile::SequentialFile(const QString& path)
{
    // Non-blocking, so a pipe without writer is refused instead of waited for; reads of a
    // regular file never block on it, so the flag can stay.
    const int fd =
        ::open(encodeFileName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return;
    }
    fd_ = fd;
    size_ = left_ = st.st_size;
}

SequentialFile::~SequentialFile()
{
    if (fd_ >= 0)
        ::close(fd_);
}

qint64 SequentialFile::read(char* into, qint64 most)
{
    if (fd_ < 0)
        return -1;
    const qint64 wanted = std::min(most, left_);
    if (wanted <= 0)
        return 0;
    ssize_t n = 0;
    do {
        n = ::read(fd_, into, size_t(wanted));
    } while (n < 0 && errno == EINTR);
    if (n > 0)
        left_ -= n;
    return n < 0 ? -1 : qint64(n);
}

} // namespace platform
