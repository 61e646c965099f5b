// lumara-table-helper: reads one workbook or database request for Lumara and sends back
// what it found, so that a library crashing or looping on a damaged file ends this
// program and not the window.
#include "platform/IsolatedRead.h"
#include "platform/TableSourceDirect.h"

int main(int argc, char** argv)
{
    return platform::RunHelper(argc, argv, platform::direct::AnswerTableRequest);
}
