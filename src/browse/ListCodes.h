#pragma once

#include <QString>
#include <optional>

/// Tree types of the file list.
enum class TreeType { PlainList = 0, Extension = 1, Date = 2, Size = 3, Age = 4 };

/// What the plain list is sorted by while a plain sort runs.
enum class SortKey { None, Name, Extension, Size };

/// A sort direction as the sort menu last left it. `Unset` until the menu first flips it:
/// trees read it as ascending, except the age tree, which then walks oldest first.
enum class SortDirection { Unset, Ascending, Descending };

/// Which of a file's times the date and age trees group by.
enum class DateBasis { Created = 0, Modified = 1 };

/// The word the sort button's tip and the statistics use for a sort key: "Name",
/// "Extension" or "Size" ("" for None).
[[nodiscard]] QString SortKeyName(SortKey key);

/// The command-line word of a sort key ("name", "ext", "size"), and back; nothing for
/// another word.
[[nodiscard]] QString SortKeyWord(SortKey key);
[[nodiscard]] std::optional<SortKey> SortKeyFromWord(const QString& word);

/// The command-line word of a tree type ("name", "ext", "size", "date", "age"), and back.
[[nodiscard]] QString TreeTypeWord(TreeType type);
[[nodiscard]] std::optional<TreeType> TreeTypeFromWord(const QString& word);

/// The command-line word of a date basis ("created", "modified"), and back.
[[nodiscard]] QString DateBasisWord(DateBasis basis);
[[nodiscard]] std::optional<DateBasis> DateBasisFromWord(const QString& word);

/// The menu word of a direction: "Ascending" or "Descending" ("" for Unset).
[[nodiscard]] QString SortDirectionName(SortDirection direction);

/// The direction the menu's next choice gives: Ascending unless it already is.
[[nodiscard]] SortDirection FlippedDirection(SortDirection direction);
