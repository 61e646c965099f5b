#include "browse/Filters.h"

#include "browse/Wildcard.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {

QString optionText(Comparison option)
{
    switch (option) {
    case Comparison::Less:
        return QStringLiteral("<=");
    case Comparison::Equal:
        return QStringLiteral("=");
    case Comparison::Greater:
        return QStringLiteral(">=");
    }
    return {};
}

bool compares(qint64 value, Comparison option, qint64 limit)
{
    switch (option) {
    case Comparison::Less:
        return value < limit;
    case Comparison::Equal:
        return value == limit;
    case Comparison::Greater:
        return value > limit;
    }
    return false;
}

bool onlyAnyPattern(const OtherFilter& filter)
{
    return filter.NamePatternCount == 0 &&
           (filter.NamePatterns[0].isEmpty() || filter.NamePatterns[0] == u"*");
}

// The attributes a ticked box asks for; Normal means none of the others.
bool hasAttributes(const QString& wanted, platform::FileAttributes attrs)
{
    using platform::FileAttribute;
    if (wanted.contains(u"[Hidden]") && !attrs.testFlag(FileAttribute::Hidden))
        return false;
    if (wanted.contains(u"[ReadOnly]") && !attrs.testFlag(FileAttribute::ReadOnly))
        return false;
    if (wanted.contains(u"[System]") && !attrs.testFlag(FileAttribute::System))
        return false;
    if (wanted.contains(u"[Normal]") &&
        (attrs & ~platform::FileAttributes(FileAttribute::Directory)))
        return false;
    return true;
}

} // namespace

void OtherFilter::clear()
{
    *this = OtherFilter();
}

QString PatternFromExtensions(const QString& list, int tab, int otherTab, int allTab)
{
    if (tab == allTab)
        return QStringLiteral("*.*");
    const QString trimmed = list.trimmed();
    if (tab == otherTab)
        return trimmed.isEmpty() ? QStringLiteral("*") : trimmed;
    if (trimmed == u"*")
        return QStringLiteral("*.*");
    QStringList parts;
    for (const QString& ext : trimmed.split(u';'))
        parts.append(QStringLiteral("*.") + ext.trimmed());
    return parts.join(u';');
}

QString SetOtherFilter(const OtherFilterFields& fields, OtherFilter& filter, Prompts& prompts)
{
    filter.clear();
    QString name = fields.fileName.trimmed();
    if (name.isEmpty())
        name = QStringLiteral("*");
    filter.nameText = name;
    filter.NameCaseSensitive = name.contains(u'^');
    // "^" only marks a case-sensitive field; it is no part of the patterns.
    const QString typed = filter.NameCaseSensitive ? QString(name).remove(u'^') : name;
    QStringList patterns;
    for (const QString& p : typed.split(u';')) {
        if (!p.trimmed().isEmpty())
            patterns.append(filter.NameCaseSensitive ? p.trimmed() : p.trimmed().toUpper());
    }
    if (patterns.isEmpty())
        patterns.append(QStringLiteral("*"));
    if (patterns.size() > OtherFilter::MaxPatterns) {
        prompts.message(name + LineBreak + QStringLiteral("too many search criteria"));
        patterns = patterns.mid(0, OtherFilter::MaxPatterns);
    }
    for (int i = 0; i < patterns.size(); ++i)
        filter.NamePatterns[i] = patterns[i];
    filter.NamePatternCount = int(patterns.size()) - 1;

    filter.NameLengthLimit = fields.nameLength.trimmed().toInt();
    filter.nameLengthOption = fields.nameLengthOption;
    if (filter.NameLengthLimit > 0)
        filter.lengthText =
            optionText(fields.nameLengthOption) + QString::number(filter.NameLengthLimit);
    else
        filter.NameLengthLimit = 0;

    const QString size = fields.fileSize.trimmed();
    filter.fileSizeOption = fields.fileSizeOption;
    if (!size.isEmpty()) {
        filter.FileSizeLimit = std::max<qint64>(size.toLongLong(), 0);
        filter.sizeText = optionText(fields.fileSizeOption) + QString::number(filter.FileSizeLimit);
    }

    if (fields.hidden)
        filter.AttributeText += QStringLiteral("[Hidden]");
    if (fields.normal)
        filter.AttributeText += QStringLiteral("[Normal]");
    if (fields.readOnly)
        filter.AttributeText += QStringLiteral("[ReadOnly]");
    if (fields.system)
        filter.AttributeText += QStringLiteral("[System]");

    const bool any = !onlyAnyPattern(filter) || filter.NameLengthLimit > 0 ||
                     filter.FileSizeLimit >= 0 || !filter.AttributeText.isEmpty();
    filter.OtherFilterText = any ? QStringLiteral("Name[") + name +
                                       QStringLiteral("],NameLength[") + filter.lengthText +
                                       QStringLiteral("],FileLength[") + filter.sizeText +
                                       QStringLiteral("],Attr") + filter.AttributeText
                                 : OtherFilter::NoCriteria;
    return name;
}

bool FileMatchesFilter(const OtherFilter& filter, const QString& fullPath,
                       const platform::FileDetails& entry)
{
    if (!filter.active())
        return true;
    const QString name = NameAfterLastBackslash(fullPath);
    if (filter.NameLengthLimit > 0 &&
        !compares(name.size(), filter.nameLengthOption, filter.NameLengthLimit))
        return false;
    if (filter.FileSizeLimit >= 0 &&
        !compares(entry.size, filter.fileSizeOption, filter.FileSizeLimit))
        return false;
    if (!filter.AttributeText.isEmpty() && !hasAttributes(filter.AttributeText, entry.attributes))
        return false;
    if (filter.NamePatternCount < 0 || onlyAnyPattern(filter))
        return true;
    const QString tested = filter.NameCaseSensitive ? name : name.toUpper();
    for (int i = 0; i <= filter.NamePatternCount; ++i) {
        if (WildcardMatch(tested, filter.NamePatterns[i]))
            return true;
    }
    return false;
}

QString FilterDescription(const OtherFilter& filter, const QString& contentCriteria)
{
    const bool names = filter.active() && !onlyAnyPattern(filter);
    QStringList properties;
    if (filter.active() && filter.NameLengthLimit > 0)
        properties.append(QStringLiteral("NameLength") + filter.lengthText);
    if (filter.active() && filter.FileSizeLimit >= 0)
        properties.append(QStringLiteral("FileLength") + filter.sizeText);
    const bool attrs = filter.active() && !filter.AttributeText.isEmpty();
    if (!names && properties.isEmpty() && !attrs && contentCriteria.isEmpty())
        return QStringLiteral("No filters set");
    const QString none = QStringLiteral("none");
    return QStringLiteral("Name[") + (names ? filter.nameText : none) +
           QStringLiteral("], Content[") + (contentCriteria.isEmpty() ? none : contentCriteria) +
           QStringLiteral("], Property[") + (properties.isEmpty() ? none : properties.join(u',')) +
           QStringLiteral("], Attribute") +
           (attrs ? filter.AttributeText : QStringLiteral("[none]"));
}
