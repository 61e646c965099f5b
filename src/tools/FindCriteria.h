#pragma once

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>
#include <vector>

class BytePattern;

/// Number of content boxes in the find dialog.
inline constexpr int ContentBoxCount = 8;

/// The content criteria as the find dialog leaves them.
struct ContentCriteria {
    /// Upper-case wildcard patterns; a leading "#" means: does not contain.
    QStringList criteria;
    /// "AND", "OR" or "" (a label never clicked) per criterion, same order.
    QStringList connectors;
    /// Readable form; "*" when there are no criteria.
    QString description = QStringLiteral("*");

    [[nodiscard]] int count() const { return int(criteria.size()); }
};

/// The connector label's next caption on a click: "" -> "AND" -> "OR" -> "AND".
[[nodiscard]] QString NextConnector(const QString& caption);

/// Reads the boxes (texts and the captions of their connector labels) into criteria:
/// empty boxes skipped, "<>" negates, a text without "*" and without a "[...]" list
/// is wrapped in "*" (contains).
[[nodiscard]] ContentCriteria
BuildContentCriteria(const std::array<QString, ContentBoxCount>& texts,
                     const std::array<QString, ContentBoxCount>& connectors);

/// The name criterion of the dialog: upper case, trimmed, "*" around it ("" -> "*").
[[nodiscard]] QString FindNamePattern(const QString& text);

/// Whether criterion `k` (from 0) is found in the file; nothing when the file could not
/// be read.
using CriterionTest = std::function<std::optional<bool>(int k)>;

/// Evaluates the criteria strictly from left to right: OR adds, AND multiplies and
/// stops at once when the result so far is 0, an empty connector changes nothing. A
/// failed test ends the evaluation with the result so far. Not 0: the file passes.
[[nodiscard]] int EvaluateCriteria(const ContentCriteria& criteria, const CriterionTest& test);

/// The criteria's patterns in order, without their "does not contain" marks.
[[nodiscard]] std::vector<BytePattern> ContentPatterns(const ContentCriteria& criteria);

/// The same over which patterns a file holds, as ScanContent tells it (nothing: the
/// file could not be read).
[[nodiscard]] int EvaluateCriteria(const ContentCriteria& criteria,
                                   const std::optional<std::vector<bool>>& found);

/// The same over a file, read once for all criteria; `betweenReads` runs after every
/// large read. `readable` (when given) is set false when the file could not be read.
[[nodiscard]] int EvaluateCriteria(const ContentCriteria& criteria, const QString& path,
                                   const std::function<void()>& betweenReads = {},
                                   bool* readable = nullptr);

/// The same over the bytes `read` hands out (see ScanStream).
[[nodiscard]] int EvaluateCriteriaOnStream(const ContentCriteria& criteria,
                                           const std::function<qint64(char*, qint64)>& read,
                                           const std::function<void()>& betweenReads,
                                           bool* readable);
