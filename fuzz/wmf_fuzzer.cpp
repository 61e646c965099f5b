// The WMF record interpreter on arbitrary bytes.
#include "view/Metafile.h"

#include <QGuiApplication>
#include <cstddef>
#include <cstdint>

// Fontconfig keeps what it matched for each new face name in caches it never frees;
// that is its business, not the reader's.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // Text drawing needs fonts, and fonts need a Gui application.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    (void)RenderWmf(bytes);
    return 0;
}
