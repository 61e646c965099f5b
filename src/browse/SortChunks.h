#pragma once

#include <QStringView>
#include <QtGlobal>
#include <algorithm>

/// Sorting many strings that share a long prefix (a folder's "File_0001.jpg",
/// "File_0002.jpg" or a tree's zero-padded sizes) spends most comparisons on the
/// shared part. These helpers pack the four code units after the shared prefix into one
/// integer, so most comparisons are settled by one integer compare and only ties look
/// at the strings themselves.
namespace sortchunks {

/// Code units [at, at + 4) of `s` packed so that integer order is code order; units
/// past the end count as 0, so a string sorts before its own extensions. Equal chunks
/// say nothing: compare the strings.
inline quint64 pack(QStringView s, qsizetype at)
{
    quint64 chunk = 0;
    for (qsizetype i = at; i < at + 4; ++i)
        chunk = (chunk << 16) | (i < s.size() ? quint64(s[i].unicode()) : 0);
    return chunk;
}

/// The length of the prefix every string shares with `first`, found by one pass that
/// stops growing as soon as it can; `stringAt(i)` gives string i of `count`.
template <typename StringAt>
qsizetype commonPrefix(qsizetype count, QStringView first, StringAt stringAt)
{
    qsizetype common = first.size();
    for (qsizetype i = 1; i < count && common > 0; ++i) {
        const QStringView s = stringAt(i);
        qsizetype n = 0;
        const qsizetype limit = std::min(common, s.size());
        while (n < limit && s[n] == first[n])
            ++n;
        common = n;
    }
    return common;
}

} // namespace sortchunks
