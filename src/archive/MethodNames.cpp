#include "archive/MethodNames.h"

#include <array>

QString ZipMethodName(quint32 method, quint32 flags)
{
    const quint32 option = (flags / 2) & 3;
    static const std::array<const char*, 4> implode{"4KDict:2Tree", "8KDict:2Tree", "4KDict:3Tree",
                                                    "8KDict:3Tree"};
    static const std::array<const char*, 4> deflate{"N", "X", "F", "S"};
    switch (method) {
    case 0:
        return QStringLiteral("Stored");
    case 1:
        return QStringLiteral("Shrunk");
    case 2:
    case 3:
    case 4:
    case 5:
        return QStringLiteral("Reduced:") + QString::number(method - 1);
    case 6:
        return QStringLiteral("Imploded:") + QLatin1String(implode[option]);
    case 7:
        return QStringLiteral("Tokenized");
    case 8:
        return QStringLiteral("Deflated:") + QLatin1String(deflate[option]);
    case 9:
        return QStringLiteral("EnhDef");
    case 10:
        return QStringLiteral("ImplDCL");
    default:
        return QStringLiteral("Unknown");
    }
}

QString RarMethodName(quint32 method, quint32 flags)
{
    if (method == 48)
        return QStringLiteral("Stored");
    if (method == 51)
        return QStringLiteral("Deflated:") + QString::number(1u << (((flags / 32) & 7) + 6)) +
               QStringLiteral("Kb");
    return QStringLiteral("Unknown");
}

QString AceMethodName(quint32 method)
{
    if (method == 0)
        return QStringLiteral("Stored");
    if (method == 1)
        return QStringLiteral("Deflated:1024Kb");
    return QStringLiteral("Unknown");
}

QString CabMethodName(quint32 method)
{
    switch (method & 15) {
    case 0:
        return QStringLiteral("None");
    case 1:
        return QStringLiteral("MsZip");
    case 3:
        return QStringLiteral("Lzx");
    default:
        return QString();
    }
}
