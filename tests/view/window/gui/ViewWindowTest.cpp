#include "view/window/gui/ViewWindow.h"

#include "common/TempTree.h"
#include "controls/gui/HistoryListBox.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "view/ViewDispatch.h"
#include "view/window/gui/ClickLabel.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFontDatabase>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QScreen>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <QToolButton>
#include <QWebEngineView>
#include <gtest/gtest.h>

namespace {

class ViewWindowTest : public ::testing::Test {
protected:
    ViewWindowTest()
    {
        settings.tempFolder = tree.folder(QStringLiteral("temp")) + "/";
        settings.appFolder = tree.folder(QStringLiteral("app")) + "/";
        settings.unknownAsText = 0;
        window = std::make_unique<ViewWindow>(settings, prompts);
    }

    /// A request for `relative` as the file list fills it.
    ViewRequest request(const QString& relative) const
    {
        const QString path = tree.path(relative);
        const qsizetype slash = path.lastIndexOf('/');
        ViewRequest r;
        r.folder = path.left(slash + 1);
        r.name = path.mid(slash + 1);
        const qsizetype dot = r.name.lastIndexOf('.');
        r.extension = dot < 0 ? QStringLiteral(" ") : r.name.mid(dot).toUpper();
        r.kind = ClassifyFileKind(r.extension, settings);
        return r;
    }

    QStringList historyTexts() const
    {
        QStringList texts;
        const HistoryList& rows = window->fileHistoryList()->model();
        for (int i = 0; i < rows.ListCount(); ++i)
            texts << rows.list(i);
        return texts;
    }

