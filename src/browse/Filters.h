#pragma once

#include "platform/FileSystem.h"

#include <QString>
#include <array>

class Prompts;

/// The three options of the length and size criteria.
enum class Comparison { Less, Equal, Greater };

/// What the other-filter dialog holds: its fields as typed and its options.
struct OtherFilterFields {
    QString fileName = QStringLiteral("*");
    QString nameLength; ///< "" or a number; 0 or less is no criterion
    Comparison nameLengthOption = Comparison::Equal;
    QString fileSize; ///< "" is no criterion
    Comparison fileSizeOption = Comparison::Equal;
    bool hidden = false;
    bool normal = false;
    bool readOnly = false;
    bool system = false;
};

/// The criteria of the "Other" filter, as the per-file test reads them.
struct OtherFilter {
    static constexpr int MaxPatterns = 17;
    static inline const QString NoCriteria = QStringLiteral("[*]");

    std::array<QString, MaxPatterns> NamePatterns;
    int NamePatternCount = -1; ///< index of the last pattern in use; -1 none
    bool NameCaseSensitive = false;
    int NameLengthLimit = 0; ///< 0 none
    Comparison nameLengthOption = Comparison::Equal;
    qint64 FileSizeLimit = -1; ///< -1 none
    Comparison fileSizeOption = Comparison::Equal;
    QString nameText = QStringLiteral("*");   ///< the "File name" field as stored
    QString AttributeText;                    ///< "[Hidden][ReadOnly]"...
    QString OtherFilterText = NoCriteria;     ///< description; "[*]" none
    QString lengthText = QStringLiteral("*"); ///< "<=3", "=3", ">=3" or "*"
    QString sizeText = QStringLiteral("*");   ///< "<=0", "=0", ">=0" or "*"

    /// Back to no criteria at all.
    void clear();
    /// True while some criterion narrows the list.
    [[nodiscard]] bool active() const { return OtherFilterText != NoCriteria; }
};

/// The name pattern of a filter tab: "*." + each ";"-separated extension joined by ";"
/// ("txt;md" gives "*.txt;*.md"); a list of "*" gives "*.*". The "ALL" tab
/// (`allTab`) always gives "*.*"; the "Other" tab's list holds name patterns and is
/// returned as it stands ("*" when empty).
[[nodiscard]] QString PatternFromExtensions(const QString& list, int tab, int otherTab, int allTab);

/// Stores the dialog's fields as criteria ("SetOtherFilter"); returns the "Other"
/// category's new list (the trimmed "File name" field, "*" when empty). More than 17
/// name patterns keep the first 17 and tell the field's text and "too many search
/// criteria".
QString SetOtherFilter(const OtherFilterFields& fields, OtherFilter& filter, Prompts& prompts);

/// The per-file test of the filtered reader: name length, size, attributes and name
/// patterns, all from what the directory read yielded. No criteria passes every file.
[[nodiscard]] bool FileMatchesFilter(const OtherFilter& filter, const QString& fullPath,
                                     const platform::FileDetails& entry);

/// The one-line description of the active filters: "No filters set", or
/// "Name[...], Content[...], Property[...], Attribute[...]" with "none" for unset parts.
[[nodiscard]] QString FilterDescription(const OtherFilter& filter, const QString& contentCriteria);
