#pragma once

#include <QtGlobal>
#include <limits>

/// Adds a file's size to a total. Sparse files may claim exabytes: a sum beyond what a
/// qint64 holds stays at the largest value instead of wrapping round to a negative one.
[[nodiscard]] inline qint64 AddSize(qint64 total, qint64 size)
{
    qint64 sum = 0;
    if (__builtin_add_overflow(total, size, &sum))
        return size < 0 ? std::numeric_limits<qint64>::min() : std::numeric_limits<qint64>::max();
    return sum;
}
