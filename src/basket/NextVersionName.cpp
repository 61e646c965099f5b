#include "basket/NextVersionName.h"

#include "platform/FileAccess.h"

QString NextVersionName(const QString& folder, const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    const QString stem = dot < 0 ? name : name.left(dot);
    const QString extension = dot < 0 ? QString() : name.mid(dot); // with its dot
    // A ";" in the last path component before the dot starts a version number.
    const qsizetype slash = stem.lastIndexOf(u'/');
    const qsizetype semicolon = stem.lastIndexOf(u';');
    QString base = stem;
    int version = 0;
    if (semicolon > slash) {
        base = stem.left(semicolon);
        version = stem.mid(semicolon + 1).toInt(); // not a number: 0
        if (version < 0 || version > 99)
            version = 0;
    }
    for (int tries = 0; tries < 99; ++tries) {
        version = version + 1 >= 100 ? 1 : version + 1;
        const QString candidate =
            base + QLatin1Char(';') + QString::number(version).rightJustified(2, u'0') + extension;
        if (!platform::pathExists(folder + candidate))
            return candidate;
    }
    return {};
}
