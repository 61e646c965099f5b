#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringDecoder>
#include <vector>

// The record layer of BIFF streams: records one by one, and the bytes of a record with
// its CONTINUE records read as one, strings split between them included.
namespace biff {

struct Record {
    quint16 id = 0;
    QByteArrayView data;
};

/// Little-endian values of a record's bytes; callers check the size first.
[[nodiscard]] quint16 Le16(QByteArrayView d, qsizetype at);
[[nodiscard]] quint32 Le32(QByteArrayView d, qsizetype at);
[[nodiscard]] double LeDouble(QByteArrayView d, qsizetype at);
/// An RK number: a 30-bit integer or the high half of a double, maybe hundredths.
[[nodiscard]] double RkNumber(quint32 rk);

/// The records of a stream from a given position; a record cut off by the stream's end
/// ends the walk.
class RecordStream {
public:
    RecordStream(QByteArrayView stream, qsizetype from) : stream_(stream), pos_(from) {}
    [[nodiscard]] bool next(Record& record);
    /// The data of the CONTINUE records that follow the last record read; they are
    /// consumed.
    [[nodiscard]] std::vector<QByteArrayView> continuations();
    [[nodiscard]] qsizetype position() const { return pos_; }

private:
    QByteArrayView stream_;
    qsizetype pos_;
};

/// Reads across a record and its continuations. Every read fails once the bytes run
/// out; after a failure the reader stays failed.
class Pieces {
public:
    explicit Pieces(std::vector<QByteArrayView> parts) : parts_(std::move(parts)) {}
    [[nodiscard]] bool byte(quint8& value);
    [[nodiscard]] bool word(quint16& value);
    [[nodiscard]] bool dword(quint32& value);
    [[nodiscard]] bool skip(qint64 count);
    /// `count` characters, one byte each (Latin-1) or two (UTF-16LE) as `wide` says; a
    /// continuation that starts inside the characters begins with its own flags byte.
    [[nodiscard]] bool chars(int count, bool wide, QString& out);
    /// `count` bytes of a byte string, decoded by `decoder`.
    [[nodiscard]] bool bytes(int count, QStringDecoder& decoder, QString& out);

private:
    bool atPiece();
    std::vector<QByteArrayView> parts_;
    size_t part_ = 0;
    qsizetype pos_ = 0;
};

} // namespace biff
