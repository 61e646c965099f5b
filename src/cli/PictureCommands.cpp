#include "cli/PictureCommands.h"

#include "basket/Basket.h"
#include "cli/BasketCommand.h"
#include "cli/ListCommand.h"
#include "cli/NameEscape.h"
#include "controls/Grid.h"
#include "formats/Mp3Class.h"
#include "formats/PngFast.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/FileSystem.h"
#include "platform/MediaMci.h"
#include "platform/Prompts.h"
#include "platform/SafeWrite.h"
#include "shared/Settings.h"
#include "trees/SizeBarChart.h"
#include "trees/Statistics.h"
#include "view/picture/PictureFile.h"
#include "view/picture/PictureFolder.h"
#include "view/picture/Rotation.h"
#include "view/picture/ThumbnailCache.h"
#include "view/picture/ThumbnailPages.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QRegularExpression>
#include <QTimer>
#include <optional>

namespace cli {
namespace {

/// Takes "--name VALUE" out of `args`; nothing when absent. `missing` is set when the
/// option has no value.
std::optional<QString> takeOption(QStringList& args, const QString& name, bool& missing)
{
    const qsizetype at = args.indexOf(name);
    if (at < 0)
        return std::nullopt;
    if (at + 1 >= args.size()) {
        missing = true;
        args.removeAt(at);
        return std::nullopt;
    }
    const QString value = args[at + 1];
    args.remove(at, 2);
    return value;
}

std::optional<QSize> sizeOf(const QString& text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,5})x(\\d{1,5})$"));
    const QRegularExpressionMatch m = pattern.match(text);
    if (!m.hasMatch() || m.captured(1).toInt() == 0 || m.captured(2).toInt() == 0)
        return std::nullopt;
    return QSize(m.captured(1).toInt(), m.captured(2).toInt());
}

/// How a PNG is made: by Qt's writer, or, for pages of thumbnails that are written often
/// and read by a person, by the quick one (speed counts more than a few bytes there).
enum class PngWriter { Qt, Quick };

QByteArray pngBytes(const QImage& image, PngWriter writer)
{
    if (writer == PngWriter::Quick)
        return EncodePngFast(image);
    QByteArray png;
    QBuffer buffer(&png);
    if (!buffer.open(QIODevice::WriteOnly) || !image.save(&buffer, "PNG"))
        return {};
    return png;
}

bool savePng(const QImage& image, const QString& path, QTextStream& err,
             PngWriter writer = PngWriter::Qt)
{
    const QByteArray png = pngBytes(image, writer);
    if (png.isEmpty()) {
        err << "lumara-cli: cannot make a PNG of the picture for " << EscapeName(path) << "\n";
        return false;
    }
    // Written through the platform, which keeps the bytes of a name that is not UTF-8.
    QString why;
    if (platform::WriteFileSafely(path, png, &why))
        return true;
    err << "lumara-cli: cannot write " << EscapeName(path) << ": " << why << "\n";
    return false;
}

} // namespace

