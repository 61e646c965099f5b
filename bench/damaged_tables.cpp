// 300 damaged copies of a real .mdb (cut short, or with bits flipped, by the tests'
// mutator), each read as the view reads a database: the table list, then every field
// and record of every table. Each copy is read in a process of its own, timed, and its
// memory measured (its own peak and the peak of the helper it starts). Prints the slowest
// copy and the largest peaks; exits 1 when any copy took 3 s or more, or 300 MB or more.
//
//   build/bench/bench_damaged_tables [FILE.mdb] [COPIES]
//
// Without FILE the sample database of fp-units-db is used.
#include "../tests/common/DamagedCopies.h"
#include "../tests/common/TableFixtures.h"
#include "platform/TableSource.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr qint64 MostMs = 3000;
constexpr long MostKb = 300 * 1024;

/// Reads everything of the database; true when it all read.
bool readAll(const QString& path)
{
    try {
        platform::Database db(path);
        for (const QString& table : db.tableNames()) {
            (void)db.fields(table);
            const auto records =
                db.openRecords(QStringLiteral("SELECT * FROM [") + table + QLatin1Char(']'));
            QStringList values;
            while (records->next(values)) {
            }
        }
        return true;
    } catch (const platform::TableSourceError&) {
        return false; // what the view reports as a file it cannot open
    }
}

struct Run {
    qint64 ms = 0;
    long ownKb = 0;    // the reading process
    long helperKb = 0; // the largest helper it started
    bool read = false;
};

Run readInProcess(const QString& path)
{
    int ends[2];
    if (::pipe(ends) != 0)
        std::exit(2);
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(ends[0]);
        Run run;
        run.read = readAll(path);
        rusage self{}, children{};
        ::getrusage(RUSAGE_SELF, &self);
        ::getrusage(RUSAGE_CHILDREN, &children);
        run.ownKb = self.ru_maxrss;
        run.helperKb = children.ru_maxrss;
        (void)!::write(ends[1], &run, sizeof run);
        _exit(0);
    }
    ::close(ends[1]);
    Run run;
    const bool reported = ::read(ends[0], &run, sizeof run) == ssize_t(sizeof run);
    ::close(ends[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    run.ms = clock.elapsed();
    if (!reported)
        run.read = false;
    return run;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    // Tables are read by the helper program of this build.
    if (qEnvironmentVariableIsEmpty("LUMARA_TABLE_HELPER"))
        qputenv("LUMARA_TABLE_HELPER", LUMARA_TABLE_HELPER);
    QTemporaryDir dir;
    QString original = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    if (original.isEmpty()) {
        original = dir.filePath(QStringLiteral("sample.mdb"));
        if (!WriteSampleDatabase(original)) {
            std::fprintf(stderr, "fp-units-db is not installed; give a .mdb file\n");
            return 2;
        }
    }
    const int count = argc > 2 ? std::atoi(argv[2]) : 300;
    QFile in(original);
    if (!in.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read %s\n", qPrintable(original));
        return 2;
    }
    const QList<QByteArray> copies = DamagedCopies(in.readAll(), count);
    Run worst;
    qint64 totalMs = 0;
    int read = 0;
    int over = 0;
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const QString path = dir.filePath(QStringLiteral("copy%1.mdb").arg(i, 3, 10, QChar(u'0')));
        QFile out(path);
        if (!out.open(QIODevice::WriteOnly) || out.write(copies[i]) != copies[i].size())
            return 2;
        out.close();
        const Run run = readInProcess(path);
        QFile::remove(path);
        totalMs += run.ms;
        read += run.read ? 1 : 0;
        worst.ms = std::max(worst.ms, run.ms);
        worst.ownKb = std::max(worst.ownKb, run.ownKb);
        worst.helperKb = std::max(worst.helperKb, run.helperKb);
        if (run.ms >= MostMs || run.ownKb + run.helperKb >= MostKb) {
            ++over;
            std::printf("copy %lld (%s, %lld bytes): %lld ms, %ld + %ld KB\n", qint64(i),
                        i % 2 == 0 ? "truncated" : "bits flipped", qint64(copies[i].size()), run.ms,
                        run.ownKb, run.helperKb);
        }
    }
    std::printf("%lld damaged copies of %s: %d read whole, %lld failed as unreadable\n",
                qint64(copies.size()), qPrintable(original), read, qint64(copies.size()) - read);
    std::printf("slowest %lld ms, mean %lld ms; largest peak %ld KB reading, %ld KB in the "
                "helper\n",
                worst.ms, copies.isEmpty() ? 0 : totalMs / copies.size(), worst.ownKb,
                worst.helperKb);
    std::printf("%d copies at or over 3 s or 300 MB\n", over);
    return over == 0 ? 0 : 1;
}
