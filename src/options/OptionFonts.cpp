#include "options/OptionFonts.h"

#include <cmath>

QString FontTargetCaption(FontTarget target)
{
    switch (target) {
    case FontTarget::Directory:
        return QStringLiteral("Directory");
    case FontTarget::FileList:
        return QStringLiteral("FileList");
    case FontTarget::Views:
        return QStringLiteral("Views");
    }
    return {};
}

FontSetting& FontOf(Settings& settings, FontTarget target)
{
    switch (target) {
    case FontTarget::Directory:
        return settings.treeFont;
    case FontTarget::FileList:
        return settings.listFont;
    case FontTarget::Views:
        break;
    }
    return settings.viewFont;
}

const FontSetting& FontOf(const Settings& settings, FontTarget target)
{
    switch (target) {
    case FontTarget::Directory:
        return settings.treeFont;
    case FontTarget::FileList:
        return settings.listFont;
    case FontTarget::Views:
        break;
    }
    return settings.viewFont;
}

std::optional<double> SteppedFontSize(double size, bool up)
{
    const double next = up ? size + FontSizeStep : size - FontSizeStep;
    if (next < SmallestFontSize || next > LargestFontSize)
        return std::nullopt;
    return next;
}

QString HashPictureText(double value)
{
    const bool negative = value < 0;
    const qint64 hundredths = std::llround(std::fabs(value) * 100);
    const qint64 whole = hundredths / 100;
    QString decimals = QStringLiteral("%1").arg(hundredths % 100, 2, 10, QLatin1Char('0'));
    while (decimals.endsWith(QLatin1Char('0')))
        decimals.chop(1);
    QString text = whole == 0 ? QString() : QString::number(whole);
    text += QLatin1Char('.') + decimals;
    return negative && hundredths != 0 ? QLatin1Char('-') + text : text;
}

QString FontSizeLabelText(double size)
{
    return QStringLiteral("Size ") + HashPictureText(size);
}

void SetDefaultFonts(Settings& settings)
{
    const FontSetting defaults;
    settings.treeFont = defaults;
    settings.listFont = defaults;
    settings.viewFont = defaults;
}
