#include "shared/Settings.h"

#include "platform/SystemInfo.h"

#include <QDir>

std::array<ViewCategory, Settings::CategorySlots> Settings::defaultCategories()
{
    return {{
        {QStringLiteral("Text"), QStringLiteral("txt;rtf;prn;dat;bat;log;csv")},
        // Today's formats beside the classic ones; profiles already written keep theirs.
        {QStringLiteral("Picture"),
         QStringLiteral("bmp;dib;gif;jpg;jpeg;png;webp;tif;tiff;svg;emf;ico;cur;wmf;pcx")},
        {QStringLiteral("Html"), QStringLiteral("htm;html;mht")},
        {QStringLiteral("Zip"), QStringLiteral("cab;rar;zip")},
        {QStringLiteral("Sound"), QStringLiteral("mp3;wma;mid;wav")},
        {QStringLiteral("Db"), QStringLiteral("mdb")},
        {QStringLiteral("Other"), QStringLiteral("*")},
        {QStringLiteral("ALL"), QStringLiteral("*")},
        {},
        {},
        {},
    }};
}

QString Settings::defaultTempFolder()
{
    return QDir::tempPath() + QStringLiteral("/Dorared-") + platform::userName() + QLatin1Char('/');
}
