#include "options/OptionColours.h"

#include "shared/Settings.h"

#include <QPalette>

const std::array<Swatch, SwatchCount>& Swatches()
{
    static const std::array<Swatch, SwatchCount> all{{
        {"BLACK", qRgb(0, 0, 0)},
        {"BLUE", qRgb(0, 0, 128)},
        {"GREEN", qRgb(0, 128, 0)},
        {"CYAN", qRgb(0, 128, 128)},
        {"RED", qRgb(128, 0, 0)},
        {"MAGENTA", qRgb(128, 0, 128)},
        {"ORANGE", qRgb(128, 128, 0)},
        {"GREY", qRgb(192, 192, 192)},
        {"DARK_GREY", qRgb(128, 128, 128)},
        {"BRIGHT_BLUE", qRgb(0, 0, 255)},
        {"BRIGHT_GREEN", qRgb(0, 255, 0)},
        {"BRIGHT_CYAN", qRgb(0, 255, 255)},
        {"BRIGHT_RED", qRgb(255, 0, 0)},
        {"BRIGHT_MAGENTA", qRgb(255, 0, 255)},
        {"BRIGHT_ORANGE", qRgb(255, 255, 0)},
        {"WHITE", qRgb(255, 255, 255)},
        {"DESKTOP", 0, 1},
        {"ACTIVE_TITLE_BAR", 0, 2},
        {"INACTIVE_TITLE_BAR", 0, 3},
        {"WINDOW_BACKGROUND", 0, 5},
        {"WINDOW_FRAME", 0, 6},
        {"MENU_TEXT", 0, 7},
        {"WINDOW_TEXT", 0, 8},
        {"TITLE_BAR_TEXT", 0, 9},
        {"ACTIVE_BORDER", 0, 10},
        {"INACTIVE_BORDER", 0, 11},
        {"HIGHLIGHT", 0, 13},
        {"HIGHLIGHT_TEXT", 0, 14},
        {"BUTTON_FACE", 0, 15},
        {"BUTTON_SHADOW", 0, 16},
        {"GRAY_TEXT", 0, 17},
        {"BUTTON_TEXT", 0, 18},
    }};
    return all;
}

QColor SystemColour(int index, const QPalette& palette)
{
    switch (index) {
    case 1: // desktop
        return palette.color(QPalette::Active, QPalette::Dark);
    case 2: // active title bar
    case 13:
        return palette.color(QPalette::Active, QPalette::Highlight);
    case 3: // inactive title bar
        return palette.color(QPalette::Inactive, QPalette::Mid);
    case 5:
        return palette.color(QPalette::Active, QPalette::Base);
    case 6: // window frame
        return palette.color(QPalette::Active, QPalette::Shadow);
    case 7:
        return palette.color(QPalette::Active, QPalette::WindowText);
    case 8:
        return palette.color(QPalette::Active, QPalette::Text);
    case 9: // title bar text
    case 14:
        return palette.color(QPalette::Active, QPalette::HighlightedText);
    case 10: // active border
        return palette.color(QPalette::Active, QPalette::Window);
    case 11: // inactive border
        return palette.color(QPalette::Inactive, QPalette::Midlight);
    case 15:
        return palette.color(QPalette::Active, QPalette::Button);
    case 16: // button shadow
        return palette.color(QPalette::Active, QPalette::Dark);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18:
        return palette.color(QPalette::Active, QPalette::ButtonText);
    default:
        return palette.color(QPalette::Active, QPalette::Window);
    }
}

QColor SwatchColour(int index, const QPalette& palette)
{
    if (index < 0 || index >= SwatchCount)
        return {};
    const Swatch& swatch = Swatches()[size_t(index)];
    return swatch.systemColour < 0 ? QColor(swatch.rgb)
                                   : SystemColour(swatch.systemColour, palette);
}

QString ColourTargetCaption(ColourTarget target)
{
    switch (target) {
    case ColourTarget::ViewWindowFg:
        return QStringLiteral("View Window FG");
    case ColourTarget::ViewWindowBg:
        return QStringLiteral("View Window BG");
    case ColourTarget::FilesListFg:
        return QStringLiteral("Files List FG");
    case ColourTarget::FilesListBg:
        return QStringLiteral("Files List BG");
    case ColourTarget::DirectoryTreeFg:
        return QStringLiteral("Directory Tree FG");
    case ColourTarget::DirectoryTreeBg:
        return QStringLiteral("Directory Tree BG");
    }
    return {};
}

int ColourSlot(ColourTarget target)
{
    // The settings keep tree bg/fg, list bg/fg, view bg/fg: the reverse of the buttons.
    return ColourTargetCount - 1 - int(target);
}

quint32 StoredColour(const QColor& colour)
{
    const quint32 value = colour.rgb() & 0xFFFFFFu;
    // 0 would read as "no colour" elsewhere; the nearest black that is not 0 stands in.
    return value == 0 ? 0x010101u : value;
}

QColor ColourOf(quint32 stored)
{
    return QColor(QRgb(0xFF000000u | (stored & 0xFFFFFFu)));
}

void ApplyColour(Settings& settings, ColourTarget target, const QColor& colour)
{
    settings.colours[size_t(ColourSlot(target))] = StoredColour(colour);
}

void ResetColours(Settings& settings)
{
    settings.colours = Settings().colours;
}
