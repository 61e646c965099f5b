#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

/// Reads little-endian fields from a byte range without ever reading past its end.
/// A read that does not fit yields zeros (or what fits) and marks the cursor failed.
class ByteCursor {
public:
    ByteCursor(const uchar* data, qint64 size) : data_(data), size_(size) {}

    [[nodiscard]] qint64 pos() const { return pos_; }
    [[nodiscard]] qint64 size() const { return size_; }
    [[nodiscard]] qint64 left() const { return size_ - pos_; }
    [[nodiscard]] bool failed() const { return failed_; }
    void clearFailure() { failed_ = false; }
    /// Moves to `pos`; a position past the end fails every later read.
    void seek(qint64 pos) { pos_ = pos < 0 ? size_ : pos; }

    quint8 u8() { return quint8(number(1)); }
    quint16 u16() { return quint16(number(2)); }
    quint32 u32() { return quint32(number(4)); }
    quint64 u64() { return number(8); }

    /// Up to `n` bytes; fewer (and a failure) when the range ends first.
    QByteArray bytes(qint64 n)
    {
        const qint64 fit = qBound<qint64>(0, left(), n);
        if (fit < n)
            failed_ = true;
        QByteArray out =
            QByteArray::fromRawData(reinterpret_cast<const char*>(data_ + pos_), qsizetype(fit));
        pos_ = fit < n ? size_ : pos_ + n;
        return out;
    }

    void skip(qint64 n)
    {
        if (n > left()) {
            failed_ = true;
            pos_ = size_;
            return;
        }
        pos_ += n;
    }

private:
    quint64 number(int width)
    {
        if (left() < width) {
            failed_ = true;
            pos_ = size_;
            return 0;
        }
        quint64 value = 0;
        for (int i = width - 1; i >= 0; --i)
            value = (value << 8) | data_[pos_ + i];
        pos_ += width;
        return value;
    }

    const uchar* data_;
    qint64 size_;
    qint64 pos_ = 0;
    bool failed_ = false;
};

/// An entry name from its stored bytes: UTF-8 when the bytes are valid UTF-8 (or the
/// format says so), else Latin-1, so that no name is lost to replacement characters.
[[nodiscard]] QString EntryNameText(const QByteArray& bytes);
