#include "shared/FileKind.h"

#include "shared/Settings.h"

namespace {

/// The extension's last three characters (all of it when shorter).
QString lastThree(const QString& extension)
{
    return extension.right(3);
}

/// The first category among 0..last whose upper-cased list contains `probe`, or -1.
int categoryHolding(const QString& probe, int last, const Settings& settings)
{
    for (int i = 0; i <= last; ++i) {
        if (settings.categories[size_t(i)].extensions.toUpper().contains(probe))
            return i;
    }
    return -1;
}

} // namespace

FileKind ClassifyFileKind(const QString& extension, const Settings& settings)
{
    static const std::pair<const char*, FileKind> fixed[] = {
        {".DOC", FileKind::Doc}, {".TTF", FileKind::Ttf}, {".XLS", FileKind::Xls},
        {".AVI", FileKind::Avi}, {".TIF", FileKind::Tif}, {".BSK", FileKind::Basket},
    };
    for (const auto& [ext, kind] : fixed) {
        if (extension == QLatin1String(ext))
            return kind;
    }
    // A substring test on purpose: ".PP" or ".VS" match as well.
    if (!extension.isEmpty() && QStringLiteral(".PPT.MPP.VSD.PCX").contains(extension))
        return FileKind::Ole;
    if (const int category = categoryHolding(lastThree(extension), 5, settings); category >= 0)
        return FileKind(category);
    return settings.unknownAsText ? FileKind::Text : FileKind::None;
}

bool FileListIconsByExtension(const Settings& settings)
{
    return settings.tabColorSwap;
}

int FileListIconIndex(const QString& extension, const Settings& settings)
{
    if (!FileListIconsByExtension(settings))
        return 3;
    if (extension == QLatin1String(".BSK"))
        return 27;
    if (const int category = categoryHolding(lastThree(extension), 6, settings); category >= 0)
        return 14 + category;
    return 21;
}
