#include "view/text/OleRender.h"

#include "platform/FileAccess.h"
#include "platform/FileNames.h"
#include "platform/Process.h"

#include <QStandardPaths>
#include <QUrl>

namespace {

/// The document as LibreOffice is given it. LibreOffice reads paths as text, so a name
/// holding raw bytes gets a copy of a plain name in the output folder; "" when that fails.
QString DocumentForOffice(const QString& documentPath, const QString& outputFolder)
{
    if (!platform::holdsRawBytes(documentPath))
        return documentPath;
    const QString name = documentPath.mid(documentPath.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString extension = dot < 0 ? QString() : name.mid(dot);
    const QString copy = outputFolder + QStringLiteral("/lumara-document") +
                         (platform::holdsRawBytes(extension) ? QString() : extension);
    return platform::copyFile(documentPath, copy) ? copy : QString();
}

} // namespace

QString OfficeProgram()
{
    for (const char* name : {"soffice", "libreoffice"}) {
        const QString found = QStandardPaths::findExecutable(QLatin1String(name));
        if (!found.isEmpty())
            return found;
    }
    return {};
}

QString RenderFirstPage(const QString& documentPath, const QString& outputFolder, int timeoutMs)
{
    const QString program = OfficeProgram();
    if (program.isEmpty() || !platform::makeFolders(outputFolder))
        return {};
    const QString document = DocumentForOffice(documentPath, outputFolder);
    if (document.isEmpty())
        return {};
    const QString name = document.mid(document.lastIndexOf(u'/') + 1);
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString png = outputFolder + u'/' + (dot > 0 ? name.left(dot) : name) + ".png";
    platform::removeFile(png); // never show a stale picture of an earlier file of that name
    // A private profile keeps a running LibreOffice of the user from taking the job.
    const QString profile = QString::fromLatin1(
        platform::fileUrl(outputFolder + QStringLiteral("/.lo-profile")).toEncoded());
    const std::optional<int> exitCode = platform::runAndWait(
        program,
        {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
         QStringLiteral("--convert-to"), QStringLiteral("png"), QStringLiteral("--outdir"),
         outputFolder, document},
        timeoutMs);
    if (document != documentPath)
        platform::removeFile(document);
    return exitCode && platform::isRegularFile(png) ? png : QString();
}

QString OleClassFor(const QString& extension)
{
    if (extension == QLatin1String(".PPT"))
        return QStringLiteral("Powerpoint.show.8");
    if (extension == QLatin1String(".PCX"))
        return QStringLiteral("PBrush");
    if (extension == QLatin1String(".VSD"))
        return QStringLiteral("Visio.Drawing.6");
    return {};
}
