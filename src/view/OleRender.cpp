#include "view/OleRender.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

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
    if (program.isEmpty() || !QDir().mkpath(outputFolder))
        return {};
    const QString png =
        QDir(outputFolder).filePath(QFileInfo(documentPath).completeBaseName() + ".png");
    QFile::remove(png); // never show a stale picture of an earlier file of that name
    QProcess office;
    // A private profile keeps a running LibreOffice of the user from taking the job.
    const QString profile =
        QUrl::fromLocalFile(QDir(outputFolder).filePath(".lo-profile")).toString();
    office.start(program,
                 {QStringLiteral("-env:UserInstallation=") + profile, QStringLiteral("--headless"),
                  QStringLiteral("--convert-to"), QStringLiteral("png"), QStringLiteral("--outdir"),
                  outputFolder, documentPath});
    if (!office.waitForFinished(timeoutMs)) {
        office.kill();
        office.waitForFinished(2000);
        return {};
    }
    return QFileInfo::exists(png) ? png : QString();
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
