#include "platform/SystemInfo.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <pwd.h>
#include <unistd.h>

namespace platform {

QString userName()
{
    if (const passwd* pw = ::getpwuid(::geteuid()); pw && pw->pw_name && *pw->pw_name)
        return QString::fromLocal8Bit(pw->pw_name);
    const QString fromEnv = qEnvironmentVariable("USER");
    return fromEnv.isEmpty() ? QStringLiteral("user") : fromEnv;
}

QString hostName()
{
    char buffer[256] = {};
    if (::gethostname(buffer, sizeof buffer - 1) != 0)
        return {};
    return QString::fromLocal8Bit(buffer);
}

QString programFolder()
{
    QString folder = QCoreApplication::instance() ? QCoreApplication::applicationDirPath()
                                                  : QFileInfo(QStringLiteral("/proc/self/exe"))
                                                        .canonicalFilePath()
                                                        .section(QLatin1Char('/'), 0, -2);
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    return folder;
}

QString helpFolder(const QString& programFolder)
{
    if (QFileInfo::exists(programFolder + QStringLiteral("Lumarahelp.htm")))
        return programFolder;
    return QDir::cleanPath(programFolder + QStringLiteral("../share/lumara")) + QLatin1Char('/');
}

bool runningAsRoot()
{
    return ::geteuid() == 0;
}

} // namespace platform
