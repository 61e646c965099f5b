#pragma once

#include <QByteArray>
#include <QList>
#include <random>

// Damaged copies of a real file, the way disks and downloads damage them: cut short at
// any length, or with a few bits flipped anywhere. The same seed gives the same copies.

/// `count` copies of `original`: even ones truncated, odd ones with 1 to 16 bits flipped
/// (and, every fourth, a whole 4 KB page overwritten with one byte).
inline QList<QByteArray> DamagedCopies(const QByteArray& original, int count,
                                       unsigned seed = 20261206)
{
    std::mt19937 random(seed);
    const auto below = [&random](qsizetype n) {
        return qsizetype(std::uniform_int_distribution<qint64>(0, qint64(n) - 1)(random));
    };
    QList<QByteArray> copies;
    for (int i = 0; i < count && !original.isEmpty(); ++i) {
        QByteArray copy = original;
        if (i % 2 == 0) {
            copy.truncate(below(original.size()));
        } else {
            const int flips = 1 + int(below(16));
            for (int f = 0; f < flips; ++f) {
                const qsizetype at = below(copy.size());
                copy[at] = char(copy[at] ^ char(1 << below(8)));
            }
            if (i % 4 == 3 && copy.size() > 4096) {
                const qsizetype page = below(copy.size() / 4096) * 4096;
                const char fill = char(below(256));
                for (qsizetype k = page; k < page + 4096 && k < copy.size(); ++k)
                    copy[k] = fill;
            }
        }
        copies.append(copy);
    }
    return copies;
}
