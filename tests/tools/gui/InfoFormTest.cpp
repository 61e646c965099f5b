#include "tools/gui/InfoForm.h"

#include "common/TempTree.h"
#include "platform/Prompts.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

TEST(InfoForm, ShowsAFileAndAppliesReadOnly)
{
    TempTree tree;
    const QString path = tree.file("data.txt", 1'234'567);
    ScriptedPrompts prompts;
    InfoForm form(prompts);
    form.showFile(path);

    EXPECT_EQ(form.valueLabel(8)->text(), QLatin1String("1,234,567"));
    EXPECT_FALSE(form.valueLabel(12)->text().isEmpty());
    EXPECT_FALSE(form.creationNote()->text().isEmpty());
    EXPECT_FALSE(form.attributeBox(5)->isChecked()); // ReadOnly
    EXPECT_TRUE(form.attributeBox(4)->isChecked());  // Normal
    EXPECT_FALSE(form.attributeBox(1)->isEnabled()); // Compress is shown only

    form.attributeBox(5)->setChecked(true);
    form.applyButton()->click();
    EXPECT_FALSE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    EXPECT_TRUE(prompts.shown.last().text.startsWith(QLatin1String("attributes set for file:")));
    EXPECT_TRUE(form.attributeBox(5)->isChecked()); // read back from the file
    EXPECT_FALSE(form.attributeBox(4)->isChecked());
}

TEST(InfoForm, ArchiveModeHasItsOwnCaptionsTitleAndNoBoxes)
{
    TempTree tree;
    const QString path = tree.file("earlier.txt", 10);
    ScriptedPrompts prompts;
    InfoForm form(prompts);
    form.showFile(path);
    EXPECT_EQ(form.windowTitle(), "Properties - " + path);
    // The same form then shows an archive entry, as the one dialog of a window does.
    form.setMode(InfoForm::Mode::ArchiveEntry);
    form.setValues({"a.zip", "inner.txt"});
    EXPECT_EQ(form.mode(), InfoForm::Mode::ArchiveEntry);
    EXPECT_EQ(form.valueLabel(1)->text(), QLatin1String("inner.txt"));
    EXPECT_TRUE(form.applyButton()->isHidden());
    EXPECT_EQ(form.windowTitle(), "Properties - inner.txt") << "no title of the file before";
}

TEST(InfoForm, EnterClosesWithoutChangingAttributes)
{
    TempTree tree;
    const QString path = tree.file("keep.txt", 10);
    ScriptedPrompts prompts;
    InfoForm form(prompts);
    form.showFile(path);
    form.attributeBox(5)->setChecked(true); // ReadOnly ticked, then Enter
    form.show();
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(&form, &enter);
    EXPECT_TRUE(QFile::permissions(path).testFlag(QFileDevice::WriteOwner));
    EXPECT_TRUE(prompts.shown.isEmpty());
    EXPECT_FALSE(form.isVisible());
}

} // namespace
