// RTF from any file the view is asked to show.
#include "FuzzInput.h"
#include "formats/RtfReader.h"

#include <QTextDocument>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    fuzz::ensureApplication();
    QTextDocument document;
    ReadRtf(fuzz::bytes(data, size), document);
    return 0;
}
