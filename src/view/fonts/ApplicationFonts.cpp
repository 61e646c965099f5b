#include "view/fonts/ApplicationFonts.h"

#include "platform/FileAccess.h"
#include "platform/InstalledFonts.h"

#include <QFile>
#include <QFontDatabase>
#include <QSet>

namespace {

constexpr qint64 MaxFontFileBytes = qint64(256) << 20;

} // namespace

QStringList ApplicationFonts::installedFonts()
{
    QStringList names = QFontDatabase::families();
    const QSet<QString> families(names.cbegin(), names.cend());
    familyOf_.clear();
    for (const platform::InstalledFont& font : platform::InstalledFonts()) {
        for (const QString& name : font.names) {
            // A name that is some family of its own draws as that family.
            if (families.contains(name) || familyOf_.contains(name))
                continue;
            familyOf_.insert(name, font.family);
            names << name;
        }
    }
    return names;
}

QString ApplicationFonts::familyOf(const QString& name) const
{
    return familyOf_.value(name, name);
}

bool ApplicationFonts::AddFont(const QString& path)
{
    if (ids_.contains(path))
        return true;
    // From the bytes: Qt cannot open a name that is not UTF-8 itself.
    QFile file;
    if (!platform::openForReading(file, path) || file.size() > MaxFontFileBytes)
        return false;
    const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
    if (id < 0)
        return false;
    ids_.insert(path, id);
    return true;
}

void ApplicationFonts::RemoveFont(const QString& path)
{
    const auto it = ids_.constFind(path);
    if (it == ids_.constEnd())
        return;
    QFontDatabase::removeApplicationFont(*it);
    ids_.erase(it);
}

QString ApplicationFonts::registeredFamily(const QString& path) const
{
    const auto it = ids_.constFind(path);
    if (it == ids_.constEnd())
        return {};
    const QStringList families = QFontDatabase::applicationFontFamilies(*it);
    return families.isEmpty() ? QString() : families.first();
}
