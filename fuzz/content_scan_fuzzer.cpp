// File contents searched for a content pattern, handed out in pieces of varying size as
// a file or a zip entry gives them. The input is split at its first NUL into pattern and
// contents; the first byte of the contents sets the piece sizes. The answer must be the
// one a plain test of every upper-cased block and pair of blocks gives.
#include "FuzzInput.h"
#include "tools/ContentSearch.h"

#include <algorithm>
#include <cstring>

namespace {

/// Every block of 1024 bytes (blank-padded, a stream of L bytes has L / 1024 + 1) and
/// every pair of adjacent blocks, upper-cased, against the pattern.
bool PlainSearch(const BytePattern& pattern, QByteArray contents)
{
    const qsizetype blocks = contents.size() / ContentBlockSize + 1;
    contents.append(QByteArray(blocks * ContentBlockSize - contents.size(), ' '));
    for (char& c : contents) {
        if (c >= 'a' && c <= 'z')
            c = char(c - ('a' - 'A'));
    }
    for (qsizetype b = 0; b < blocks; ++b) {
        const char* block = contents.constData() + b * ContentBlockSize;
        if (pattern.matches(block, block + ContentBlockSize))
            return true;
        if (b > 0 && pattern.matches(block - ContentBlockSize, block + ContentBlockSize))
            return true;
    }
    return false;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const qsizetype split = input.indexOf('\0');
    if (split < 0 || split > 16)
        return 0;
    const BytePattern pattern(QString::fromUtf8(input.left(split)));
    QByteArray contents = input.mid(split + 1);
    const int piece = contents.isEmpty() ? 1 : 1 + static_cast<unsigned char>(contents[0]) * 37;
    // Repeated, small inputs reach the place where two large reads meet (past 1 MiB).
    if (!contents.isEmpty() && static_cast<unsigned char>(contents[0]) % 2 == 1)
        contents = contents.repeated(((1 << 20) + 4096) / contents.size() + 1);

    qsizetype at = 0;
    const ByteReader read = [&](char* into, qint64 most) -> qint64 {
        const qint64 n = std::min<qint64>({most, piece, contents.size() - at});
        std::memcpy(into, contents.constData() + at, size_t(n));
        at += n;
        return n;
    };
    const std::optional<std::vector<bool>> found = ScanStream(read, {pattern});
    if (!found || found->front() != PlainSearch(pattern, contents))
        __builtin_trap(); // the fast search must answer as the plain one does
    return 0;
}
