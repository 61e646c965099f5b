#include "options/gui/OptionsForm.h"

#include "common/TempTree.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

void press(QWidget* target, Qt::MouseButton button)
{
    const QPointF at(target->width() / 2.0, target->height() / 2.0);
    QMouseEvent event(QEvent::MouseButtonPress, at, target->mapToGlobal(at), button, button,
                      Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

template <typename T> T* child(const QWidget& form, const char* name)
{
    T* found = form.findChild<T*>(QLatin1String(name));
    EXPECT_NE(found, nullptr) << name;
    return found;
}

struct FormFixture : ::testing::Test {
    Settings settings;
    ScriptedPrompts prompts;
    QStringList made;
    OptionsForm form{settings, prompts, [this](const QString& folder) {
                         made << folder;
                         return QDir().mkpath(folder);
                     }};
    int applied = 0;
    int cleared = 0;

    FormFixture()
    {
        QObject::connect(&form, &OptionsForm::optionsApplied, [this] { ++applied; });
        QObject::connect(&form, &OptionsForm::historiesCleared, [this] { ++cleared; });
    }
};

} // namespace

TEST_F(FormFixture, ThreePagesUnderTheOptionsCaption)
{
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Options"));
    ASSERT_EQ(form.pages()->count(), 3);
    EXPECT_EQ(form.pages()->tabText(0), QStringLiteral("Colors"));
    EXPECT_EQ(form.pages()->tabText(1), QStringLiteral("Fonts"));
    EXPECT_EQ(form.pages()->tabText(2), QStringLiteral("Other"));
    EXPECT_EQ(child<QToolButton>(form, "swatch12")->toolTip(), QStringLiteral("BRIGHT_RED"));
    EXPECT_EQ(child<QRadioButton>(form, "colourTarget3")->text(), QStringLiteral("Files List BG"));
}

TEST_F(FormFixture, BlackSwatchAppliedToFilesListBackgroundStoresOneOneOne)
{
    applied = 0;
    child<QRadioButton>(form, "colourTarget3")->click();
    EXPECT_EQ(form.sampleColour(), QColor(255, 255, 255)) << "the target's colour is shown first";
    child<QToolButton>(form, "swatch0")->click();
    EXPECT_EQ(form.sampleColour(), QColor(0, 0, 0));
    child<QPushButton>(form, "applyColourButton")->click();
    EXPECT_EQ(settings.colours[2], 0x010101u);
    EXPECT_EQ(settings.colours[0], 0xFFFFFFu) << "the tree keeps its background";
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(child<QScrollBar>(form, "redBar")->value(), 1) << "the sample shows what was stored";
}

TEST_F(FormFixture, ScrollBarsMakeTheSampleAndFollowSwatchesAndTargets)
{
    auto* red = child<QScrollBar>(form, "redBar");
    auto* green = child<QScrollBar>(form, "greenBar");
    auto* blue = child<QScrollBar>(form, "blueBar");
    red->setValue(200);
    green->setValue(100);
    blue->setValue(50);
    EXPECT_EQ(form.sampleColour(), QColor(200, 100, 50));
    // Each bar shows its value beside it.
    bool shown = false;
    for (const QLabel* label : form.findChildren<QLabel*>())
        shown = shown || label->text() == QLatin1String("100");
    EXPECT_TRUE(shown);

    child<QToolButton>(form, "swatch6")->click(); // ORANGE
    EXPECT_EQ(red->value(), 128);
    EXPECT_EQ(green->value(), 128);
    EXPECT_EQ(blue->value(), 0);

    settings.colours[5] = 0x123456;
    child<QRadioButton>(form, "colourTarget0")->click(); // View Window FG
    EXPECT_EQ(form.sampleColour(), QColor(0x12, 0x34, 0x56));
    EXPECT_EQ(blue->value(), 0x56);
    child<QPushButton>(form, "applyColourButton")->click();
    EXPECT_EQ(settings.colours[5], 0x123456u);
}

TEST_F(FormFixture, ColourResetAsksAndOnlyYesResets)
{
    settings.colours = {1, 2, 3, 4, 5, 6};
    form.loadFromSettings();
    child<QPushButton>(form, "resetColoursButton")->click(); // no answer queued: No
    ASSERT_EQ(prompts.shown.size(), 1);
    EXPECT_EQ(prompts.shown[0].text, QStringLiteral("do you wish to reset all colors?"));
    EXPECT_EQ(prompts.shown[0].title, QStringLiteral("Colors"));
    EXPECT_EQ(prompts.shown[0].kind, QStringLiteral("yesno"));
    EXPECT_EQ(settings.colours[3], 4u);

    prompts.answers << Prompts::Answer::Yes;
    applied = 0;
    child<QPushButton>(form, "resetColoursButton")->click();
    EXPECT_EQ(settings.colours, Settings().colours);
    EXPECT_EQ(applied, 1);
}

TEST_F(FormFixture, SizeLabelClicksStepAndRefuseOutsideTheRange)
{
    settings.listFont = {QStringLiteral("DejaVu Sans"), 47};
    form.loadFromSettings();
    child<QRadioButton>(form, "fontTarget1")->click(); // FileList
    auto* label = child<QLabel>(form, "fontSizeLabel");
    EXPECT_EQ(label->text(), QStringLiteral("Size 47."));
    EXPECT_EQ(label->toolTip(), QStringLiteral("Left/Right-click to change size"));

    press(label, Qt::LeftButton); // 48.5 is refused
    EXPECT_EQ(label->text(), QStringLiteral("Size 47."));
    EXPECT_DOUBLE_EQ(form.pendingFont().size, 47);
    press(label, Qt::RightButton);
    press(label, Qt::RightButton);
    EXPECT_EQ(label->text(), QStringLiteral("Size 44."));
    press(label, Qt::LeftButton);
    EXPECT_EQ(label->text(), QStringLiteral("Size 45.5"));
    EXPECT_DOUBLE_EQ(settings.listFont.size, 47) << "nothing is stored before Apply";

    child<QPushButton>(form, "applyFontButton")->click();
    EXPECT_DOUBLE_EQ(settings.listFont.size, 45.5);
    EXPECT_DOUBLE_EQ(settings.treeFont.size, 8.25);
    EXPECT_EQ(child<QLabel>(form, "fontSample")->font().pointSizeF(), 45.5);
}

TEST_F(FormFixture, ALargeSampleNeitherWidensNorHeightensTheDialog)
{
    settings.listFont = {QStringLiteral("DejaVu Sans"), 8};
    form.loadFromSettings();
    form.show();
    if (auto* pages = form.findChild<QTabWidget*>())
        pages->setCurrentIndex(1); // "Fonts"
    child<QRadioButton>(form, "fontTarget1")->click();
    QApplication::processEvents();
    const QSize small = form.size();
    for (int i = 0; i < 26; ++i) // 8 to 47 points
        press(child<QLabel>(form, "fontSizeLabel"), Qt::LeftButton);
    QApplication::processEvents();
    ASSERT_DOUBLE_EQ(form.pendingFont().size, 47);
    EXPECT_EQ(form.size(), small);
    EXPECT_LE(form.minimumSizeHint().width(), small.width());
    EXPECT_LE(form.minimumSizeHint().height(), small.height());
    if (const QString folder = qEnvironmentVariable("LUMARA_SCREENSHOTS"); !folder.isEmpty())
        form.grab().save(QDir(folder).filePath(QStringLiteral("options-47pt.png")));
}

TEST_F(FormFixture, FontChosenFromTheListGoesToTheChosenTargetOnly)
{
    auto* list = child<QListWidget>(form, "fontList");
    ASSERT_GT(list->count(), 0) << "the installed fonts are offered";
    const QString family = list->item(0)->text();
    child<QRadioButton>(form, "fontTarget2")->click(); // Views
    list->setCurrentRow(0);
    EXPECT_EQ(form.pendingFont().name, family);
    applied = 0;
    child<QPushButton>(form, "applyFontButton")->click();
    EXPECT_EQ(settings.viewFont.name, family);
    EXPECT_EQ(settings.treeFont.name, QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(applied, 1);

    // Back on the tree's target, its own font shows again.
    child<QRadioButton>(form, "fontTarget0")->click();
    EXPECT_EQ(form.pendingFont().name, QStringLiteral("MS Sans Serif"));

    settings.treeFont = {family, 20};
    child<QPushButton>(form, "defaultFontsButton")->click();
    EXPECT_EQ(settings.treeFont.name, QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(child<QLabel>(form, "fontSizeLabel")->text(), QStringLiteral("Size 8.25"));
}

TEST_F(FormFixture, OtherPageStoresOptionsAndKeepsTheDialogOpenOnABadFolder)
{
    TempTree tree;
    settings.tempFolder = tree.path("work/");
    form.loadFromSettings();
    form.show();
    auto* folder = child<QLineEdit>(form, "tempFolderText");
    EXPECT_EQ(folder->text(), tree.path("work/"));
    child<QCheckBox>(form, "showSystemHiddenCheck")->setChecked(true);
    child<QRadioButton>(form, "singleClickOption")->setChecked(true);

    folder->setText(QStringLiteral("/t"));
    child<QPushButton>(form, "applyOtherButton")->click();
    EXPECT_EQ(prompts.shownTexts(), QStringList{"incorrect directory name"});
    EXPECT_TRUE(form.isVisible());
    EXPECT_TRUE(settings.showSystemHidden) << "the options are stored before the folder check";
    EXPECT_TRUE(settings.singleClickView);
    EXPECT_EQ(settings.tempFolder, tree.path("work/"));

    tree.file(QStringLiteral("blocker"), 1);
    folder->setText(tree.path("blocker/sub"));
    child<QPushButton>(form, "applyOtherButton")->click();
    EXPECT_EQ(prompts.shown.last().text,
              QStringLiteral("could not create temporary directory:\r\n") +
                  tree.path("blocker/sub/"));
    EXPECT_TRUE(form.isVisible());

    folder->setText(tree.path("other"));
    child<QPushButton>(form, "applyOtherButton")->click();
    EXPECT_EQ(settings.tempFolder, tree.path("other/"));
    EXPECT_EQ(made.last(), tree.path("other/"));
    EXPECT_FALSE(form.isVisible()) << "a good folder closes the dialog";
    EXPECT_EQ(prompts.shown.size(), 2);
}

TEST_F(FormFixture, EmptyWorkingFolderSettingShowsTheDefaultWithTheNote)
{
    settings.tempFolder.clear();
    form.loadFromSettings();
    auto* field = child<QLineEdit>(form, "tempFolderText");
    EXPECT_EQ(field->text(), Settings::defaultTempFolder());
    QStringList notes;
    for (const QLabel* label : field->parentWidget()->findChildren<QLabel*>())
        notes << label->text();
    EXPECT_EQ(notes, QStringList{"Note that this temporary folder will be deleted on exit from "
                                 "the program"});
}

TEST_F(FormFixture, ClearHistoriesAsksFirst)
{
    settings.fileHistory = {QStringLiteral("/a/b.txt")};
    settings.folderHistory = {QStringLiteral("/a")};
    child<QPushButton>(form, "clearHistoryButton")->click();
    EXPECT_EQ(prompts.shown.last().text, QStringLiteral("clear file and folder histories?"));
    EXPECT_EQ(prompts.shown.last().title, QStringLiteral("Varnex"));
    EXPECT_EQ(settings.fileHistory.size(), 1);
    EXPECT_EQ(cleared, 0);

    prompts.answers << Prompts::Answer::Yes;
    child<QPushButton>(form, "clearHistoryButton")->click();
    EXPECT_TRUE(settings.fileHistory.isEmpty());
    EXPECT_TRUE(settings.folderHistory.isEmpty());
    EXPECT_EQ(cleared, 1);
}
