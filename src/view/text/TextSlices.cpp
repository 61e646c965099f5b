#include "view/text/TextSlices.h"

#include "formats/TextDecoding.h"
#include "platform/FileAccess.h"

#include <algorithm>

namespace {

// Valid UTF-8, apart from a sequence cut short at the end of a sample that is not the
// whole file.
bool validUtf8(const QByteArray& bytes, bool wholeFile)
{
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    qsizetype end = bytes.size();
    // A lead byte within the last three bytes may start a character the sample cut.
    for (qsizetype back = 1; !wholeFile && back <= 3 && back <= bytes.size(); ++back) {
        const auto b = static_cast<unsigned char>(bytes[bytes.size() - back]);
        if ((b & 0xC0) == 0xC0) {
            end = bytes.size() - back;
            break;
        }
        if ((b & 0x80) == 0)
            break;
    }
    const QString decoded = utf8.decode(QByteArrayView(bytes).first(end));
    return !utf8.hasError();
}

// How much of the file's beginning decides its encoding, whatever the slice size.
constexpr qint64 EncodingSample = 64 << 10;

} // namespace

TextSlices::TextSlices(const QString& path, qint64 limit) : limit_(limit)
{
    open_ = platform::openForReading(file_, path);
    if (open_)
        size_ = file_.size();
}

QByteArray TextSlices::peek(qint64 count)
{
    if (!open_)
        return {};
    return file_.peek(std::min(count, limit_ - read_));
}

void TextSlices::chooseEncoding(const QByteArray& first)
{
    chosen_ = true;
    if (StartsWithUtf16Mark(first))
        decoder_.emplace(QStringDecoder::Utf16, QStringDecoder::Flag::Default);
    else if (validUtf8(first, first.size() >= size_))
        decoder_.emplace(QStringDecoder::Utf8, QStringDecoder::Flag::Default);
}

QString TextSlices::next(qint64 maxBytes)
{
    if (atEnd())
        return {};
    const bool first = !chosen_;
    if (first)
        chooseEncoding(file_.peek(EncodingSample));
    const QByteArray bytes = file_.read(std::min(maxBytes, limit_ - read_));
    read_ += bytes.size();
    done_ = bytes.isEmpty() || read_ >= limit_ || file_.atEnd();
    if (bytes.isEmpty())
        return {};
    if (!decoder_)
        return DecodeWindows1252(bytes);
    QString text = decoder_->decode(bytes);
    // The UTF-8 decoder keeps a byte-order mark; the text view does not show it.
    if (first && text.startsWith(QChar(0xFEFF)))
        text.remove(0, 1);
    return text;
}