    TempTree tree;
    Settings settings;
    ScriptedPrompts prompts;
    std::unique_ptr<ViewWindow> window;
};

TEST_F(ViewWindowTest, TextFileFillsRtbAndEntersTheHistory)
{
    tree.file(QStringLiteral("docs/notes.txt"), QByteArray("first line\r\ncaf\xE9"));
    const ViewRequest r = request(QStringLiteral("docs/notes.txt"));
    window->TriggerView(r);

    EXPECT_EQ(window->viewMode(), ViewMode::Text);
    EXPECT_EQ(window->textBox().toPlainText(), QStringLiteral(u"first line\ncafé"));
    EXPECT_FALSE(window->textBox().isHidden());
    EXPECT_EQ(window->CurrentViewFile(), r.fullPath());
    EXPECT_EQ(window->statusPath(), r.fullPath());
    EXPECT_EQ(window->statusMessage(), QString());
    EXPECT_EQ(historyTexts(), QStringList{r.fullPath()});
    EXPECT_EQ(window->fileHistoryList()->editField()->text(), r.fullPath());
    EXPECT_EQ(settings.fileHistory, QStringList{r.fullPath()});
}

TEST_F(ViewWindowTest, PipesAndUnreadableFilesAreNeverOpenedAndSaySo)
{
    // Reading a pipe would wait for a writer for ever and freeze the window.
    tree.fifo(QStringLiteral("pipe.txt"));
    const ViewRequest pipe = request(QStringLiteral("pipe.txt"));
    window->TriggerView(pipe);
    EXPECT_EQ(prompts.shownTexts(),
              QStringList{"cannot view " + pipe.fullPath() + ": not a regular file"});
    EXPECT_EQ(window->viewMode(), ViewMode::None);
    EXPECT_TRUE(historyTexts().isEmpty());

    prompts.shown.clear();
    const ViewRequest gone = request(QStringLiteral("gone.txt"));
    window->TriggerView(gone);
    EXPECT_EQ(prompts.shownTexts(),
              QStringList{"cannot view " + gone.fullPath() + ": No such file or directory"});
}

TEST_F(ViewWindowTest, HistoryKeepsNewestFirstWithoutTempFolderFiles)
{
    tree.file(QStringLiteral("a.txt"), QByteArray("a"));
    tree.file(QStringLiteral("b.txt"), QByteArray("b"));
    tree.file(QStringLiteral("temp/extracted.txt"), QByteArray("from a zip"));
    tree.file(QStringLiteral("temp/sub/deeper.txt"), QByteArray("from a zip folder"));
    const QString a = tree.path(QStringLiteral("a.txt"));
    const QString b = tree.path(QStringLiteral("b.txt"));

    window->TriggerView(request(QStringLiteral("a.txt")));
    window->TriggerView(request(QStringLiteral("b.txt")));
    window->TriggerView(request(QStringLiteral("a.txt"))); // moves up, one entry only
    EXPECT_EQ(historyTexts(), (QStringList{a, b}));

    window->TriggerView(request(QStringLiteral("temp/extracted.txt")));
    EXPECT_EQ(window->textBox().toPlainText(), QStringLiteral("from a zip"));
    EXPECT_EQ(window->CurrentViewFile(), tree.path(QStringLiteral("temp/extracted.txt")));
    window->TriggerView(request(QStringLiteral("temp/sub/deeper.txt")));
    // This run's own folder, made elsewhere when TempFolder could not hold it.
    settings.workFolder = tree.folder(QStringLiteral("Lumara-run001")) + "/";
    tree.file(QStringLiteral("Lumara-run001/entry.txt"), QByteArray("from a zip too"));
    window->TriggerView(request(QStringLiteral("Lumara-run001/entry.txt")));
    EXPECT_EQ(historyTexts(), (QStringList{a, b}));
    EXPECT_EQ(settings.fileHistory, (QStringList{a, b}));
}

TEST_F(ViewWindowTest, RichTextKeepsFormattingAndDocumentsShowPrintableText)
{
    tree.file(QStringLiteral("styled.rtf"),
              QByteArray("{\\rtf1{\\colortbl;\\red200\\green0\\blue0;}plain \\b\\cf1 loud}"));
    window->TriggerView(request(QStringLiteral("styled.rtf")));
    EXPECT_EQ(window->viewMode(), ViewMode::Text);
    EXPECT_EQ(window->textBox().toPlainText(), QStringLiteral("plain loud"));
    QTextCursor cursor(window->textBox().document());
    cursor.setPosition(8);
    EXPECT_EQ(cursor.charFormat().fontWeight(), QFont::Bold);
    EXPECT_EQ(cursor.charFormat().foreground().color(), QColor(200, 0, 0));

    tree.file(QStringLiteral("letter.doc"), QByteArray("\xD0\xCF\x11"
                                                       "Dear\r\nSir",
                                                       12));
    window->TriggerView(request(QStringLiteral("letter.doc")));
    EXPECT_EQ(window->viewMode(), ViewMode::Document);
    EXPECT_EQ(window->textBox().toPlainText(),
              QStringLiteral("Dear\nSir") + QString(1024 - 12, ' '));
}

TEST_F(ViewWindowTest, ReopensFromTheHistoryOrSaysWhatWentWrong)
{
    tree.file(QStringLiteral("one.txt"), QByteArray("one"));
    tree.file(QStringLiteral("two.doc"), QByteArray("two"));
    tree.file(QStringLiteral("odd.xyz"), QByteArray("odd"));
    tree.file(QStringLiteral("bad.bmp"), QByteArray("not a picture"));
    const QString one = tree.path(QStringLiteral("one.txt"));
    window->TriggerView(request(QStringLiteral("one.txt")));
    window->TriggerView(request(QStringLiteral("two.doc")));

    window->OpenFileHistoryEntry(one);
    EXPECT_EQ(window->viewMode(), ViewMode::Text);
    EXPECT_EQ(window->textBox().toPlainText(), QStringLiteral("one"));
    EXPECT_EQ(window->CurrentViewFile(), one);
    EXPECT_EQ(window->statusPath(), one);

    const QString gone = tree.path(QStringLiteral("gone.txt"));
    window->OpenFileHistoryEntry(gone);
    EXPECT_EQ(prompts.shownTexts(), QStringList{QStringLiteral("file not found:\r\n") + gone});
    EXPECT_EQ(prompts.shown.last().title, QStringLiteral("Varnex"));
    EXPECT_EQ(window->CurrentViewFile(), one); // the previous view stays
    EXPECT_EQ(window->viewMode(), ViewMode::Text);

    // A kind with no view only ends the current one.
    window->OpenFileHistoryEntry(tree.path(QStringLiteral("odd.xyz")));
    EXPECT_EQ(window->viewMode(), ViewMode::None);
    EXPECT_EQ(window->statusPath(), QString());

    window->setKindView(ViewAction::Picture, [](const ViewRequest&) { return false; });
    const QString bad = tree.path(QStringLiteral("bad.bmp"));
    window->OpenFileHistoryEntry(bad);
    EXPECT_EQ(prompts.shownTexts().last(), QStringLiteral("error in displaying file:\r\n") + bad);
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(ViewWindowTest, FileHistoryDropsDownReopensAndClearsWhatIsSaved)
{
    tree.file(QStringLiteral("one.txt"), QByteArray("one"));
    tree.file(QStringLiteral("two.txt"), QByteArray("two"));
    window->resize(640, 480);
    window->show();
    window->TriggerView(request(QStringLiteral("one.txt")));
    window->TriggerView(request(QStringLiteral("two.txt")));
    HistoryListBox* history = window->fileHistoryList();
    EXPECT_GE(history->width(), 300) << "the strip gives the list the window's width";
    EXPECT_EQ(history->height(), history->editField()->height()) << "one field high";

    history->dropButton()->click();
    ASSERT_TRUE(history->isDroppedDown());
    QWidget* rows = history->rowsViewport();
    EXPECT_GE(rows->height(), 2 * history->rowHeight()) << "both rows show";
    const QPoint second(10, history->rowHeight() + 2);
    QMouseEvent click(QEvent::MouseButtonRelease, second, rows->mapToGlobal(second), Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &click);
    EXPECT_FALSE(history->isDroppedDown());
    EXPECT_EQ(window->CurrentViewFile(), tree.path(QStringLiteral("one.txt")));
    EXPECT_EQ(window->textBox().toPlainText(), QStringLiteral("one"));

    // "Clear" from the list's own menu empties what the profile will save as well.
    prompts.answers << Prompts::Answer::Yes;
    QTimer::singleShot(0, [history] {
        for (QAction* action : history->popupMenu()->actions()) {
            if (action->text() == QStringLiteral("Clear"))
                action->trigger();
        }
        history->popupMenu()->close();
    });
    QMouseEvent right(QEvent::MouseButtonRelease, second, rows->mapToGlobal(second),
                      Qt::RightButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(rows, &right);
    EXPECT_EQ(history->model().ListCount(), 0);
    EXPECT_TRUE(settings.fileHistory.isEmpty());
}

TEST_F(ViewWindowTest, CopyDependsOnTheView)
{
    tree.file(QStringLiteral("copy.txt"), QByteArray("copy me please"));
    window->TriggerView(request(QStringLiteral("copy.txt")));
    QTextCursor cursor(window->textBox().document());
    cursor.setPosition(5);
    cursor.setPosition(7, QTextCursor::KeepAnchor);
    window->textBox().setTextCursor(cursor);
    window->Copy();
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("me"));
    EXPECT_EQ(prompts.shownTexts().last(),
              QStringLiteral("copied to clipboard, use CTRL-V to paste"));

    window->setViewMode(ViewMode::Thumbnails);
    window->Copy();
    EXPECT_EQ(prompts.shownTexts().last(), QStringLiteral("right-click on picture to copy"));

    NodeTree& tableTree = window->tree();
    const NodeTree::Id root =
        tableTree.add(NodeTree::None, QStringLiteral("R"), QStringLiteral("host"));
    const NodeTree::Id child = tableTree.add(root, QStringLiteral("R1"), QStringLiteral("System"));
    tableTree.add(child, QStringLiteral("R10"), QStringLiteral("Linux"));
    window->setViewMode(ViewMode::SystemInfo);
    window->Copy();
    EXPECT_EQ(QApplication::clipboard()->text(),
              QStringLiteral("host\r\n        System\r\n                Linux\r\n"));
    EXPECT_EQ(prompts.shownTexts().last(),
              QStringLiteral("information tree copied to clipboard, use CTRL-V to paste"));

    window->setViewMode(ViewMode::Picture);
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    window->setShownPicture(red, QStringLiteral("/pics/red.bmp"));
    window->Copy();
    EXPECT_EQ(QApplication::clipboard()->image().pixel(0, 0), qRgb(255, 0, 0));
    EXPECT_EQ(prompts.shownTexts().last(),
              QStringLiteral("/pics/red.bmp\r\ncopied, use CTRL-V to paste"));
}

TEST_F(ViewWindowTest, OfficeDocumentsUseTheOleViewOrSayWhyNotAndOfferRun)
{
    // The OLE view without LibreOffice: the status bar says why there is no preview and
    // "Run" offers the document's own program.
    tree.file(QStringLiteral("deck.ppt"), QByteArray("not really a deck"));
    tree.file(QStringLiteral("plan.mpp"), QByteArray("not really a plan"));
    window->resize(640, 480);
    window->show();
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", tree.path(QStringLiteral("app")).toUtf8()); // no soffice here
    window->TriggerView(request(QStringLiteral("deck.ppt")));
    EXPECT_EQ(window->viewMode(), ViewMode::Ole);
    EXPECT_FALSE(window->firstChartNote()->isHidden());
    EXPECT_EQ(window->firstChartNote()->text(),
              QStringLiteral("First chart: double-click to view full presentation"));
    EXPECT_EQ(window->statusMessage(),
              QStringLiteral("a preview needs LibreOffice, which is not installed: \"Run\" opens "
                             "it in its default application"));
    EXPECT_FALSE(window->runDocumentButton()->isHidden());
    EXPECT_EQ(window->runDocumentButton()->text(), QStringLiteral("Run"));
    EXPECT_TRUE(
        window->documentPreview()->geometry().contains(window->runDocumentButton()->geometry()));
    EXPECT_TRUE(window->textBox().isHidden());
    window->OpenFileHistoryEntry(tree.path(QStringLiteral("plan.mpp")));
    qputenv("PATH", path);
    EXPECT_TRUE(window->statusMessage().startsWith(QStringLiteral("a preview needs LibreOffice")));
    EXPECT_TRUE(prompts.shown.isEmpty());

    // CloseView hides the OLE view again and forgets the mode.
    int mediaStops = 0;
    QObject::connect(window.get(), &ViewWindow::stopMediaRequested,
                     [&mediaStops] { ++mediaStops; });
    window->CloseView();
    EXPECT_TRUE(window->firstChartNote()->isHidden());
    EXPECT_TRUE(window->documentPreview()->isHidden());
    EXPECT_TRUE(window->runDocumentButton()->isHidden());
    EXPECT_EQ(window->viewMode(), ViewMode::None);
    EXPECT_EQ(mediaStops, 1);
}

TEST_F(ViewWindowTest, NoEarlierTextShowsUnderAViewWithoutText)
{
    tree.file(QStringLiteral("notes.txt"), QByteArray("earlier text"));
    tree.file(QStringLiteral("pack.zip"), QByteArray("PK"));
    window->show();
    window->TriggerView(request(QStringLiteral("notes.txt")));
    EXPECT_FALSE(window->textBox().isHidden());
    window->TriggerView(request(QStringLiteral("pack.zip"))); // an archive node
    EXPECT_TRUE(window->textBox().isHidden());
    window->TriggerView(request(QStringLiteral("notes.txt")));
    EXPECT_FALSE(window->textBox().isHidden());
}

TEST_F(ViewWindowTest, FirstOpensWhollyOnTheScreenAndTextIsNoSmallerThanTheInterface)
{
    ViewWindow fresh(settings, prompts);
    fresh.show();
    const QRect screen = fresh.screen()->availableGeometry();
    EXPECT_TRUE(screen.contains(fresh.frameGeometry())) << "frame below the screen's edge";

    // "MS Sans Serif" of a new profile is not installed here.
    ASSERT_FALSE(QFontDatabase::hasFamily(settings.viewFont.name));
    EXPECT_GE(fresh.textViewFont().pointSizeF(), fresh.font().pointSizeF());
    EXPECT_EQ(fresh.textViewFont().family(), fresh.font().family());
    settings.viewFont.size = 6.75; // a size the user chose is kept
    EXPECT_EQ(fresh.textViewFont().pointSizeF(), 6.75);
    const QString installed = QFontDatabase::families().value(0);
    settings.viewFont = {installed, 20};
    EXPECT_EQ(fresh.textViewFont().family(), installed);
    EXPECT_EQ(fresh.textViewFont().pointSizeF(), 20);
}

TEST_F(ViewWindowTest, LaysOutTheViewAreaBelowTheStrip)
{
    window->resize(640, 480);
    window->show();
    window->LayoutView();
    const QRect area = window->viewArea();
    EXPECT_GT(area.top(), window->fileHistoryList()->geometry().bottom());
    EXPECT_EQ(area.width(), window->centralWidget()->width());
    EXPECT_EQ(area.bottom(), window->centralWidget()->height() - 1);
    EXPECT_EQ(window->textBox().geometry(), area);
    EXPECT_EQ(window->treeView().geometry(), area);
    EXPECT_EQ(window->backLabel()->toolTip(), QStringLiteral("Click to goback one display"));

    QStringList captions;
    for (const QAction* menu : window->menuBar()->actions())
        for (const QAction* item : menu->menu()->actions())
            captions << item->text();
    for (const char* c : {"Rotate left", "Rotate right", "System Information", "Options",
                          "Show size bar", "Find Text", "Copy", "Cancel", "Normal", "Maximise"})
        EXPECT_TRUE(captions.contains(QString::fromLatin1(c))) << c;
    EXPECT_TRUE(window->menuItem(ViewMenuItem::Copy)->isEnabled());
}

TEST_F(ViewWindowTest, KindsOfLaterViewsRunTheirRegisteredViewOrNothing)
{
    tree.file(QStringLiteral("song.mp3"), QByteArray("ID3"));
    tree.file(QStringLiteral("sheet.xls"), QByteArray("x"));
    tree.file(QStringLiteral("ship.tif"), QByteArray("x"));
    window->TriggerView(request(QStringLiteral("song.mp3")));
    EXPECT_EQ(window->viewMode(), ViewMode::None);
    EXPECT_EQ(window->statusPath(), tree.path(QStringLiteral("song.mp3")));

    QStringList seen;
    window->setKindView(ViewAction::Sound, [&seen](const ViewRequest& r) {
        seen << r.name;
        return true;
    });
    window->TriggerView(request(QStringLiteral("song.mp3")));
    window->TriggerView(request(QStringLiteral("sheet.xls")));
    EXPECT_EQ(window->viewMode(), ViewMode::Workbook);
    EXPECT_EQ(window->tableFile(), tree.path(QStringLiteral("sheet.xls")));
    window->TriggerView(request(QStringLiteral("ship.tif")));
    EXPECT_EQ(seen, QStringList{QStringLiteral("song.mp3")});
    EXPECT_EQ(historyTexts().size(), 3);

    ViewRequest icons = request(QStringLiteral("song.mp3"));
    icons.iconsView = true;
    window->TriggerView(icons);
    EXPECT_EQ(window->thumbPage(), ThumbPage::Icons);
    EXPECT_EQ(window->CurrentViewFile(), icons.fullPath());
    EXPECT_EQ(historyTexts().size(), 3); // the icons view is not a file view
}

TEST_F(ViewWindowTest, HelpPageOpensInTheBrowser)
{
    tree.file(QStringLiteral("app/Lumarahelp.htm"), QByteArray("<html><body>Help</body></html>"));
    ViewRequest help;
    help.folder = settings.appFolder;
    help.name = QStringLiteral("Lumarahelp.htm");
    help.extension = QStringLiteral(".HTM");
    help.kind = FileKind::Html;
    window->TriggerView(help);
    EXPECT_EQ(window->viewMode(), ViewMode::Web);
    EXPECT_EQ(window->statusPath(), QStringLiteral("Varnex Help"));
    ASSERT_NE(window->browser(), nullptr);
    EXPECT_FALSE(window->browser()->isHidden());
    EXPECT_EQ(window->browser()->url().toLocalFile(), help.fullPath());
    EXPECT_TRUE(window->textBox().isHidden());

    window->CloseView();
    EXPECT_TRUE(window->browser()->isHidden());
}

} // namespace

TEST_F(ViewWindowTest, AViewNotBuiltYetSaysSoInTheStatusBar)
{
    tree.file(QStringLiteral("photo.bmp"), 10);
    window->TriggerView(request(QStringLiteral("photo.bmp")));
    EXPECT_EQ(window->statusMessage(), QStringLiteral("pictures cannot be shown yet"));
    tree.file(QStringLiteral("face.ttf"), 10);
    window->TriggerView(request(QStringLiteral("face.ttf")));
    EXPECT_EQ(window->statusMessage(), QStringLiteral("fonts cannot be shown yet"));
    tree.file(QStringLiteral("plain.txt"), 10);
    window->TriggerView(request(QStringLiteral("plain.txt")));
    EXPECT_EQ(window->statusMessage(), QString());
}

TEST_F(ViewWindowTest, LargeTextShowsItsBeginningAtOnceAndTheRestInSlices)
{
    QByteArray line("0123456789 a line of a large log file\n");
    QByteArray bytes;
    while (bytes.size() < 3 * ViewWindow::TextSlice)
        bytes += line;
    tree.file(QStringLiteral("big.log"), bytes);
    window->TriggerView(request(QStringLiteral("big.log")));
    EXPECT_TRUE(window->textLoading());
    EXPECT_LT(window->textBox().toPlainText().size(), bytes.size());
    EXPECT_GT(window->textBox().toPlainText().size(), 0);
    for (int i = 0; i < 100 && window->textLoading(); ++i)
        QApplication::processEvents();
    EXPECT_FALSE(window->textLoading());
    const auto shown = [this] {
        QByteArray text = window->textBox().toPlainText().toUtf8();
        while (text.endsWith('\n'))
            text.chop(1);
        return text;
    };
    EXPECT_EQ(shown() + "\n", bytes);
    EXPECT_EQ(window->statusMessage(), QString());

    // Escape ends the load and keeps what was shown; a limit leaves the rest unread.
    window->setTextLimit(2 * ViewWindow::TextSlice);
    window->TriggerView(request(QStringLiteral("big.log")));
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QApplication::sendEvent(window.get(), &escape);
    EXPECT_FALSE(window->textLoading());
    EXPECT_EQ(window->statusMessage(), QStringLiteral("loading stopped"));
    EXPECT_NEAR(double(shown().size()), double(ViewWindow::FirstTextSlice), 1.0);

    window->CloseView();
    window->TriggerView(request(QStringLiteral("big.log")));
    for (int i = 0; i < 100 && window->textLoading(); ++i)
        QApplication::processEvents();
    EXPECT_NEAR(double(shown().size()), double(2 * ViewWindow::TextSlice), 1.0);
    EXPECT_TRUE(window->statusMessage().startsWith(QStringLiteral("first 2 Mb of")))
        << window->statusMessage().toStdString();
}
