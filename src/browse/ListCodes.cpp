#include "browse/ListCodes.h"

#include <array>
#include <utility>

namespace {

template <typename T, size_t N>
std::optional<T> fromWord(const std::array<std::pair<T, const char*>, N>& words,
                          const QString& word)
{
    for (const auto& [value, text] : words) {
        if (word == QLatin1String(text))
            return value;
    }
    return std::nullopt;
}

template <typename T, size_t N>
QString toWord(const std::array<std::pair<T, const char*>, N>& words, T value)
{
    for (const auto& [each, text] : words) {
        if (each == value)
            return QLatin1String(text);
    }
    return {};
}

constexpr std::array<std::pair<SortKey, const char*>, 3> SortKeyWords{
    {{SortKey::Name, "name"}, {SortKey::Extension, "ext"}, {SortKey::Size, "size"}}};

constexpr std::array<std::pair<TreeType, const char*>, 5> TreeTypeWords{
    {{TreeType::PlainList, "name"},
     {TreeType::Extension, "ext"},
     {TreeType::Size, "size"},
     {TreeType::Date, "date"},
     {TreeType::Age, "age"}}};

constexpr std::array<std::pair<DateBasis, const char*>, 2> DateBasisWords{
    {{DateBasis::Created, "created"}, {DateBasis::Modified, "modified"}}};

} // namespace

QString SortKeyName(SortKey key)
{
    switch (key) {
    case SortKey::Name:
        return QStringLiteral("Name");
    case SortKey::Extension:
        return QStringLiteral("Extension");
    case SortKey::Size:
        return QStringLiteral("Size");
    case SortKey::None:
        break;
    }
    return {};
}

QString SortKeyWord(SortKey key)
{
    return toWord(SortKeyWords, key);
}

std::optional<SortKey> SortKeyFromWord(const QString& word)
{
    return fromWord(SortKeyWords, word);
}

QString TreeTypeWord(TreeType type)
{
    return toWord(TreeTypeWords, type);
}

std::optional<TreeType> TreeTypeFromWord(const QString& word)
{
    return fromWord(TreeTypeWords, word);
}

QString DateBasisWord(DateBasis basis)
{
    return toWord(DateBasisWords, basis);
}

std::optional<DateBasis> DateBasisFromWord(const QString& word)
{
    return fromWord(DateBasisWords, word);
}

QString SortDirectionName(SortDirection direction)
{
    switch (direction) {
    case SortDirection::Ascending:
        return QStringLiteral("Ascending");
    case SortDirection::Descending:
        return QStringLiteral("Descending");
    case SortDirection::Unset:
        break;
    }
    return {};
}

SortDirection FlippedDirection(SortDirection direction)
{
    return direction == SortDirection::Ascending ? SortDirection::Descending
                                                 : SortDirection::Ascending;
}
