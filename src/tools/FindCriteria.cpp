#include "tools/FindCriteria.h"

#include "tools/ContentSearch.h"

namespace {
const QString NegatedMark = QStringLiteral("#");
}

QString NextConnector(const QString& caption)
{
    return caption == QLatin1String("AND") ? QStringLiteral("OR") : QStringLiteral("AND");
}

ContentCriteria BuildContentCriteria(const std::array<QString, ContentBoxCount>& texts,
                                     const std::array<QString, ContentBoxCount>& connectors)
{
    ContentCriteria result;
    QString description;
    for (int i = 0; i < ContentBoxCount; ++i) {
        QString text = texts[i].trimmed();
        if (text.isEmpty())
            continue;
        const bool negated = text.startsWith(QLatin1String("<>"));
        if (negated)
            text = text.mid(2);
        QString pattern = text.toUpper();
        const bool bracketList =
            pattern.contains(QLatin1Char('[')) && pattern.contains(QLatin1Char(']'));
        if (!pattern.contains(QLatin1Char('*')) && !bracketList)
            pattern = QLatin1Char('*') + pattern + QLatin1Char('*');
        const QString criterion = negated ? NegatedMark + pattern : pattern;
        const QString op = criterion.startsWith(QLatin1Char('=')) ? QString() : QStringLiteral("=");
        if (result.criteria.isEmpty())
            description = QLatin1Char(' ') + op + criterion;
        else
            description += QLatin1Char(' ') + connectors[i] + QLatin1Char(' ') + op + criterion;
        result.criteria << criterion;
        result.connectors << connectors[i];
    }
    result.description = result.criteria.isEmpty() ? QStringLiteral("*") : description;
    return result;
}

QString FindNamePattern(const QString& text)
{
    QString name = text.trimmed().toUpper();
    if (name.isEmpty())
        name = QStringLiteral("*");
    if (!name.startsWith(QLatin1Char('*')))
        name.prepend(QLatin1Char('*'));
    if (!name.endsWith(QLatin1Char('*')))
        name.append(QLatin1Char('*'));
    while (name.contains(QLatin1String("**")))
        name.replace(QLatin1String("**"), QLatin1String("*"));
    return name;
}

int EvaluateCriteria(const ContentCriteria& criteria, const CriterionTest& test)
{
    int result = 0;
    for (int k = 0; k < criteria.count(); ++k) {
        const QString& connector = criteria.connectors[k];
        if (k > 0 && connector == QLatin1String("AND") && result == 0)
            return 0; // the rest, OR ones included, is never tested
        const std::optional<bool> found = test(k);
        if (!found)
            return result;
        int r = *found ? 1 : 0;
        if (criteria.criteria[k].startsWith(NegatedMark))
            r = 1 - r;
        if (k == 0)
            result = r;
        else if (connector == QLatin1String("OR"))
            result += r;
        else if (connector == QLatin1String("AND"))
            result *= r;
    }
    return result;
}

std::vector<BytePattern> ContentPatterns(const ContentCriteria& criteria)
{
    std::vector<BytePattern> patterns;
    patterns.reserve(size_t(criteria.count()));
    for (const QString& criterion : criteria.criteria)
        patterns.emplace_back(criterion.startsWith(NegatedMark) ? criterion.mid(1) : criterion);
    return patterns;
}

int EvaluateCriteria(const ContentCriteria& criteria, const std::optional<std::vector<bool>>& found)
{
    return EvaluateCriteria(criteria, [&found](int k) -> std::optional<bool> {
        if (!found)
            return std::nullopt;
        return bool((*found)[size_t(k)]);
    });
}

namespace {

int EvaluateFound(const ContentCriteria& criteria, const std::optional<std::vector<bool>>& found,
                  bool* readable)
{
    if (readable)
        *readable = found.has_value();
    return EvaluateCriteria(criteria, found);
}

} // namespace

int EvaluateCriteria(const ContentCriteria& criteria, const QString& path,
                     const std::function<void()>& betweenReads, bool* readable)
{
    return EvaluateFound(criteria, ScanContent(path, ContentPatterns(criteria), betweenReads),
                         readable);
}

int EvaluateCriteriaOnStream(const ContentCriteria& criteria,
                             const std::function<qint64(char*, qint64)>& read,
                             const std::function<void()>& betweenReads, bool* readable)
{
    return EvaluateFound(criteria, ScanStream(read, ContentPatterns(criteria), betweenReads),
                         readable);
}
