// Mount tables (/proc/self/mountinfo, /proc/self/mounts) and GVfs mount names, as the
// folder tree reads them to find volumes and network shares.
#include "FuzzInput.h"
#include "platform/NetworkShares.h"
#include "platform/Volumes.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString text = QString::fromUtf8(fuzz::bytes(data, size));
    std::vector<platform::Volume> volumes = platform::ParseMountInfo(text);
    for (const platform::Volume& v : platform::ParseMounts(text))
        volumes.push_back(v);
    for (const platform::Volume& v :
         platform::NetworkSharesOfGvfs(QStringLiteral("/run/user/1000/gvfs"), text.split('\n')))
        volumes.push_back(v);
    for (const platform::Volume& v : volumes) {
        if (v.mountPath.isEmpty())
            __builtin_trap(); // every volume is mounted somewhere
        (void)platform::ShareLabel(v);
    }
    (void)platform::GvfsMountPath(text, 1000);
    for (const char* type : {"fuse.sshfs", "nfs", "cifs", "davfs"})
        (void)platform::ShareOriginOf(text, QString::fromLatin1(type));
    return 0;
}
