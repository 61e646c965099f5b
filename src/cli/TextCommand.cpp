#include "cli/TextCommand.h"

#include "formats/DocText.h"
#include "formats/RtfReader.h"
#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/ViewDispatch.h"
#include "view/text/TextSlices.h"

#include <QFile>
#include <QTextDocument>
#include <optional>

namespace cli {
namespace {

/// As much of a text file as the view reads before it says "first ... shown".
constexpr qint64 ViewTextLimit = 16 << 20;

/// The text view's text: an RTF file as its reader lays it out, any other file
/// decoded as the view decodes it. Nothing when the file cannot be read.
std::optional<QString> ViewedText(const QString& path)
{
    TextSlices slices(path, ViewTextLimit);
    if (!platform::pathExists(path))
        return std::nullopt;
    if (LooksLikeRtf(slices.peek(8)) && slices.size() <= ViewTextLimit) {
        QFile file;
        if (!platform::openForReading(file, path))
            return std::nullopt;
        QTextDocument document;
        ReadRtf(file.readAll(), document);
        return document.toPlainText();
    }
    QString text;
    while (!slices.atEnd())
        text += slices.next(ViewTextLimit);
    return text;
}

/// One paragraph per line: CR LF and lone CR become LF, and the last line ends too.
QString OneParagraphPerLine(QString text)
{
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    if (!text.isEmpty() && !text.endsWith(u'\n'))
        text += u'\n';
    return text;
}

} // namespace

int showText(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (args.size() != 1) {
        err << "lumara-cli text: give one text, RTF or document file\n";
        return 2;
    }
    const QString path = platform::absoluteFilePath(args[0]);
    const Settings defaults;
    const QString extension = ExtensionOf(NameAfterLastBackslash(args[0]));
    const ViewAction action = ViewActionFor(ClassifyFileKind(extension, defaults), extension);
    if (action != ViewAction::Text && action != ViewAction::DocText) {
        err << "lumara-cli text: not a text, RTF or document file: " << args[0] << "\n";
        return 2;
    }
    const std::optional<QString> text =
        action == ViewAction::DocText ? DocTextOfFile(path) : ViewedText(path);
    if (!text) {
        err << "lumara-cli text: cannot read " << args[0] << "\n";
        return 1;
    }
    out << OneParagraphPerLine(*text);
    out.flush();
    return 0;
}

} // namespace cli
