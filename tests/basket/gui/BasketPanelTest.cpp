#include "basket/gui/BasketPanel.h"

#include "basket/Basket.h"
#include "basket/OverwritePairs.h"
#include "basket/gui/BasketDrag.h"
#include "basket/gui/BasketGridView.h"
#include "basket/gui/BasketIcon.h"
#include "basket/gui/BasketMenu.h"
#include "basket/gui/CopyOverwriteDialog.h"
#include "common/TempTree.h"
#include "platform/CancelKey.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPushButton>
#include <QTableView>
#include <atomic>
#include <gtest/gtest.h>

namespace {

/// Runs the event loop until the panel's copy has ended.
void FinishCopy(BasketPanel& panel)
{
    QEventLoop loop;
    QObject::connect(&panel, &BasketPanel::copyFinished, &loop, &QEventLoop::quit);
    if (panel.copying())
        loop.exec();
}

/// Runs the event loop until the panel's zip has ended.
void FinishZip(BasketPanel& panel)
{
    QEventLoop loop;
    QObject::connect(&panel, &BasketPanel::zipFinished, &loop, &QEventLoop::quit);
    if (panel.zipping())
        loop.exec();
}

/// Escape as the event loop delivered it, down from its `downAt`-th look on (never
/// when 0). The panel's checks run from the event loop or a worker: they must read
/// what was delivered, never run events themselves.
struct DeliveredEscape : CancelKey {
    bool pressed() override
    {
        if (++looks == downAt)
            down = true;
        return down;
    }
    void clear() override { down = false; }
    std::atomic<int> looks{0};
    std::atomic<bool> down{false};
    int downAt = 0;
};

/// Where the screenshots go when LUMARA_SCREENSHOTS names a folder.
void Shot(QWidget* widget, const QString& name)
{
    const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS");
    if (!folder.isEmpty())
        widget->grab().save(folder + "/" + name + ".png");
}

struct PanelFixture {
    Settings settings;
    ScriptedPrompts prompts;
    DeliveredEscape escape;
    QWidget window;
    BasketPanel panel{settings, prompts, escape, &window};
    QString status;

    PanelFixture()
    {
        window.resize(640, 360);
        panel.grid()->setParent(&window);
        panel.icon()->setParent(&window);
        panel.grid()->setGeometry(0, 30, 640, 330);
        panel.icon()->move(4, 4);
        panel.setHooks({[] { return QString(); },
                        [](const QString&) {},
                        [this](const QString& text) { status = text; },
                        [] { return 600; },
                        {}});
        settings.tempFolder = "/tmp/";
    }
};

} // namespace

TEST(BasketPanel, ShowHideMenusAndHiddenPathColumns)
{
    TempTree t;
    PanelFixture f;
    f.panel.toggleShown();
    EXPECT_EQ(f.prompts.shownTexts(), QStringList({"RadeZazeda is empty"}));
    EXPECT_FALSE(f.panel.gridShown());

    f.panel.basket().addLoadedEntry(t.file("docs/report.txt", 1200));
    f.panel.basket().addLoadedEntry(t.file("pics/holiday.jpg", 48000));
    f.panel.basket().addLoadedEntry(t.file("notes.md", 10));
    f.window.show();
    f.panel.toggleShown();
    EXPECT_TRUE(f.panel.gridShown());
    EXPECT_EQ(f.status, "RadeZazeda: 3 files");
    BasketGridView* grid = f.panel.grid();
    EXPECT_TRUE(grid->isColumnHidden(Basket::PathColumn));
    EXPECT_TRUE(grid->isColumnHidden(Basket::NameColumn));
    EXPECT_GT(grid->grid().colWidth(Basket::ShownColumn), 2600) << "scaled to the view width";
    grid->setColumnHidden(Basket::NameColumn, false);
    grid->setColumnWidth(Basket::NameColumn, 80);
    QMouseEvent move(QEvent::MouseMove, QPointF(20, 10),
                     grid->viewport()->mapToGlobal(QPointF(20, 10)), Qt::NoButton, Qt::NoButton,
                     Qt::NoModifier);
    QApplication::sendEvent(grid->viewport(), &move);
    EXPECT_TRUE(grid->isColumnHidden(Basket::NameColumn)) << "a mouse move hides it again";
    Shot(&f.window, "basket-grid");

    BasketMenu& menu = f.panel.menu();
    menu.prepare(true, "/home/me/");
    EXPECT_EQ(menu.copyTo->title(), "Copy RadeZazeda to:");
    EXPECT_EQ(menu.copyDefault->text(), "/home/me/");
    EXPECT_EQ(menu.zipDefault->text(), "/home/me/temp.zip");
    EXPECT_FALSE(menu.delete_->isVisible());
    EXPECT_TRUE(menu.clear->isVisible());
    menu.menu->popup(QPoint(0, 0));
    Shot(menu.menu, "basket-menu-all");
    menu.menu->hide();

    menu.copyDefault->setText("/chosen/");
    menu.prepare(false, "/other/");
    EXPECT_EQ(menu.copyTo->title(), "Copy one file to:");
    EXPECT_EQ(menu.zipTo->title(), "Zip one file to:");
    EXPECT_EQ(menu.copyDefault->text(), "/chosen/") << "a chosen target stays the default";
    EXPECT_TRUE(menu.delete_->isVisible());
    EXPECT_FALSE(menu.showHide->isVisible());
    EXPECT_FALSE(menu.thumbnails->isVisible());
    menu.menu->popup(QPoint(0, 0));
    Shot(menu.menu, "basket-menu-row");
    menu.menu->hide();

    f.panel.toggleShown();
    EXPECT_FALSE(f.panel.gridShown());
}

