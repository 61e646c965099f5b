#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

/// The printable text of a document file's bytes, read in blocks of 1024: size/1024 + 1
/// blocks, spaces past the end; a carriage return gives a line feed, bytes 32..126 are
/// kept and every other byte (line feeds included) is dropped.
[[nodiscard]] QString DocText(const QByteArray& bytes);

/// DocText of the file at `path`; nothing when the file cannot be read.
[[nodiscard]] std::optional<QString> DocTextOfFile(const QString& path);
