// lumara-table-helper: reads one workbook or database request for Lumara and sends back
// what it found, so that a library crashing or looping on a damaged file ends this
// program and not the window.
#include "formats/XlsWorkbook.h"
#include "platform/IsolatedRead.h"
#include "platform/TableSource.h"
#include "platform/TableSourceDirect.h"

namespace {

// Workbooks go to our own record reader (which falls back on freexl by itself); databases
// to the library behind the platform's reader.
void AnswerRequest(platform::ListSink& sink, const QStringList& request)
{
    const QString operation = request.value(0);
    if (operation == platform::SheetsRequest && request.size() == 2)
        sink.send(xls::direct::SheetNames(request[1]));
    else if (operation == platform::SheetRecordsRequest && request.size() == 3)
        platform::SendRecords(sink, *xls::direct::OpenRecords(request[1], request[2]));
    else
        platform::direct::AnswerTableRequest(sink, request);
}

} // namespace

int main(int argc, char** argv)
{
    return platform::RunHelper(argc, argv, AnswerRequest);
}
