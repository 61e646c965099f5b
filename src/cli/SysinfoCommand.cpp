#include "cli/SysinfoCommand.h"

#include "controls/NodeTree.h"
#include "platform/MachineFacts.h"
#include "view/report/SystemReport.h"
#include "view/report/TreeToText.h"

namespace cli {

int systemReport(const QStringList& args, QTextStream& out, QTextStream& err)
{
    if (!args.isEmpty()) {
        err << "lumara-cli sysinfo: takes no arguments\n";
        return 2;
    }
    NodeTree report;
    BuildSystemReport(report, platform::GatherMachineFacts(), platform::GatherVolumeFacts(),
                      QSize(0, 0));
    out << TreeToText(report);
    return 0;
}

} // namespace cli
