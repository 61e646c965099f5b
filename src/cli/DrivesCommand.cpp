#include "cli/DrivesCommand.h"

#include "platform/NetworkShares.h"
#include "platform/Volumes.h"

namespace cli {

int listDrives(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty()) {
        err << "lumara-cli drives: takes no arguments\n";
        return 2;
    }
    for (const platform::Volume& v : platform::MountedVolumes()) {
        // Removable volumes are not read, as in the folder tree; network shares are
        // named by their server and share, which asks nothing of a slow server.
        QString label;
        if (v.kind == platform::VolumeKind::Remote)
            label = platform::ShareLabel(v);
        else if (v.kind != platform::VolumeKind::Removable)
            label = platform::VolumeLabel(v.mountPath);
        out << v.mountPath << '\t' << platform::KindWord(v.kind) << '\t'
            << platform::VolumeText(v, label) << '\n';
    }
    return 0;
}

} // namespace cli