int drawPicture(const QStringList& given, QTextStream& out, QTextStream& err)
{
    QStringList args = given;
    bool missing = false;
    const std::optional<QString> outPath = takeOption(args, QStringLiteral("--out"), missing);
    const std::optional<QString> rotate = takeOption(args, QStringLiteral("--rotate"), missing);
    const std::optional<QString> frameText = takeOption(args, QStringLiteral("--frame"), missing);
    if (missing || !outPath || args.size() != 1) {
        err << "usage: lumara-cli picture FILE [--rotate DEGREES] [--frame WxH] --out OUT.png\n";
        return 2;
    }
    bool ok = true;
    const int angle = rotate ? rotate->toInt(&ok) : 0;
    if (!ok || angle % 90 != 0 || angle < -270 || angle > 270) {
        err << "lumara-cli picture: the angle is one of 90, 180, 270, -90, -180, -270\n";
        return 2;
    }
    const std::optional<QSize> frame = frameText ? sizeOf(*frameText) : std::nullopt;
    if (frameText && !frame) {
        err << "lumara-cli picture: --frame takes WIDTHxHEIGHT\n";
        return 2;
    }
    if (const QString problem = platform::fileReadProblem(args.first()); !problem.isEmpty()) {
        err << "lumara-cli picture: " << EscapeName(args.first()) << ": " << problem << "\n";
        return 1;
    }
    const PictureRead read = ReadPicture(args.first(), PictureMemoryBudget());
    const QImage& picture = read.image;
    if (picture.isNull()) {
        err << "lumara-cli picture: cannot read a picture from " << EscapeName(args.first())
            << "\n";
        return 1;
    }
    // What the window's status bar would say of the picture.
    if (!read.problem.isEmpty())
        out << read.problem << "\n";
    if (angle == 0 && !frame)
        return savePng(picture, *outPath, err) ? 0 : 1;
    if (!frame)
        return savePng(TurnedPicture(picture, angle), *outPath, err) ? 0 : 1;
    // With a frame: the whole frame turns, the picture at its top left corner, as
    // RotatePicture draws it.
    QImage framed(*frame, QImage::Format_ARGB32_Premultiplied);
    framed.fill(Qt::white);
    {
        QPainter painter(&framed);
        painter.drawImage(0, 0, picture);
    }
    const QImage turned = RotatePicture(framed, angle);
    return savePng(turned, *outPath, err) ? 0 : 1;
}

int drawThumbnails(const QStringList& given, QTextStream& out, QTextStream& err)
{
    QStringList args = given;
    bool missing = false;
    const std::optional<QString> outDir = takeOption(args, QStringLiteral("--out"), missing);
    const std::optional<QString> areaText = takeOption(args, QStringLiteral("--area"), missing);
    const std::optional<QString> basketFile = takeOption(args, QStringLiteral("--basket"), missing);
    const bool useCache = args.removeAll(QStringLiteral("--cache")) > 0;
    const std::optional<QSize> area = sizeOf(areaText.value_or(QStringLiteral("1000x750")));
    if (missing || !outDir || args.size() != (basketFile ? 0 : 1) || !area) {
        err << "usage: lumara-cli thumbs FOLDER|--basket FILE.bsk [--area WxH] [--cache] --out "
               "DIR\n";
        return 2;
    }
    const Settings settings;
    QStringList pictures;
    if (basketFile) {
        // The basket's "Picture thumbnails": its entries that are pictures.
        ScriptedPrompts prompts;
        BasketHost host;
        Grid grid;
        Basket basket(grid, prompts, host);
        if (!loadBasketArgument(*basketFile, basket, err, QStringLiteral("thumbs")))
            return 1;
        if (basket.empty()) {
            out << "RadeZazeda is empty\n";
            return 0;
        }
        QStringList paths;
        for (int row = 1; row < grid.rows(); ++row)
            paths << basket.path(row);
        pictures = PicturesAmong(paths, settings);
        if (pictures.isEmpty()) {
            out << "RadeZazeda has no picture files\n";
            return 0;
        }
    } else {
        if (!platform::isFolder(args.first())) {
            err << "lumara-cli thumbs: not a folder: " << args.first() << "\n";
            return 2;
        }
        pictures = PictureFilesOfFolder(args.first(), settings);
        if (pictures.isEmpty()) {
            out << "There are no picture files\n";
            return 0;
        }
    }
    if (!platform::makeFolders(*outDir)) {
        err << "lumara-cli thumbs: cannot make " << *outDir << "\n";
        return 1;
    }
    const int pages = LastThumbnailPage(int(pictures.size())) + 1;
    const ThumbnailCache shared;
    for (int p = 0; p < pages; ++p) {
        const QImage page =
            DrawThumbnailPage(pictures, p, *area, {}, {}, useCache ? &shared : nullptr);
        if (!savePng(page, *outDir + QStringLiteral("/page%1.png").arg(p + 1), err,
                     PngWriter::Quick))
            return 1;
    }
    WaitForThumbnailDecoders(std::chrono::seconds(2)); // their threads' last steps
    out << pictures.size() << " pictures, " << pages << " pages\n";
    return 0;
}

