#include "cli/DrivesCommand.h"

#include "platform/Volumes.h"

namespace cli {

int listDrives(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty()) {
        err << "lumara-cli drives: takes no arguments\n";
        return 2;
    }
    for (const platform::Volume& v : platform::MountedVolumes()) {
        // Removable volumes are not read, as in the folder tree.
        const QString label = v.kind == platform::VolumeKind::Removable
                                  ? QString()
                                  : platform::VolumeLabel(v.mountPath);
        out << v.mountPath << '\t' << platform::KindWord(v.kind) << '\t'
            << platform::VolumeText(v, label) << '\n';
    }
    return 0;
}

} // namespace cli
