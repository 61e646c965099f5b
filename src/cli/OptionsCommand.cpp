#include "cli/OptionsCommand.h"

#include "options/OptionColours.h"
#include "options/OptionFonts.h"
#include "options/OtherOptions.h"
#include "platform/FileAccess.h"

#include <QColor>

namespace cli {
namespace {

QString rgbText(const QColor& colour)
{
    return QStringLiteral("%1, %2, %3").arg(colour.red()).arg(colour.green()).arg(colour.blue());
}

int swatches(QTextStream& out)
{
    for (int i = 0; i < SwatchCount; ++i) {
        const Swatch& s = Swatches()[size_t(i)];
        out << i << '\t' << s.name << '\t'
            << (s.systemColour < 0 ? rgbText(QColor(s.rgb))
                                   : QStringLiteral("system colour %1").arg(s.systemColour))
            << "\n";
    }
    return 0;
}

int colour(const QStringList& args, QTextStream& out, QTextStream& err)
{
    int values[3] = {};
    bool good = args.size() == 3;
    for (int i = 0; good && i < 3; ++i) {
        values[i] = args[i].toInt(&good);
        good = good && values[i] >= 0 && values[i] <= 255;
    }
    if (!good) {
        err << "lumara-cli options colour: give R G B, each 0..255\n";
        return 2;
    }
    out << rgbText(ColourOf(StoredColour(QColor(values[0], values[1], values[2])))) << "\n";
    return 0;
}

int size(const QStringList& args, QTextStream& out, QTextStream& err)
{
    bool good = !args.isEmpty();
    double size = good ? args.first().toDouble(&good) : 0;
    if (!good) {
        err << "lumara-cli options size: give a size, then left or right clicks\n";
        return 2;
    }
    out << FontSizeLabelText(size) << "\n";
    for (const QString& click : args.mid(1)) {
        if (click != QLatin1String("left") && click != QLatin1String("right")) {
            err << "lumara-cli options size: a click is left or right: " << click << "\n";
            return 2;
        }
        const std::optional<double> next = SteppedFontSize(size, click == QLatin1String("left"));
        if (next)
            size = *next;
        out << (next ? FontSizeLabelText(size) : QStringLiteral("refused")) << "\n";
    }
    return 0;
}

int tempdir(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "lumara-cli options tempdir: give one folder\n";
        return 2;
    }
    const TempFolderCheck check = CheckTempFolder(
        args.first(), [](const QString& folder) { return platform::makeFolders(folder); });
    out << (check.ok()
                ? check.folder
                : QString(check.message).replace(QStringLiteral("\r\n"), QStringLiteral("\n")))
        << "\n";
    return check.ok() ? 0 : 1;
}

} // namespace

int optionsCommand(const QStringList& args, QTextStream& out, QTextStream& err)
{
    const QString what = args.value(0);
    if (what == QLatin1String("swatches") && args.size() == 1)
        return swatches(out);
    if (what == QLatin1String("colour"))
        return colour(args.mid(1), out, err);
    if (what == QLatin1String("size"))
        return size(args.mid(1), out, err);
    if (what == QLatin1String("tempdir"))
        return tempdir(args.mid(1), out, err);
    err << "lumara-cli options: swatches | colour R G B | size SIZE [left|right]... | tempdir "
           "FOLDER\n";
    return 2;
}

} // namespace cli
