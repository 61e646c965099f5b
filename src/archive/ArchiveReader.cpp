#include "archive/ArchiveReader.h"

void ArchiveReader::GetInfo()
{
    if (ArchiveExt == QLatin1String("ace"))
        GetAce(*this);
    else if (ArchiveExt == QLatin1String("cab"))
        GetCab(*this);
    else if (ArchiveExt == QLatin1String("rar"))
        GetRar(*this);
    else if (ArchiveExt == QLatin1String("zip"))
        GetZip(*this);
}

void ArchiveReader::raise(ArchiveEntry& entry) const
{
    entry.Total = FileCount;
    entry.ArchiveExt = ArchiveExt;
    if (FileFound)
        FileFound(entry);
}

QString DamagedArchiveText(const QString& archiveName)
{
    return QStringLiteral("The archive is damaged; its listing stops here:\r\n") + archiveName;
}