int mediaLength(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "usage: lumara-cli media FILE\n";
        return 2;
    }
    MediaMci mci;
    Mp3Class sound(mci);
    sound.MP3FileName = platform::absoluteFilePath(args.first());
    int error = 0;
    mci.send(QStringLiteral("open \"") + sound.MP3FileName + QLatin1Char('"'), &error);
    bool opened = error == 0;
    if (opened) {
        // The file loads in the background; the program's own event loop runs until the
        // load is announced, or the limit passes and the length is what is known by then.
        QObject::connect(&mci, &Mci::loadEnded, [&opened](const QString&, bool loaded) {
            opened = loaded;
            QCoreApplication::quit();
        });
        QTimer::singleShot(MediaMci::LoadLimitMs, QCoreApplication::instance(),
                           &QCoreApplication::quit);
        QCoreApplication::exec();
    }
    if (!opened) {
        err << "lumara-cli media: cannot open " << args.first() << "\n";
        return 1;
    }
    out << sound.MP3Duration() << "\n";
    sound.MP3Stop();
    return 0;
}

int drawSizeBars(const QStringList& given, QTextStream& out, QTextStream& err)
{
    QStringList args = given;
    bool missing = false;
    const std::optional<QString> outPath = takeOption(args, QStringLiteral("--out"), missing);
    const std::optional<QString> widthText = takeOption(args, QStringLiteral("--width"), missing);
    const std::optional<QString> pageText = takeOption(args, QStringLiteral("--page"), missing);
    const std::optional<QString> basketFile = takeOption(args, QStringLiteral("--basket"), missing);
    const std::optional<QSize> page = sizeOf(pageText.value_or(QStringLiteral("800x600")));
    if (missing || !outPath || !page || (basketFile && !args.isEmpty())) {
        err << "usage: lumara-cli sizebars [list options] [--width TWIPS] [--page WxH] "
               "FOLDER|--basket FILE.bsk --out OUT.png\n";
        return 2;
    }
    Settings settings;
    Grid grid;
    SizeBarKind kind;
    if (basketFile) {
        ScriptedPrompts prompts;
        BasketHost host;
        Basket basket(grid, prompts, host);
        if (!loadBasketArgument(*basketFile, basket, err, QStringLiteral("sizebars")))
            return 1;
        kind = BasketSizeBarKind();
    } else {
        FileList state;
        if (const int status = listFromArgs(args, state, settings, err, QStringLiteral("sizebars"));
            status >= 0)
            return status;
        if (state.setup().showsPlaceholder ||
            !ShowSizeTable(state, grid, state.tree().root()).shown)
            grid.setRows(0);
        kind = SizeBarKind{state.setup().treeType, settings.extensionNames, grid.cols() == 3};
    }
    if (!HasSizeBarData(grid)) {
        out << "nothing to draw\n";
        return 0;
    }
    SizeBarStyle style;
    style.bar = QColor::fromRgb(QRgb(settings.colours[5]));
    style.line = QGuiApplication::palette().color(QPalette::Highlight);
    const QList<QImage> pages =
        DrawSizeBarPages(grid, kind, widthText ? widthText->toInt() : -1, *page, style);
    // Further pages go beside the first: "out.png", "out-2.png", ...
    const qsizetype slash = outPath->lastIndexOf(u'/');
    const qsizetype dot = outPath->lastIndexOf(u'.');
    const QString stem = dot > slash + 1 ? outPath->left(dot) : *outPath;
    const QString suffix = dot > slash + 1 ? outPath->mid(dot + 1) : QString();
    for (qsizetype p = 0; p < pages.size(); ++p) {
        const QString path = p == 0 ? *outPath : stem + QStringLiteral("-%1.").arg(p + 1) + suffix;
        if (!savePng(pages[p], path, err))
            return 1;
    }
    out << pages.size() << (pages.size() == 1 ? " page\n" : " pages\n");
    return 0;
}

} // namespace cli
