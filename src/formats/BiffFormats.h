#pragma once

#include "formats/BiffBook.h"

#include <QString>

namespace biff {

/// What a number format shows: the kind a number formatted with it takes (Number,
/// Date, DateTime or Time). Quoted text, escaped characters, colours and locale tags
/// are passed over; "m" next to hours or seconds is minutes.
[[nodiscard]] CellKind KindOfFormat(const QString& format);

/// The kind of one of Excel's built-in formats by number (14 to 17 dates, 18 to 21 and
/// 45 to 47 times, 22 date and time); Number for the others.
[[nodiscard]] CellKind KindOfBuiltInFormat(int index);

} // namespace biff
