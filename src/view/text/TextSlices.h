#pragma once

#include <QFile>
#include <QString>
#include <QStringDecoder>
#include <optional>

/// A text file read a slice at a time, so that a large file shows its beginning at once
/// and the rest arrives while the window keeps running. The encoding is chosen from the
/// first 64 Kb as DecodeText chooses it for a whole file (UTF-16 with a byte-order mark,
/// UTF-8 when valid, else Windows-1252); a character cut by a slice boundary comes out
/// whole with the next slice. Reading stops at `limit` bytes, so a file of gigabytes is
/// never read whole.
class TextSlices {
public:
    /// Opens `path`; nothing can be read when it cannot be opened.
    TextSlices(const QString& path, qint64 limit);

    /// The first bytes of the file (for the rich-text check), without moving on.
    [[nodiscard]] QByteArray peek(qint64 count);
    /// The text of the next `maxBytes` bytes (at most up to the limit); "" at the end.
    QString next(qint64 maxBytes);

    [[nodiscard]] bool atEnd() const { return !open_ || done_; }
    /// True when the limit left part of the file unread.
    [[nodiscard]] bool cut() const { return done_ && read_ >= limit_ && size_ > limit_; }
    [[nodiscard]] qint64 size() const { return size_; }
    [[nodiscard]] qint64 bytesRead() const { return read_; }

private:
    void chooseEncoding(const QByteArray& first);

    QFile file_;
    bool open_ = false;
    qint64 size_ = 0;
    qint64 limit_ = 0;
    qint64 read_ = 0;
    bool done_ = false;
    std::optional<QStringDecoder> decoder_; ///< empty for Windows-1252
    bool chosen_ = false;
};
