#include "app/gui/FileManagerService.h"

#include "app/gui/MainWindow.h"
#include "browse/gui/FileListPanel.h"
#include "common/ListingWait.h"
#include "common/RunTool.h"
#include "common/TempTree.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QDBusConnection>
#include <QStandardPaths>
#include <QStatusBar>
#include <gtest/gtest.h>
#include <optional>

namespace {

/// A private session bus for this test program when none is set, as on a build machine.
class PrivateSessionBus {
public:
    PrivateSessionBus()
    {
        if (qEnvironmentVariableIsSet("DBUS_SESSION_BUS_ADDRESS"))
            return;
        daemon_.emplace(QStringLiteral("dbus-daemon"),
                        QStringList{QStringLiteral("--session"), QStringLiteral("--nofork"),
                                    QStringLiteral("--print-address=1")});
        const QByteArray address = daemon_->firstLine(10000).trimmed();
        if (!address.isEmpty())
            qputenv("DBUS_SESSION_BUS_ADDRESS", address);
    }

private:
    std::optional<BackgroundTool> daemon_;
};

/// Runs a program to its end while this thread keeps serving the bus.
int runServing(const QString& program, const QStringList& args)
{
    return RunTool(program, args, {}, 20000,
                   [] { QApplication::processEvents(QEventLoop::AllEvents, 20); })
        .exitCode.value_or(-1);
}

QString currentName(const MainWindow& window)
{
    const NodeTreeView* view = window.fileListPanel()->fileList();
    return view->currentIndex().data().toString();
}

/// Calls a method of the FileManager1 interface from another program, as a browser does.
int callOverBus(const QString& gdbus, const QString& method, const QStringList& uris)
{
    QStringList quoted;
    for (const QString& uri : uris)
        quoted << QStringLiteral("'%1'").arg(uri);
    return runServing(
        gdbus, {QStringLiteral("call"), QStringLiteral("--session"), QStringLiteral("--dest"),
                QStringLiteral("org.lumara.Lumara"), QStringLiteral("--object-path"),
                QStringLiteral("/org/freedesktop/FileManager1"), QStringLiteral("--method"),
                QStringLiteral("org.freedesktop.FileManager1.") + method,
                QStringLiteral("[%1]").arg(quoted.join(u',')), QString()});
}

} // namespace

// What a web browser's "Show in folder" sends, from another program, over the session bus:
// the window gets local paths, decoded, and nothing for what is not a local file.
TEST(FileManagerService, CallsFromAnotherProgramReachTheWindowAsLocalPaths)
{
    const PrivateSessionBus bus;
    const QString gdbus = QStandardPaths::findExecutable(QStringLiteral("gdbus"));
    ASSERT_FALSE(gdbus.isEmpty()) << "gdbus (libglib2.0-bin) is needed";
    ASSERT_TRUE(QDBusConnection::sessionBus().isConnected());
    TempTree tree;
    tree.file(QStringLiteral("docs/b c.txt"), 2);
    QList<QStringList> shown, properties;
    FileManagerService service({[&](const QStringList& paths) { shown << paths; },
                                [&](const QStringList& paths) { properties << paths; }});
    ASSERT_TRUE(service.registerOnSessionBus());

    const QString uri = QStringLiteral("file://") + tree.path(QStringLiteral("docs/b%20c.txt"));
    EXPECT_EQ(callOverBus(gdbus, QStringLiteral("ShowItems"),
                          {uri, QStringLiteral("https://example.org/x")}),
              0);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0], QStringList{tree.path(QStringLiteral("docs/b c.txt"))});
    EXPECT_EQ(callOverBus(gdbus, QStringLiteral("ShowFolders"), {tree.path("docs")}), 0);
    ASSERT_EQ(shown.size(), 2);
    EXPECT_EQ(shown[1], QStringList{tree.path(QStringLiteral("docs"))});
    EXPECT_EQ(callOverBus(gdbus, QStringLiteral("ShowItemProperties"), {uri}), 0);
    EXPECT_EQ(properties, QList<QStringList>{shown[0]});
    QDBusConnection::sessionBus().unregisterObject(QStringLiteral("/org/freedesktop/FileManager1"));
    QDBusConnection::sessionBus().unregisterService(QStringLiteral("org.lumara.Lumara"));
    QDBusConnection::sessionBus().unregisterService(QStringLiteral("org.freedesktop.FileManager1"));
}

TEST(FileManagerService, ShownItemsOpenTheFolderWithTheFileSelected)
{
    TempTree tree;
    tree.file(QStringLiteral("docs/a.txt"), 1);
    tree.file(QStringLiteral("docs/b c.txt"), 2);
    tree.file(QStringLiteral("docs/d.txt"), 3);
    ScriptedPrompts prompts;
    MainWindow window(nullptr, &prompts);
    window.start(tree.root());
    window.showItems({tree.path(QStringLiteral("docs/b c.txt"))}, MainWindow::ItemAction::Show);
    ASSERT_TRUE(WaitForListing(*window.fileListPanel()));
    EXPECT_EQ(window.CurrentFolderPath(), tree.path(QStringLiteral("docs/")));
    EXPECT_EQ(currentName(window), QStringLiteral("b c.txt"));

    // A folder that is not there leaves the list as it was and says so.
    window.showItems({tree.path(QStringLiteral("gone"))}, MainWindow::ItemAction::Show);
    EXPECT_EQ(window.CurrentFolderPath(), tree.path(QStringLiteral("docs/")));
    EXPECT_TRUE(
        window.statusBar()->currentMessage().endsWith(QStringLiteral(" - no such file or folder")));
}
