#include "platform/MachineFacts.h"

#include "platform/SystemInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/utsname.h>
#include <thread>
#include <unistd.h>

namespace platform {
namespace {

QString readText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.read(1 << 20));
}

QString unquoted(QString value)
{
    value = value.trimmed();
    if (value.size() >= 2 && (value.front() == u'"' || value.front() == u'\'') &&
        value.back() == value.front())
        value = value.mid(1, value.size() - 2);
    return value;
}

QString fullNameOf(uid_t uid)
{
    const passwd* pw = ::getpwuid(uid);
    if (!pw || !pw->pw_gecos)
        return {};
    // The comment field may hold "Name,room,phone,...": the name comes first.
    return QString::fromLocal8Bit(pw->pw_gecos).section(u',', 0, 0).trimmed();
}

QString processorName()
{
    const QString cpuinfo = readText(QStringLiteral("/proc/cpuinfo"));
    for (const QString& line : cpuinfo.split(u'\n')) {
        if (line.startsWith(QLatin1String("model name")))
            return line.section(u':', 1).trimmed();
    }
    utsname u{};
    return ::uname(&u) == 0 ? QString::fromLocal8Bit(u.machine) : QString();
}

/// The file system UUID udev recorded for the block device behind `device`.
QString uuidOf(const QString& device)
{
    struct stat st {};
    if (!device.startsWith(u'/') || ::stat(QFile::encodeName(device).constData(), &st) != 0 ||
        !S_ISBLK(st.st_mode))
        return {};
    const QString record = readText(
        QStringLiteral("/run/udev/data/b%1:%2").arg(major(st.st_rdev)).arg(minor(st.st_rdev)));
    for (const QString& line : record.split(u'\n')) {
        if (line.startsWith(QLatin1String("E:ID_FS_UUID=")))
            return line.mid(13).trimmed();
    }
    // Without udev's record, the by-uuid links still name it.
    const QString target = QFileInfo(device).canonicalFilePath();
    const QDir links(QStringLiteral("/dev/disk/by-uuid"));
    for (const QFileInfo& link : links.entryInfoList(QDir::System | QDir::Files)) {
        if (link.canonicalFilePath() == target)
            return link.fileName();
    }
    return {};
}

} // namespace

void ParseMemInfo(const QString& text, MachineFacts& facts)
{
    const auto value = [&text](QLatin1String key) -> qint64 {
        const qsizetype at = text.indexOf(key);
        if (at < 0)
            return -1;
        const QString rest = text.mid(at + key.size()).section(u'\n', 0, 0);
        bool ok = false;
        const qint64 kb = rest.section(u':', 1).trimmed().section(u' ', 0, 0).toLongLong(&ok);
        return ok ? kb : -1;
    };
    const qint64 total = value(QLatin1String("MemTotal"));
    qint64 available = value(QLatin1String("MemAvailable"));
    if (available < 0)
        available = value(QLatin1String("MemFree"));
    facts.totalMemoryKb = std::max<qint64>(total, 0);
    facts.availableMemoryKb = std::clamp<qint64>(available, 0, facts.totalMemoryKb);
    facts.memoryLoad = facts.totalMemoryKb > 0
                           ? int((100 * (facts.totalMemoryKb - facts.availableMemoryKb) +
                                  facts.totalMemoryKb / 2) /
                                 facts.totalMemoryKb)
                           : 0;
}

void ParseOsRelease(const QString& text, MachineFacts& facts)
{
    for (const QString& line : text.split(u'\n')) {
        if (line.startsWith(QLatin1String("NAME=")))
            facts.osName = unquoted(line.mid(5));
        else if (line.startsWith(QLatin1String("VERSION_ID=")))
            facts.osVersion = unquoted(line.mid(11));
    }
}

QString SerialFromUuid(const QString& uuid)
{
    QString hex;
    for (const QChar c : uuid) {
        if (hex.size() == 8)
            break;
        if (c.isDigit() || (c.toLower() >= u'a' && c.toLower() <= u'f'))
            hex.append(c.toUpper());
    }
    if (hex.size() < 8)
        return QStringLiteral("0000-0000");
    return hex.left(4) + u'-' + hex.mid(4);
}

MachineFacts GatherMachineFacts()
{
    MachineFacts facts;
    facts.userName = userName();
    facts.hostName = hostName();
    facts.fullName = fullNameOf(::geteuid());
    QString osRelease = readText(QStringLiteral("/etc/os-release"));
    if (osRelease.isEmpty())
        osRelease = readText(QStringLiteral("/usr/lib/os-release"));
    ParseOsRelease(osRelease, facts);
    utsname u{};
    if (::uname(&u) == 0) {
        // "6.1.0-18-amd64": major, minor and the patch level as the build.
        const QStringList numbers =
            QString::fromLocal8Bit(u.release).section(u'-', 0, 0).split(u'.');
        facts.kernelMinor = numbers.value(1);
        facts.kernelBuild = numbers.value(2);
    }
    facts.processor = processorName();
    facts.processors = int(std::max(1u, std::thread::hardware_concurrency()));
    ParseMemInfo(readText(QStringLiteral("/proc/meminfo")), facts);
    return facts;
}

qint64 AvailableMemoryBytes()
{
    MachineFacts facts;
    ParseMemInfo(readText(QStringLiteral("/proc/meminfo")), facts);
    return facts.availableMemoryKb * 1024;
}

std::vector<VolumeFacts> GatherVolumeFacts()
{
    std::vector<VolumeFacts> all;
    for (const Volume& v : MountedVolumes()) {
        VolumeFacts facts;
        facts.volume = v;
        facts.space = VolumeSpaceOf(v.mountPath);
        facts.label = VolumeLabel(v.mountPath);
        facts.serial = SerialFromUuid(uuidOf(v.device));
        all.push_back(std::move(facts));
    }
    return all;
}

} // namespace platform
