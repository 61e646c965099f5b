#include "platform/NetworkShares.h"

#include <QFile>
#include <QSet>
#include <QUrl>
#include <dirent.h>

namespace platform {
namespace {

QString withoutTrailingSlash(QString text)
{
    while (text.size() > 1 && text.endsWith(QLatin1Char('/')))
        text.chop(1);
    return text;
}

// "//server/share/sub" (or with backslashes) gives server and "share/sub".
ShareOrigin smbOrigin(const QString& source)
{
    QString rest = source;
    rest.replace(QLatin1Char('\\'), QLatin1Char('/'));
    while (rest.startsWith(QLatin1Char('/')))
        rest.remove(0, 1);
    const qsizetype slash = rest.indexOf(QLatin1Char('/'));
    if (slash < 0)
        return {rest, {}};
    return {rest.left(slash), withoutTrailingSlash(rest.mid(slash + 1))};
}

// "user@host:/path", "host:path", "[::1]:/path": the user is no part of the server.
ShareOrigin hostPathOrigin(const QString& source, bool homeRelative)
{
    QString rest = source;
    const qsizetype at = rest.indexOf(QLatin1Char('@'));
    if (at >= 0 && at < rest.indexOf(QLatin1Char(':')))
        rest.remove(0, at + 1);
    QString server;
    QString path;
    if (rest.startsWith(QLatin1Char('[')) && rest.contains(QLatin1String("]:"))) {
        const qsizetype close = rest.indexOf(QLatin1String("]:"));
        server = rest.mid(1, close - 1);
        path = rest.mid(close + 2);
    } else {
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        server = rest.left(colon);
        path = rest.mid(colon + 1);
    }
    // sshfs starts from the user's home folder on the server.
    if (homeRelative && !path.startsWith(QLatin1Char('/')))
        path = path.isEmpty() ? QStringLiteral("~") : QStringLiteral("~/") + path;
    return {server, withoutTrailingSlash(path)};
}

bool isSmbType(const QString& type)
{
    return type == QLatin1String("cifs") || type == QLatin1String("smb3") ||
           type == QLatin1String("smbfs");
}

// GVfs names of network locations; the other backends (phones, cameras, archives) are
// local devices.
bool isNetworkScheme(const QString& scheme)
{
    static const QSet<QString> schemes{
        "sftp",         "ftp",      "ftps",    "smb-share", "smb-server", "dav",
        "davs",         "dav+sd",   "davs+sd", "nfs",       "afp-volume", "afp-server",
        "google-drive", "onedrive", "http",    "network",   "ssh"};
    return schemes.contains(scheme);
}

} // namespace

ShareOrigin ShareOriginOf(const QString& source, const QString& fsType)
{
    if (isSmbType(fsType) || source.startsWith(QLatin1String("//")) ||
        source.startsWith(QLatin1String("\\\\")))
        return smbOrigin(source);
    if (source.contains(QLatin1String("://"))) {
        const QUrl url(source);
        if (url.isValid() && !url.host().isEmpty())
            return {url.host(), withoutTrailingSlash(url.path())};
    }
    if (source.contains(QLatin1Char(':')))
        return hostPathOrigin(source, fsType == QLatin1String("fuse.sshfs"));
    return {{}, source};
}

std::vector<Volume> NetworkSharesOfGvfs(const QString& gvfsPath, const QStringList& names)
{
    std::vector<Volume> shares;
    for (const QString& name : names) {
        const qsizetype colon = name.indexOf(QLatin1Char(':'));
        if (colon <= 0 || !isNetworkScheme(name.left(colon)))
            continue;
        Volume v{gvfsPath + QLatin1Char('/') + name, name, QStringLiteral("fuse.gvfsd-fuse"),
                 VolumeKind::Remote};
        QString share;
        // The values are escaped as in a URI ("%2F" for a slash).
        for (const QString& pair : name.mid(colon + 1).split(QLatin1Char(','))) {
            const qsizetype equals = pair.indexOf(QLatin1Char('='));
            if (equals <= 0)
                continue;
            const QString key = pair.left(equals);
            const QString value = QUrl::fromPercentEncoding(pair.mid(equals + 1).toUtf8());
            if (key == QLatin1String("host") || key == QLatin1String("server"))
                v.server = value;
            else if (key == QLatin1String("share") || key == QLatin1String("volume") ||
                     (key == QLatin1String("prefix") && share.isEmpty()))
                share = withoutTrailingSlash(value);
        }
        if (v.server.isEmpty())
            continue;
        v.share = share.isEmpty() ? name.left(colon) : share;
        shares.push_back(std::move(v));
    }
    return shares;
}

QStringList GvfsFolderNames(const QString& gvfsPath)
{
    QStringList names;
    DIR* dir = ::opendir(QFile::encodeName(gvfsPath).constData());
    if (!dir)
        return names;
    while (const dirent* d = ::readdir(dir)) {
        const QString name = QFile::decodeName(d->d_name);
        if (name != QLatin1String(".") && name != QLatin1String(".."))
            names << name;
    }
    ::closedir(dir);
    return names;
}

QString ShareLabel(const Volume& volume)
{
    if (volume.server.isEmpty())
        return volume.share.isEmpty() ? volume.device : volume.share;
    if (volume.share.isEmpty())
        return volume.server;
    return volume.server + QStringLiteral(": ") + volume.share;
}

} // namespace platform