TEST(BasketPanel, CommandsActOnTheMenuTag)
{
    TempTree t;
    PanelFixture f;
    f.panel.basket().addLoadedEntry(t.file("a.txt", 1024));
    f.panel.basket().addLoadedEntry(t.file("b.txt", 1024));
    f.panel.menu().wholeBasket = true;
    f.panel.runCommand(BasketMenu::Code::Properties);
    EXPECT_EQ(f.prompts.shown.last().text, " 2 files, 2 Kb");
    EXPECT_EQ(f.prompts.shown.last().title, "RadeZazeda");

    QString wanted;
    QObject::connect(&f.panel, &BasketPanel::propertiesWanted,
                     [&wanted](const QString& path) { wanted = path; });
    f.panel.menu().wholeBasket = false;
    f.panel.basket().grid().setSelection(2, 2, 2, 2);
    f.panel.runCommand(BasketMenu::Code::Properties);
    EXPECT_EQ(wanted, t.path("b.txt"));

    // Copy "Default" asks first; No copies nothing.
    f.panel.menu().wholeBasket = true;
    f.panel.menu().copyDefault->setText(t.folder("out") + "/");
    f.panel.runCommand(BasketMenu::Code::CopyDefault);
    EXPECT_EQ(f.prompts.shown.last().text,
              "copy 2 files in RadeZazeda to:\r\n" + t.path("out") + "/");
    f.prompts.answers = {Prompts::Answer::Yes};
    f.panel.runCommand(BasketMenu::Code::CopyDefault);
    FinishCopy(f.panel);
    EXPECT_EQ(f.prompts.shown.last().text, " 2 files copied to:\r\n" + t.path("out") + "/");

    bool emptied = false;
    QObject::connect(&f.panel, &BasketPanel::emptied, [&emptied] { emptied = true; });
    f.panel.runCommand(BasketMenu::Code::Delete);
    EXPECT_EQ(f.panel.basket().entries(), 1);
    EXPECT_FALSE(emptied);
    f.panel.basket().grid().setSelection(1, 2, 1, 2);
    f.panel.runCommand(BasketMenu::Code::Delete);
    EXPECT_TRUE(f.panel.basket().empty());
    EXPECT_TRUE(emptied);
    f.panel.runCommand(BasketMenu::Code::ZipDefault);
    EXPECT_EQ(f.prompts.shown.last().text, "nothing to zip");
    f.panel.runCommand(BasketMenu::Code::SaveSelected);
    EXPECT_EQ(f.prompts.shown.last().text, "nothing to save");
}

TEST(CopyOverwriteDialog, ClicksFlipAndTheNextVersionCaption)
{
    TempTree t;
    OverwritePairs pairs;
    ScriptedPrompts prompts;
    const QString oldFile = t.file("dst/report.txt", QByteArray("old"));
    const QString newFile = t.file("src/report.txt", QByteArray("new"));
    t.file("dst/report;01.txt", QByteArray("v1"));
    pairs.addConflict(oldFile, newFile);
    pairs.addConflict(t.file("dst/b.txt", 5), t.file("src/b.txt", 7));
    CopyOverwriteDialog dialog(pairs, prompts);
    dialog.refresh();
    dialog.show();
    EXPECT_EQ(dialog.windowTitle(), "OverWrite Existing Files");
    EXPECT_EQ(dialog.copyButton()->text(), "OverWrite Files marked Yes");
    Shot(&dialog, "copy-overwrite");

    QTableView* grid = dialog.overwriteGrid();
    Q_EMIT grid->clicked(grid->model()->index(2, 1));
    EXPECT_EQ(pairs.grid().textMatrix(1, 1), "Yes") << "a click turns its whole pair";
    EXPECT_EQ(pairs.grid().textMatrix(2, 1), "Yes");
    EXPECT_EQ(pairs.grid().textMatrix(3, 1), "No");
    dialog.flipAllButton()->click(); // row 1 reads Yes: all No
    EXPECT_FALSE(pairs.anyYes());
    dialog.flipAllButton()->click();
    EXPECT_EQ(pairs.grid().textMatrix(4, 1), "Yes");

    dialog.optionsButton()->click();
    EXPECT_TRUE(dialog.nextVersionBox()->isVisible());
    dialog.nextVersionBox()->setChecked(true);
    EXPECT_EQ(dialog.copyButton()->text(), "Copy Files marked Yes");
    Shot(&dialog, "copy-overwrite-options");
    dialog.nextVersionBox()->setChecked(false);
    EXPECT_EQ(dialog.copyButton()->text(), "OverWrite Files marked Yes");
    dialog.nextVersionBox()->setChecked(true);
    dialog.copyButton()->click();
    EXPECT_EQ(prompts.shownTexts().last(), " 2 files copied");
    EXPECT_TRUE(QFile::exists(t.path("dst/report;02.txt")));
    EXPECT_TRUE(QFile::exists(t.path("dst/b;01.txt")));
    QFile old(oldFile);
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), "old");
}

