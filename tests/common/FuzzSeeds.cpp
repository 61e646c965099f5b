#include "FuzzSeeds.h"

#include <QDir>
#include <QFile>

void SaveFuzzSeed(const QString& target, const QString& name, const QByteArray& bytes)
{
    const QString root = qEnvironmentVariable("LUMARA_FUZZ_SEEDS");
    if (root.isEmpty())
        return;
    const QString folder = root + "/" + target;
    QDir().mkpath(folder);
    QFile out(folder + "/" + name);
    if (out.open(QIODevice::WriteOnly))
        out.write(bytes);
}
