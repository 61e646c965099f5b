// A stand-in for the table helper: behaves as a reader of a damaged file would (crashes,
// hangs, floods, allocates, complains), as the request names.
#include "platform/FileNames.h"
#include "platform/IsolatedRead.h"
#include "platform/TableSource.h"

#include <QByteArray>
#include <QDir>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

using platform::ListSink;

namespace {

void Answer(ListSink& sink, const QStringList& request)
{
    const QString what = request.value(0);
    if (what == u"lists") {
        sink.send({QStringLiteral("Größe"), QString(), QStringLiteral("b")});
        sink.send({});
        throw platform::TableSourceError("no such sheet");
    }
    if (what == u"long") {
        sink.send({QString(300000, QLatin1Char('x'))});
        for (int i = 0; i < 20000; ++i)
            sink.send({QString::number(i), QStringLiteral("row")});
    } else if (what == u"crash") {
        sink.send({QStringLiteral("first")});
        std::abort();
    } else if (what == u"hang") {
        std::this_thread::sleep_for(std::chrono::hours(1));
    } else if (what == u"complain") {
        const std::string line(999, 'w');
        for (int i = 0; i < 4000; ++i) {
            std::fprintf(stderr, "%s\n", line.c_str());
            std::fprintf(stdout, "%s\n", line.c_str());
        }
        std::fflush(stdout);
        sink.send({QStringLiteral("done")}); // the helper outlived its warnings
    } else if (what == u"flood") {
        const QString row(500, QLatin1Char('r'));
        for (int i = 0; i < 100000; ++i) // a damaged table that never ends
            sink.send({row});
    } else if (what == u"allocate") {
        QByteArray block(request.value(1).toLongLong(), 'm'); // throws past the cap
        sink.send({QString::number(block.count('m'))});
    } else if (what == u"descriptors") {
        sink.send(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::Files | QDir::System));
    } else if (what == u"arguments") {
        // As bytes: the lists themselves travel as UTF-8.
        QStringList bytes;
        for (const QString& argument : request.mid(1))
            bytes << QString::fromLatin1(platform::encodeFileName(argument).toHex());
        sink.send(bytes);
    }
}

} // namespace

int main(int argc, char** argv)
{
    return platform::RunHelper(argc, argv, Answer);
}
