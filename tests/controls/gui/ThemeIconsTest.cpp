#include "controls/gui/ThemeIcons.h"

#include <QPixmap>
#include <gtest/gtest.h>

// Under a bare session (the offscreen platform names no theme) the stand-in theme must
// still give each kind of file its own icon.
TEST(ThemeIcons, EachKindOfFileHasItsOwnThemeIcon)
{
    ThemeIcons::UseFallbackTheme();
    QPixmap blank(16, 16);
    blank.fill(Qt::red);
    const QIcon fallback(blank);
    const struct {
        const char* name;
        const char* icon;
    } kinds[] = {
        {"notes.txt", "text-x-generic"},     {"photo.png", "image-x-generic"},
        {"song.mp3", "audio-x-generic"},     {"clip.avi", "video-x-generic"},
        {"bundle.zip", "package-x-generic"}, {"book.xls", "x-office-spreadsheet"},
        {"page.html", "text-html"},          {"setup.exe", "application-x-executable"},
    };
    for (const auto& kind : kinds) {
        const QIcon icon = ThemeIcons::forFileName(QString::fromLatin1(kind.name), fallback);
        EXPECT_EQ(icon.name(), QLatin1String(kind.icon)) << kind.name;
        EXPECT_FALSE(icon.pixmap(16, 16).isNull()) << kind.name;
    }
    // An extension is looked up once, whatever its case.
    EXPECT_EQ(ThemeIcons::forFileName(QStringLiteral("OTHER.TXT"), fallback).cacheKey(),
              ThemeIcons::forFileName(QStringLiteral("notes.txt"), fallback).cacheKey());
}
