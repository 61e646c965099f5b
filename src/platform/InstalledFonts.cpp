#include "platform/InstalledFonts.h"

#include <fontconfig/fontconfig.h>
#include <memory>

namespace platform {
namespace {

// Every value of a string property of a pattern (families come in several languages).
QStringList values(FcPattern* pattern, const char* property)
{
    QStringList found;
    FcChar8* text = nullptr;
    for (int i = 0; FcPatternGetString(pattern, property, i, &text) == FcResultMatch; ++i) {
        const QString value = QString::fromUtf8(reinterpret_cast<const char*>(text));
        if (!value.isEmpty() && !found.contains(value))
            found << value;
    }
    return found;
}

} // namespace

std::vector<InstalledFont> InstalledFonts()
{
    std::vector<InstalledFont> fonts;
    const std::unique_ptr<FcPattern, decltype(&FcPatternDestroy)> all(FcPatternCreate(),
                                                                      &FcPatternDestroy);
    const std::unique_ptr<FcObjectSet, decltype(&FcObjectSetDestroy)> properties(
        FcObjectSetBuild(FC_FAMILY, FC_FULLNAME, FC_POSTSCRIPT_NAME, nullptr), &FcObjectSetDestroy);
    if (!all || !properties)
        return fonts;
    const std::unique_ptr<FcFontSet, decltype(&FcFontSetDestroy)> set(
        FcFontList(nullptr, all.get(), properties.get()), &FcFontSetDestroy);
    if (!set)
        return fonts;
    fonts.reserve(size_t(set->nfont));
    for (int i = 0; i < set->nfont; ++i) {
        FcPattern* font = set->fonts[i];
        InstalledFont entry;
        entry.names = values(font, FC_FAMILY);
        if (entry.names.isEmpty())
            continue;
        entry.family = entry.names.constFirst();
        for (const char* property : {FC_FULLNAME, FC_POSTSCRIPT_NAME}) {
            for (const QString& name : values(font, property)) {
                if (!entry.names.contains(name))
                    entry.names << name;
            }
        }
        fonts.push_back(std::move(entry));
    }
    return fonts;
}

} // namespace platform
