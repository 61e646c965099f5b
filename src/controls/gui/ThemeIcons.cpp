#include "controls/gui/ThemeIcons.h"

#include <QHash>
#include <QMimeDatabase>
#include <QStandardPaths>

namespace ThemeIcons {

void UseFallbackTheme()
{
    // Without a desktop's platform theme Qt looks for themes in its resources alone.
    QStringList paths = QIcon::themeSearchPaths();
    for (const QString& data :
         QStandardPaths::standardLocations(QStandardPaths::GenericDataLocation))
        if (const QString icons = data + QStringLiteral("/icons"); !paths.contains(icons))
            paths << icons;
    QIcon::setThemeSearchPaths(paths);
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));
    const QString theme = QIcon::themeName();
    if (theme.isEmpty() || theme == QLatin1String("hicolor"))
        QIcon::setThemeName(QStringLiteral("Adwaita"));
}

QIcon forFileName(const QString& name, const QIcon& fallback)
{
    // One lookup per extension: a huge list repaints its rows often.
    static QHash<QString, QIcon> byExtension;
    const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
    const QString extension = dot > 0 ? name.mid(dot).toLower() : QString();
    if (const auto it = byExtension.constFind(extension); it != byExtension.constEnd())
        return it->isNull() ? fallback : *it;
    const QMimeType type = QMimeDatabase().mimeTypeForFile(QStringLiteral("x") + extension,
                                                           QMimeDatabase::MatchExtension);
    QIcon icon = QIcon::fromTheme(type.iconName());
    if (icon.isNull())
        icon = QIcon::fromTheme(type.genericIconName());
    byExtension.insert(extension, icon);
    return icon.isNull() ? fallback : icon;
}

} // namespace ThemeIcons
