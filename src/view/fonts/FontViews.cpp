#include "view/fonts/FontViews.h"

#include "controls/Grid.h"
#include "formats/FontNames.h"

#include <QFileInfo>
#include <algorithm>

namespace {

constexpr int SampleFaceWidth = 36;
const QString TableFont = QStringLiteral("ariel"); // the name the tables ask for; Qt substitutes

} // namespace

bool FontFaceInstalled(const QString& face, const QStringList& installed)
{
    return std::any_of(installed.cbegin(), installed.cend(), [&face](const QString& name) {
        return name.contains(face) || face.contains(name);
    });
}

QString InstalledFontForFace(const QString& face, const QStringList& installed)
{
    if (face.isEmpty())
        return {};
    QString within;
    QString around;
    for (const QString& name : installed) {
        if (name.isEmpty())
            continue;
        if (face.contains(name) && name.size() > within.size())
            within = name;
        else if (name.contains(face) && (around.isEmpty() || name.size() < around.size()))
            around = name;
    }
    return within.isEmpty() ? around : within;
}

QString FontSampleLines()
{
    return QStringList{QStringLiteral("ABCSDEFGHIJKLMNOPQRSTUVWXYZ"),
                       QStringLiteral("abcdefghijklmnopqrstuvwxyz"),
                       QStringLiteral("!@#$%^&*()_+{}:?><~/.,-=][';"), QStringLiteral("1234567890")}
        .join(QStringLiteral("\r\n"));
}

QString FontSampleText(const QString& face)
{
    return face.leftJustified(SampleFaceWidth, QLatin1Char(' ')) + FontSampleLines();
}

FontSample ViewFontSteps(const QString& path, FontRegistry& registry,
                         const std::function<void(const FontSample&)>& show)
{
    QStringList installed = registry.installedFonts();
    installed.sort();
    FontSample sample;
    const std::optional<FontNames> names = ReadFontNamesFromFile(path);
    sample.face = names ? FaceName(*names) : QString();
    sample.style = names ? names->subfamily : QString();
    if (!FontFaceInstalled(sample.face, installed))
        sample.registered = registry.AddFont(path);
    sample.text = FontSampleText(sample.face);
    sample.family = sample.registered
                        ? registry.registeredFamily(path)
                        : registry.familyOf(InstalledFontForFace(sample.face, installed));
    if (show)
        show(sample);
    if (sample.registered)
        registry.RemoveFont(path);
    return sample;
}

void FillFontTable(Grid& grid, const QStringList& paths, const QStringList& installed,
                   const std::function<void(int i, int n)>& progress, const FamilyOfName& familyOf)
{
    grid.reset(5);
    grid.setFixedCols(1);
    grid.setFormatString(QStringLiteral(">#|<File|<Font|<Sample|<Sample"));
    grid.setColWidth(0, 400);
    for (int c = 1; c < 5; ++c)
        grid.setColWidth(c, 1600);
    const int n = int(paths.size());
    for (int i = 1; i <= n; ++i) {
        if (progress)
            progress(i, n);
        const QString& path = paths[i - 1];
        const QString face = GetFontFaceName(path);
        const bool installedFace = FontFaceInstalled(face, installed);
        grid.addItem(QStringList{QString::number(i), QFileInfo(path).fileName(), face,
                                 installedFace ? QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZ")
                                               : FontNotInstalled,
                                 QStringLiteral("0123456789")}
                         .join(QLatin1Char('\t')));
    }
    // The samples follow the face in column 2 of their own row, so a sort keeps them.
    grid.cellFont = [installed, familyOf](const Grid& g, int row,
                                          int col) -> std::optional<Grid::CellFont> {
        if (row < g.fixedRows())
            return std::nullopt;
        if (col < 3)
            return Grid::CellFont{TableFont, 8, false, false};
        const QString face = g.textMatrix(row, 2);
        const QString upper = face.toUpper();
        QString family = InstalledFontForFace(face, installed);
        if (familyOf && !family.isEmpty())
            family = familyOf(family);
        return Grid::CellFont{family.isEmpty() ? face : family, 8,
                              upper.contains(QLatin1String("BOLD")),
                              upper.contains(QLatin1String("ITALIC"))};
    };
}
