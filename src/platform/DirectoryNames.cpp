#include "platform/DirectoryNames.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <memory>
#include <thread>

namespace platform {
namespace {

// One directory read fills up to this much; a million names take a few dozen reads
// instead of the tens of thousands that readdir's small buffer needs.
constexpr size_t ReadBufferBytes = size_t(1) << 20;

// Items a thread takes at a time: large enough that handing out blocks costs nothing
// next to the work, small enough that a stop is heard soon.
constexpr size_t BlockItems = 256;

bool isDotOrDotDot(const char* name)
{
    return name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0));
}

// Below this many blocks starting threads costs more than it saves.
constexpr size_t BlocksWorthThreads = 4;

size_t workerCount(size_t blocks)
{
    if (blocks < BlocksWorthThreads)
        return 1;
    const size_t cores = std::max(1u, std::thread::hardware_concurrency());
    return std::min(cores, blocks);
}

} // namespace

size_t DirectoryNames::length(size_t i) const
{
    const size_t end = i + 1 < offsets_.size() ? offsets_[i + 1] - 1 : bytes_.size() - 1;
    return end - offsets_[i];
}

void DirectoryNames::add(const char* name, size_t length, unsigned char type)
{
    offsets_.push_back(bytes_.size());
    types_.push_back(type);
    bytes_.append(name, length);
    bytes_.push_back('\0');
}

void DirectoryNames::reserve(size_t names)
{
    offsets_.reserve(names);
    types_.reserve(names);
    // Most names are short; the block grows by doubling past this.
    bytes_.reserve(names * 24);
}

int forEachDirectoryName(int dirFd, const NameTaker& take, const std::atomic<bool>* stop)
{
    const auto buffer = std::make_unique_for_overwrite<char[]>(ReadBufferBytes);
    for (;;) {
        if (stop && stop->load(std::memory_order_relaxed))
            return 0;
        const ssize_t got = ::getdents64(dirFd, buffer.get(), ReadBufferBytes);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (got == 0)
            return 0;
        for (ssize_t at = 0; at < got;) {
            const auto* d = reinterpret_cast<const struct dirent64*>(buffer.get() + at);
            at += d->d_reclen;
            if (!isDotOrDotDot(d->d_name))
                take(d->d_name, std::strlen(d->d_name), d->d_type);
        }
    }
}

int readDirectoryNames(int dirFd, DirectoryNames& names, const NameFilter& keep,
                       const std::atomic<bool>* stop)
{
    return forEachDirectoryName(
        dirFd,
        [&](const char* name, size_t length, unsigned char type) {
            if (keep(name, type))
                names.add(name, length, type);
        },
        stop);
}

size_t forEachBlock(size_t count, const std::function<void(size_t begin, size_t end)>& work,
                    const std::atomic<bool>* stop)
{
    const size_t blocks = (count + BlockItems - 1) / BlockItems;
    std::atomic<size_t> next{0};
    const auto run = [&] {
        for (;;) {
            if (stop && stop->load(std::memory_order_relaxed))
                return;
            const size_t block = next.fetch_add(1, std::memory_order_relaxed);
            if (block >= blocks)
                return;
            work(block * BlockItems, std::min(count, (block + 1) * BlockItems));
        }
    };
    const size_t workers = workerCount(blocks);
    if (workers <= 1) {
        run();
    } else {
        std::vector<std::jthread> helpers;
        helpers.reserve(workers - 1);
        for (size_t i = 1; i < workers; ++i)
            helpers.emplace_back(run);
        run();
    }
    // Every block taken was finished (the helpers are joined above), and blocks are
    // taken in order, so what is done is the blocks before the first one not taken.
    return std::min(count, std::min(next.load(), blocks) * BlockItems);
}

} // namespace platform
