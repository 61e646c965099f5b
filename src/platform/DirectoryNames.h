#pragma once

#include <atomic>
#include <cstddef>
#include <functional>
#include <string>
#include <vector>

namespace platform {

/// The names of one folder in directory order, with the kind the directory records for
/// each (a DT_* value, DT_UNKNOWN where the file system does not say). All names sit in
/// one block of bytes, each closed by a NUL, so a huge folder costs one allocation for
/// its names rather than one a name. Names keep their exact bytes.
class DirectoryNames {
public:
    [[nodiscard]] size_t size() const { return offsets_.size(); }
    [[nodiscard]] bool empty() const { return offsets_.empty(); }
    /// The name at `i`, NUL-terminated; valid while this object lives unchanged.
    [[nodiscard]] const char* name(size_t i) const { return bytes_.data() + offsets_[i]; }
    [[nodiscard]] size_t length(size_t i) const;
    [[nodiscard]] unsigned char type(size_t i) const { return types_[i]; }

    void add(const char* name, size_t length, unsigned char type);
    void reserve(size_t names);

private:
    std::string bytes_;
    std::vector<size_t> offsets_;
    std::vector<unsigned char> types_;
};

/// Which names readDirectoryNames keeps: given the name (NUL-terminated) and its kind.
using NameFilter = std::function<bool(const char* name, unsigned char type)>;

/// Calls `take` with each name of the folder open at `dirFd` ("." and ".." left out),
/// its length and its kind, read with a few large directory reads. Stops early when
/// `stop` is set. Returns 0, or the error number of a failed read (the names read
/// before it were taken). The handle stays open and is read from its current position.
using NameTaker = std::function<void(const char* name, size_t length, unsigned char type)>;
[[nodiscard]] int forEachDirectoryName(int dirFd, const NameTaker& take,
                                       const std::atomic<bool>* stop = nullptr);

/// Reads the names of the folder open at `dirFd` ("." and ".." left out) with a few
/// large directory reads, appending those `keep` takes to `names`. Stops early when
/// `stop` is set. Returns 0, or the error number of a failed read (the names read
/// before it are kept). The handle stays open and is read from its current position.
[[nodiscard]] int readDirectoryNames(int dirFd, DirectoryNames& names, const NameFilter& keep,
                                     const std::atomic<bool>* stop = nullptr);

/// Runs `work(begin, end)` over consecutive blocks of [0, count) on as many threads as
/// the machine has cores (on the calling thread alone when the count is small), blocks
/// handed out in order. Once `stop` is set no further block is started, so the blocks
/// done always form a prefix; returns its length (count when never stopped). `work`
/// is called from several threads at once and must only touch its own block's items.
size_t forEachBlock(size_t count, const std::function<void(size_t begin, size_t end)>& work,
                    const std::atomic<bool>* stop = nullptr);

} // namespace platform
