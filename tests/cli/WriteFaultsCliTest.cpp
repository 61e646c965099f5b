// Every writing command of lumara-cli under every fault: it must exit non-zero, say why
// with the system's reason, keep the old file whole and leave nothing behind.
#include "CliRun.h"
#include "common/IconFixtures.h"
#include "common/TempTree.h"
#include "common/Unprivileged.h"
#include "common/ZipFixtures.h"

#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QImage>
#include <functional>
#include <gtest/gtest.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

void write(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    ASSERT_EQ(f.write(bytes), bytes.size());
}

/// Everything below `folder`, as relative paths (hidden ones included).
QStringList everything(const QString& folder)
{
    QStringList all;
    QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        all << QDir(folder).relativeFilePath(it.next());
    all.sort();
    return all;
}

/// The inputs every command reads, made by the test (the zip by Info-ZIP's zip).
struct Sources {
    explicit Sources(TempTree& t)
    {
        text = t.file("in/data.txt", QByteArray(100 * 1024, 'd'));
        picture = t.path("in/picture.bmp");
        QImage image(64, 32, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        image.save(picture, "BMP");
        program =
            t.file("in/setup.exe", iconfixtures::peWithIcons({{iconfixtures::dibImage(16, 4)}}));
        zip = t.path("in/data.zip");
        ZipWithTool(t.path("in"), zip, {"data.txt"});
        // The old zip that a zip command adds to must itself be a zip.
        t.file("old/old.txt", QByteArray("old"));
        ZipWithTool(t.path("old"), "old.zip", {"old.txt"});
        oldZip = FileBytes(t.path("old/old.zip"));
    }
    QString text, picture, program, zip;
    QByteArray oldZip;
};

/// One writing command: its arguments for a source and a target folder, and the file
/// it writes there.
struct Command {
    const char* name;
    QString written; ///< the file's name in the folder
    std::function<QStringList(const Sources&, const QString&)> args; ///< (sources, folder)
    std::function<QString(const Sources&)> source; ///< the input the "unreadable" fault spoils
    bool addsToOld = false;                        ///< the old file must be of its kind (a zip)
};

QList<Command> commands()
{
    return {
        {"copy", "data.txt",
         [](const Sources& s, const QString& dir) {
             return QStringList{"copy", "--yes-all", dir, s.text};
         },
         [](const Sources& s) { return s.text; }},
        {"zip", "out.zip",
         [](const Sources& s, const QString& dir) {
             return QStringList{"zip", dir + "/out.zip", s.text};
         },
         [](const Sources& s) { return s.text; }, true},
        {"unzip", "data.txt",
         [](const Sources& s, const QString& dir) {
             return QStringList{"unzip", "--overwrite", s.zip, "data.txt", dir};
         },
         [](const Sources& s) { return s.zip; }},
        {"icons --save", "out.ico",
         [](const Sources& s, const QString& dir) {
             return QStringList{"icons", "--save", "1", s.program, dir + "/out.ico"};
         },
         [](const Sources& s) { return s.program; }},
        {"basket save",
         "out.bsk",
         [](const Sources& s, const QString& dir) {
             return QStringList{"basket", "save", dir + "/out.bsk", s.text};
         },
         {}},
        {"picture", "out.png",
         [](const Sources& s, const QString& dir) {
             return QStringList{"picture", s.picture, "--out", dir + "/out.png"};
         },
         [](const Sources& s) { return s.picture; }},
    };
}

enum class Fault { MissingFolder, ReadOnlyFolder, FullDisk, TargetIsFolder, UnreadableSource };

/// A small file system of its own, for the faults only root can make.
class SmallMount {
public:
    explicit SmallMount(const QString& at) : at_(at)
    {
        QDir().mkpath(at);
        mounted_ = ::mount("tmpfs", at.toUtf8().constData(), "tmpfs", 0, "size=256k") == 0;
    }
    ~SmallMount()
    {
        if (mounted_)
            ::umount2(at_.toUtf8().constData(), MNT_DETACH);
    }
    [[nodiscard]] bool mounted() const { return mounted_; }
    bool makeReadOnly()
    {
        return ::mount("tmpfs", at_.toUtf8().constData(), "tmpfs", MS_REMOUNT | MS_RDONLY,
                       "size=256k") == 0;
    }
    /// Fills what is left with one file.
    void fill()
    {
        QFile f(at_ + "/.filler");
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        const QByteArray block(4096, 'f');
        while (f.write(block) == block.size()) {
        }
    }

private:
    QString at_;
    bool mounted_ = false;
};

struct Case {
    Fault fault;
    const char* name;
    QStringList reasons; ///< one of them must be in the message
};

/// Runs every command under `fault` and checks the outcome.
void runFault(const Case& c)
{
    for (const Command& command : commands()) {
        SCOPED_TRACE(std::string(command.name) + " under " + c.name);
        TempTree t;
        Sources sources(t);
        QString dir = t.path("out");
        const QByteArray old = command.addsToOld ? sources.oldZip : QByteArray("the old file");
        std::unique_ptr<SmallMount> mount;
        bool oldFile = true;
        switch (c.fault) {
        case Fault::MissingFolder:
            // unzip makes the folders of its destination: one lies beneath a file here.
            dir = command.name == std::string("unzip") ? t.file("plain", 1) + "/sub"
                                                       : t.path("missing/sub");
            oldFile = false;
            break;
        case Fault::ReadOnlyFolder:
        case Fault::FullDisk:
            if (!RunningAsRoot()) {
                if (c.fault == Fault::FullDisk)
                    GTEST_SKIP() << "a full disk needs a tmpfs, which only root can mount";
                t.folder("out");
                write(dir + "/" + command.written, old);
                ::chmod(dir.toUtf8().constData(), 0555);
                break;
            }
            mount = std::make_unique<SmallMount>(dir);
            if (!mount->mounted())
                GTEST_SKIP() << "no tmpfs could be mounted";
            write(dir + "/" + command.written, old);
            if (c.fault == Fault::FullDisk)
                mount->fill();
            else
                ASSERT_TRUE(mount->makeReadOnly());
            break;
        case Fault::TargetIsFolder:
            t.folder("out/" + command.written + "/inside");
            oldFile = false;
            break;
        case Fault::UnreadableSource:
            if (!command.source)
                continue; // the basket file names its paths without reading them
            t.folder("out");
            write(dir + "/" + command.written, old);
            if (RunningAsRoot()) { // permissions do not stop root: a pipe in its place
                QFile::remove(command.source(sources));
                ASSERT_EQ(::mkfifo(command.source(sources).toUtf8().constData(), 0600), 0);
            } else {
                ::chmod(command.source(sources).toUtf8().constData(), 0);
            }
            break;
        }
        const QStringList before = everything(t.path("out"));
        const CliRun run = RunCli(command.args(sources, dir));
        ::chmod(t.path("out").toUtf8().constData(), 0755);

        EXPECT_NE(run.status, 0) << run.out.toStdString();
        EXPECT_TRUE(std::any_of(c.reasons.begin(), c.reasons.end(), [&](const QString& r) {
            return run.err.contains(r);
        })) << run.err.toStdString();
        if (oldFile) {
            EXPECT_EQ(FileBytes(dir + "/" + command.written), old);
        }
        if (c.fault == Fault::TargetIsFolder) {
            EXPECT_TRUE(QFileInfo(dir + "/" + command.written + "/inside").isDir());
        }
        EXPECT_EQ(everything(t.path("out")), before); // no partial file, no new folder
        if (c.fault == Fault::MissingFolder) {
            EXPECT_FALSE(QFileInfo::exists(t.path("missing")));
        }
    }
}

} // namespace

TEST(WriteFaults, EveryWritingCommandFailsWithTheReasonAndKeepsTheOldFile)
{
    const QList<Case> cases{
        {Fault::MissingFolder,
         "a missing folder",
         {"No such file or directory", "Not a directory"}},
        {Fault::ReadOnlyFolder,
         "a read-only folder",
         {"Read-only file system", "Permission denied"}},
        {Fault::TargetIsFolder, "a folder in the file's place", {"Is a directory"}},
        {Fault::UnreadableSource,
         "an unreadable source",
         {"Permission denied", "not a regular file"}},
        {Fault::FullDisk, "a full disk", {"No space left on device", "are free there"}},
    };
    for (const Case& c : cases)
        runFault(c);
}
