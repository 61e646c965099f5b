#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

/// What the block headers of a RAR archive say about one file entry, beyond what the
/// extracting library tells: method, packed size, attributes, flags and CRC.
struct RarFileFacts {
    quint32 method = 0;     ///< 0x30 stored, 0x31 to 0x35 fastest to best
    quint64 packedSize = 0; ///< bytes of compressed data in this volume
    quint32 attributes = 0; ///< as the archiving host stored them
    /// RAR 4 header flags: 0x04 encrypted, 0x10 solid, bits 5-7 the dictionary
    /// (64 Kb << n), all three set for a folder. RAR 5 entries get the same meanings.
    quint32 flags = 0;
    quint32 crc = 0;
};

/// The file headers of a RAR 4 or RAR 5 archive, in order, read from its block headers
/// (after any self-extracting stub). Nothing is decompressed; service and comment
/// blocks are passed over. Reading stops at the first block that does not fit, or at
/// RAR 5 header encryption.
[[nodiscard]] std::vector<RarFileFacts> ReadRarFileFacts(const uchar* data, qint64 size);
