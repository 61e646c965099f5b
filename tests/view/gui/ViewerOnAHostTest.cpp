// The viewers need no view window: a host of plain widgets that records what it is told
// is enough. The table and font viewers paint before their slow step without running
// any other event in the middle of a view.
#include "common/FontFixtures.h"
#include "common/TableFixtures.h"
#include "common/TempTree.h"
#include "controls/NodeTree.h"
#include "controls/gui/GridView.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "view/ViewerHost.h"
#include "view/fonts/gui/IconFontViews.h"
#include "view/table/gui/TableViewer.h"

#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QTextEdit>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>
#include <map>

namespace {

class NoEscape : public CancelKey {
public:
    bool pressed() override { return false; }
    void clear() override {}
};

/// A host of plain widgets that keeps what the viewers say.
class RecordingHost : public ViewerHost {
public:
    explicit RecordingHost(const Settings& settings) : settings_(settings)
    {
        for (QWidget* surface : {static_cast<QWidget*>(&text), static_cast<QWidget*>(&gridView),
                                 static_cast<QWidget*>(&treeWidget), &canvas, &status})
            surface->setParent(&window);
        treeWidget.setNodeModel(&model);
        window.resize(600, 400);
        window.show();
    }

    QWidget& hostWidget() override { return window; }
    const Settings& settings() const override { return settings_; }
    void setKindView(ViewAction action, KindView view) override { views[action] = view; }
    QAction* menuItem(ViewMenuItem) const override { return nullptr; }
    void whenPageNeedsRedraw(QObject*, std::function<void(ViewMode)>) override {}
    void whenViewEnds(QObject*, std::function<void()>) override {}
    void CloseView() override
    {
        ++viewsClosed;
        mode = ViewMode::None;
    }
    ViewMode viewMode() const override { return mode; }
    void setViewMode(ViewMode viewMode, const QString& file) override
    {
        mode = viewMode;
        table = file;
    }
    const QString& tableFile() const override { return table; }
    const QString& CurrentViewFile() const override { return current; }
    void SetViewPath(const QString& text) override { path = text; }
    void SetViewMessage(const QString& text) override { message = text; }
    QString statusMessage() const override { return message; }
    void setViewNote(const QString& text) override { message = text; }
    QWidget& statusArea() override { return status; }
    ThumbPage thumbPage() const override { return ThumbPage::None; }
    void setThumbPage(ThumbPage) override {}
    const QString& pointedItem() const override { return pointed; }
    void setPointedItem(const QString& item) override { pointed = item; }
    void setShownPicture(const QImage&, const QString&) override {}
    QTextEdit& textBox() override { return text; }
    GridView& grid() override { return gridView; }
    void ShowGrid() override { gridView.show(); }
    NodeTree& tree() override { return nodes; }
    NodeTreeView& treeView() override { return treeWidget; }
    QWidget& pageCanvas() override { return canvas; }

    /// Runs the viewer registered for `action` as the dispatch would.
    bool view(ViewAction action, const QString& file)
    {
        current = file;
        ViewRequest request;
        request.folder = file.left(file.lastIndexOf('/') + 1);
        request.name = file.mid(request.folder.size());
        return views.at(action)(request);
    }

    std::map<ViewAction, KindView> views;
    ViewMode mode = ViewMode::None;
    QString table, current, path, message, pointed;
    int viewsClosed = 0;

private:
    const Settings& settings_;
    QWidget window;
    QTextEdit text;
    GridView gridView;
    NodeTree nodes;
    NodeTreeModel model{nodes};
    NodeTreeView treeWidget;
    QWidget canvas;
    QWidget status;
};

/// True once a zero timer started now has run: never in the middle of a view.
struct OtherEvent {
    OtherEvent()
    {
        QTimer::singleShot(0, [this] { ran = true; });
    }
    bool ran = false;
};

NodeTree::Id ChildNamed(const NodeTree& tree, const QString& text)
{
    for (const NodeTree::Id id : tree.children(tree.root())) {
        if (tree.node(id).text == text)
            return id;
    }
    return NodeTree::None;
}

TEST(ViewerOnAHost, TheTableViewerShowsADatabaseAndItsTablesThroughTheHostAlone)
{
    TempTree files;
    if (!WriteSampleDatabase(files.path("s.mdb")))
        GTEST_SKIP() << "fp-units-db is not installed";
    Settings settings;
    settings.workFolder = WithSlash(files.folder("work"));
    ScriptedPrompts prompts;
    NoEscape escape;
    RecordingHost host(settings);
    TableViewer viewer(host, settings, prompts, escape);
    ASSERT_EQ(host.views.count(ViewAction::Database), 1u);

    const OtherEvent other;
    EXPECT_TRUE(host.view(ViewAction::Database, files.path("s.mdb")));
    EXPECT_FALSE(other.ran) << "the view ran another event midway";
    EXPECT_EQ(host.mode, ViewMode::Database);
    EXPECT_EQ(host.table, settings.workFolder + "TempMdbs.mdb");
    EXPECT_TRUE(host.treeView().isVisible());

    const NodeTree::Id table = ChildNamed(host.tree(), "FPdev");
    ASSERT_NE(table, NodeTree::None);
    viewer.nodeClicked(table);
    for (int i = 0; i < 2000 && viewer.loading(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    EXPECT_TRUE(host.grid().isVisible());
    EXPECT_FALSE(host.treeView().isVisible());
    EXPECT_EQ(host.grid().grid().textMatrix(0, 2), "UserName");
    EXPECT_EQ(host.path, files.path("s.mdb") + "[FPdev]");
    EXPECT_TRUE(prompts.shown.isEmpty());
}

TEST(ViewerOnAHost, TheFontSampleIsWrittenIntoTheHostsTextBox)
{
    const QByteArray bold = fontfixtures::installedFont("DejaVuSans-Bold.ttf");
    if (bold.isEmpty())
        GTEST_SKIP() << "fonts-dejavu-core is not installed";
    TempTree files;
    const QString path = files.file("DejaVuSans-Bold.ttf", bold);
    Settings settings;
    ScriptedPrompts prompts;
    NoEscape escape;
    RecordingHost host(settings);
    IconFontViews fonts(host, prompts, escape);

    const OtherEvent other;
    EXPECT_TRUE(host.view(ViewAction::FontSample, path));
    EXPECT_FALSE(other.ran) << "the view ran another event midway";
    EXPECT_EQ(host.mode, ViewMode::Font);
    EXPECT_EQ(host.viewsClosed, 1);
    EXPECT_TRUE(host.textBox().toPlainText().startsWith("DejaVu Sans Bold"));
    EXPECT_TRUE(host.textBox().isVisible());
}

} // namespace