TEST(BasketGridView, RowDropsMoveRowsAndOtherDropsGoOut)
{
    PanelFixture f;
    for (const char* n : {"/a", "/b", "/c"})
        f.panel.basket().addLoadedEntry(n);
    f.panel.showGrid();
    f.window.show();
    int outside = 0;
    QObject::connect(&f.panel, &BasketPanel::dropReceived,
                     [&outside](const QMimeData*, bool) { ++outside; });
    BasketGridView* grid = f.panel.grid();
    grid->grid().setSelection(3, 2, 3, 2);
    std::unique_ptr<QMimeData> rows(basketdrag::payload(basketdrag::FromGrid));
    Q_EMIT grid->dropped(rows.get(), 0); // onto the header
    EXPECT_EQ(f.panel.basket().shown(1), "/c");
    EXPECT_EQ(outside, 0);
    std::unique_ptr<QMimeData> icon(basketdrag::payload(basketdrag::FromIcon));
    Q_EMIT grid->dropped(icon.get(), 2);
    EXPECT_EQ(outside, 1);
    EXPECT_EQ(f.panel.basket().insertionRow, 2) << "the drop row is the insertion row";
}

TEST(BasketPanel, SavingToASelectedFileNamedWithoutExtensionWritesABasketFile)
{
    TempTree t;
    PanelFixture f;
    f.panel.basket().addLoadedEntry(t.file("a.txt", 3));
    f.prompts.texts = {t.path("mybasket")};
    f.panel.runCommand(BasketMenu::Code::SaveSelected);
    EXPECT_TRUE(QFile::exists(t.path("mybasket.bsk")));
    EXPECT_FALSE(QFile::exists(t.path("mybasket")));
    EXPECT_EQ(f.prompts.shown.last().text, "RadeZazeda saved to:\r\n" + t.path("mybasket.bsk"));

    f.prompts.texts = {t.path("list.txt")}; // a name with an extension keeps it
    f.panel.runCommand(BasketMenu::Code::SaveSelected);
    EXPECT_TRUE(QFile::exists(t.path("list.txt")));
}

TEST(BasketPanel, EscapeWhileZippingAsksAndAYesWritesNothing)
{
    TempTree t;
    PanelFixture f;
    f.panel.basket().addLoadedEntry(t.file("a.txt", 3));
    f.panel.basket().addLoadedEntry(t.file("b.txt", QByteArray(4000, 'x')));
    const QString zip = t.path("out.zip");
    f.prompts.texts = {zip};
    f.prompts.answers = {Prompts::Answer::Yes};
    f.escape.downAt = 1;
    f.panel.runCommand(BasketMenu::Code::ZipSelected);
    ASSERT_TRUE(f.panel.zipping()) << "the zip runs on its worker";
    f.prompts.texts = {t.path("other.zip")};
    f.panel.runCommand(BasketMenu::Code::ZipSelected); // refused while the first runs
    EXPECT_EQ(f.prompts.shown.size(), 1) << "not even the file dialog";
    FinishZip(f.panel);
    EXPECT_EQ(f.prompts.shownTexts().mid(1), QStringList({"cancel?"})) << "after the file dialog";
    EXPECT_FALSE(QFileInfo::exists(zip));

    // The chosen file stays the default target, which the menu only shows.
    EXPECT_EQ(f.panel.menu().zipTarget(), zip);
    EXPECT_EQ(f.panel.menu().zipDefault->text(), zip);
    f.panel.runCommand(BasketMenu::Code::ZipDefault);
    FinishZip(f.panel);
    EXPECT_TRUE(f.prompts.shownTexts().last().startsWith(" 2 files zipped to:\r\n" + zip));
    EXPECT_TRUE(QFileInfo::exists(zip));
}

TEST(BasketPanel, EscapeDuringACopyOfDroppedFilesKeepsTheFilesCopiedSoFar)
{
    TempTree t;
    PanelFixture f;
    const QStringList sources = {t.file("in/a.txt", 3), t.file("in/b.txt", 4),
                                 t.file("in/c.txt", 5)};
    f.escape.downAt = 2; // seen before the second file
    f.prompts.answers = {Prompts::Answer::Yes};
    f.panel.copyFiles(sources, t.folder("out"));
    ASSERT_TRUE(f.panel.copying()) << "the files are copied from the event loop";
    FinishCopy(f.panel);
    EXPECT_TRUE(QFile::exists(t.path("out/a.txt")));
    EXPECT_FALSE(QFile::exists(t.path("out/b.txt")));
    EXPECT_FALSE(QFile::exists(t.path("out/c.txt")));
    EXPECT_EQ(f.prompts.shownTexts(), QStringList({"cancel?", " 1 files copied"}));
}
