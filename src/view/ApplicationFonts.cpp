#include "view/ApplicationFonts.h"

#include <QFontDatabase>

QStringList ApplicationFonts::installedFonts()
{
    return QFontDatabase::families();
}

bool ApplicationFonts::AddFont(const QString& path)
{
    if (ids_.contains(path))
        return true;
    const int id = QFontDatabase::addApplicationFont(path);
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
