#include "formats/IconScan.h"

#include "platform/FileAccess.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "platform/SafeWrite.h"
#include "shared/Settings.h"

#include <QFile>
#include <QFileInfo>
#include <QtEndian>

namespace {

constexpr qint64 MaxScanBytes = 5'000'000;
constexpr int HeaderSize = 40;
constexpr int IcoHeaderSize = 22;

/// The byte at 1-based `at`; 0 past the end.
int byteAt(const QByteArray& bytes, qint64 at)
{
    return at >= 1 && at <= bytes.size() ? uchar(bytes[qsizetype(at - 1)]) : 0;
}

bool acceptedBitCount(int bits)
{
    return bits == 1 || bits == 4 || bits == 8 || bits == 24 || bits == 32;
}

void put16(QByteArray& b, int at, quint16 v)
{
    qToLittleEndian(v, b.data() + at);
}

void put32(QByteArray& b, int at, quint32 v)
{
    qToLittleEndian(v, b.data() + at);
}

} // namespace

QList<qint64> FindIconImageOffsets(const QByteArray& bytes)
{
    QList<qint64> found;
    const qint64 size = bytes.size();
    const auto* data = reinterpret_cast<const uchar*>(bytes.constData());
    for (qint64 i = 1; i < size - HeaderSize; ++i) {
        if (data[i - 1] != HeaderSize)
            continue;
        const int width = data[i - 1 + 4];
        const int height = data[i - 1 + 8];
        const int planes = data[i - 1 + 12];
        const int bits = data[i - 1 + 14];
        if (planes == 1 && width >= 16 && height == 2 * width && acceptedBitCount(bits) &&
            width > 0 && height > 0)
            found.append(i);
    }
    return found;
}

IconImageHeader IconImageHeaderAt(const QByteArray& bytes, qint64 offset)
{
    IconImageHeader header;
    header.width = byteAt(bytes, offset + 4);
    header.height = byteAt(bytes, offset + 8) / 2;
    header.bitCount = byteAt(bytes, offset + 14);
    return header;
}

QByteArray IcoFileForImage(const QByteArray& bytes, const QList<qint64>& offsets, int n)
{
    if (n < 1 || n > offsets.size())
        return {};
    const qint64 offset = offsets[n - 1];
    const qint64 imageSize =
        n < offsets.size() ? offsets[n] - offset : qint64(bytes.size()) - offset + 1;
    if (offset < 1 || imageSize <= 0 || offset - 1 + imageSize > bytes.size())
        return {};
    const IconImageHeader header = IconImageHeaderAt(bytes, offset);
    QByteArray ico(IcoHeaderSize, '\0');
    put16(ico, 2, 1);
    put16(ico, 4, 1);
    ico[6] = char(header.width);
    ico[7] = char(2 * header.height);
    ico[8] = char(header.bitCount == 1 ? 2 : header.bitCount == 4 ? 16 : 0);
    put16(ico, 10, 1);
    put16(ico, 12, quint16(header.bitCount));
    put32(ico, 14, quint32(imageSize));
    put32(ico, 18, IcoHeaderSize);
    ico.append(bytes.constData() + (offset - 1), qsizetype(imageSize));
    return ico;
}

bool IconFileScan::LoadIconFileBytes(const QString& path, Prompts& prompts)
{
    bytes_.clear();
    offsets_.clear();
    const std::optional<platform::FileEntry> entry = platform::statFile(path);
    const qint64 size = entry ? entry->size : 0;
    if (size > MaxScanBytes) {
        prompts.message(QStringLiteral("file size > 5 MB - too big!"));
        return false;
    }
    QFile file;
    if (const QString problem = platform::fileReadProblem(path); !problem.isEmpty()) {
        prompts.message(path + QStringLiteral(" cannot be read: ") + problem);
        return false;
    }
    if (size == 0 || !platform::openForReading(file, path)) {
        prompts.message(QStringLiteral("there are no icons associated with this file"));
        return false;
    }
    bytes_ = file.readAll();
    return true;
}

bool IconFileScan::FindIconImages(Prompts& prompts)
{
    offsets_ = FindIconImageOffsets(bytes_);
    if (offsets_.isEmpty()) {
        bytes_ = QByteArray();
        prompts.message(QStringLiteral("there are no icons assocaited with this file"));
        return false;
    }
    return true;
}

bool IconFileScan::SaveIconFile(int n, const QString& path, Prompts& prompts, Replace replace)
{
    if (replace == Replace::Ask && platform::pathExists(path) &&
        !prompts.askYesNo(path + QStringLiteral(" exists\rReplace ?"),
                          QStringLiteral("Icon saving")))
        return false;
    const QByteArray ico = IcoFileForImage(bytes_, offsets_, n);
    if (ico.isEmpty()) {
        prompts.message(QStringLiteral("unable to save icon"));
        return false;
    }
    // Written beside the target and renamed into place: a failure keeps the old file.
    QString why;
    if (!platform::WriteFileSafely(path, ico, &why)) {
        prompts.message(QStringLiteral("unable to save icon") + LineBreak + path +
                        QStringLiteral(": ") + why);
        return false;
    }
    return true;
}
