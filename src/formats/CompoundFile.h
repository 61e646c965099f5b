#pragma once

#include <QByteArray>
#include <QStringList>
#include <optional>

/// True when `file` starts with the signature of an OLE2 compound file.
[[nodiscard]] bool IsCompoundFile(const QByteArray& file);

/// The bytes of the first stream of an OLE2 compound file whose name is one of `names`
/// (compared without case, tried in the order given). Sector chains are followed through
/// the FAT and the mini FAT with loops and out-of-range sectors cut off; a stream whose
/// chain ends early is returned as far as it goes. Nothing when the file is no compound
/// file or holds none of the streams.
[[nodiscard]] std::optional<QByteArray> CompoundFileStream(const QByteArray& file,
                                                           const QStringList& names);
