#include "platform/Shell.h"

#include "app/Profile.h"
#include "common/TempTree.h"

#include <QStandardPaths>
#include <gtest/gtest.h>

namespace {

// Points the XDG folders at a fixture for the lifetime of the object.
class XdgFixture {
public:
    explicit XdgFixture(const TempTree& tree)
    {
        for (const char* name :
             {"XDG_CONFIG_HOME", "XDG_CONFIG_DIRS", "XDG_DATA_HOME", "XDG_DATA_DIRS"}) {
            saved_.append({name, qgetenv(name)});
        }
        qputenv("XDG_CONFIG_HOME", tree.path("config").toUtf8());
        qputenv("XDG_CONFIG_DIRS", tree.path("etc").toUtf8());
        qputenv("XDG_DATA_HOME", tree.path("data").toUtf8());
        // The system folders stay behind the fixture: they hold the MIME database.
        qputenv("XDG_DATA_DIRS", tree.path("share").toUtf8() + ":/usr/local/share:/usr/share");
    }
    ~XdgFixture()
    {
        for (const auto& [name, value] : saved_) {
            if (value.isNull())
                qunsetenv(name);
            else
                qputenv(name, value);
        }
    }

private:
    QList<std::pair<const char*, QByteArray>> saved_;
};

} // namespace

TEST(Shell, DefaultApplicationComesFromMimeappsOrTheDesktopCache)
{
    TempTree tree;
    const XdgFixture xdg(tree);
    tree.file("data/applications/editor.desktop",
              QByteArray("[Desktop Entry]\nName=Pad\nExec=pad %F\n[Desktop Action new]\n"
                         "Name=New\nExec=pad --new\n"));
    tree.file("share/applications/viewer.desktop",
              QByteArray("[Desktop Entry]\nName=Viewer\nExec=viewer %u\n"));
    tree.file("config/mimeapps.list",
              QByteArray("[Added Associations]\ntext/plain=viewer.desktop;\n"
                         "[Default Applications]\ntext/plain=missing.desktop;editor.desktop;\n"));
    tree.file("share/applications/mimeinfo.cache",
              QByteArray("[MIME Cache]\nimage/png=viewer.desktop;\n"));
    const QString text = tree.file("notes.txt", QByteArray("hello\n"));
    const QString png = tree.file("p.png", QByteArray("\x89PNG\r\n\x1a\n", 8));
    const QString odd = tree.file("blob.qqzz", QByteArray("\x01\x02\x03", 3));

    const auto editor = platform::DefaultApplication(text);
    ASSERT_TRUE(editor.has_value());
    EXPECT_EQ(editor->name, QStringLiteral("Pad"));
    EXPECT_EQ(editor->exec, QStringLiteral("pad %F"));
    const auto viewer = platform::DefaultApplication(png);
    ASSERT_TRUE(viewer.has_value());
    EXPECT_EQ(viewer->name, QStringLiteral("Viewer"));
    EXPECT_FALSE(platform::DefaultApplication(odd).has_value());

    EXPECT_FALSE(platform::MimeTypeName(text).isEmpty());
    EXPECT_NE(platform::MimeTypeName(text), QStringLiteral("unknown"));
    tree.file("run.sh", QByteArray("#!/bin/sh\n"));
    EXPECT_FALSE(platform::IsExecutableFile(tree.path("run.sh")));
    QFile::setPermissions(tree.path("run.sh"), QFile::ReadOwner | QFile::ExeOwner);
    EXPECT_TRUE(platform::IsExecutableFile(tree.path("run.sh")));
}

TEST(Shell, ProfileFallsBackToTheUserConfigFolder)
{
    TempTree tree;
    const XdgFixture xdg(tree);
    EXPECT_EQ(ProfileLocation(tree.root()), tree.path("Lumara.pro"));
    EXPECT_EQ(ProfileLocation(tree.path("no/such/folder")), tree.path("config/Lumara/Lumara.pro"));
}
