// A native file dialog answers a name that is not UTF-8 with U+FFFD in place of its raw
// bytes, and Qt's own dialog refuses that path as missing; the dialogs of QtPrompts must
// still give back the very file chosen. The answer is typed in, as Qt decodes it.
#include "common/TempTree.h"
#include "platform/FileNames.h"
#include "platform/QtNames.h"
#include "platform/gui/Clipboard.h"
#include "platform/gui/QtPrompts.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace {

/// Runs `open` while a timer picks `shownPath` in the dialog it opens and accepts it
/// (or cancels, if the dialog stays open); gives what `open` returned.
QString ChooseInDialog(const std::function<QString()>& open, const QString& shownPath)
{
    // Should Qt refuse the name after all, its warning box is closed, not waited on.
    QTimer::singleShot(1000, [] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
            box->reject();
    });
    QTimer::singleShot(0, [shownPath] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        dialog->selectFile(shownPath);
        static_cast<QDialog*>(dialog)->accept(); // as the Open or Save button does
        if (dialog->isVisible())
            dialog->reject();
    });
    return open();
}

} // namespace

TEST(OddNamesPrompts, TheChosenFileOrFolderComesBackWithItsExactBytes)
{
    TempTree tree;
    const QString folder = tree.folder(platform::decodeFileName("fold\xe9r"));
    const QString file = tree.file(platform::decodeFileName("fold\xe9r/bad\xff.bsk"), 3);
    QtPrompts prompts;

    const QString opened =
        ChooseInDialog([&] { return prompts.chooseOpenFile("Open", folder, "Basket (*.bsk)"); },
                       platform::qtShownPath(file));
    EXPECT_EQ(opened, file);

    const QString chosenFolder = ChooseInDialog(
        [&] { return prompts.chooseFolder("Folder", tree.root()); }, platform::qtShownPath(folder));
    EXPECT_EQ(chosenFolder, folder);

    // Replacing an existing odd file that the caller asks about itself.
    const QString saved = ChooseInDialog(
        [&] {
            return prompts.chooseSaveFile("Save", file, "Basket (*.bsk)",
                                          Prompts::Overwrite::CallerAsks);
        },
        platform::qtShownPath(file));
    EXPECT_EQ(saved, file);

    // A new name in an odd folder keeps the folder's bytes.
    const QString fresh = ChooseInDialog(
        [&] {
            return prompts.chooseSaveFile("Save", folder, "Basket (*.bsk)",
                                          Prompts::Overwrite::DialogAsks);
        },
        platform::qtShownPath(folder) + "/new.bsk");
    EXPECT_EQ(fresh, folder + "/new.bsk");
}

TEST(OddNamesPrompts, TextsShowRawBytesReadablyAndAnUnchangedNameComesBackWhole)
{
    const QString name = platform::decodeFileName("report\xe9\xff.txt");
    const QString readable = platform::readableFileName(name);
    ASSERT_NE(readable, name);
    QtPrompts prompts;

    QString boxText;
    QTimer::singleShot(0, [&boxText] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            boxText = box->text();
            box->accept();
        }
    });
    prompts.message("could not run " + name);
    EXPECT_EQ(boxText, "could not run " + readable);

    // An input box offers the name readably; left as offered, the real name is answered.
    QString offered;
    QTimer::singleShot(0, [&offered] {
        if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            offered = input->textValue();
            input->accept();
        }
    });
    EXPECT_EQ(prompts.input("New name", "Rename", name), name);
    EXPECT_EQ(offered, readable);
    QTimer::singleShot(0, [] {
        if (auto* input = qobject_cast<QInputDialog*>(QApplication::activeModalWidget())) {
            input->setTextValue("other.txt");
            input->accept();
        }
    });
    EXPECT_EQ(prompts.input("New name", "Rename", name), "other.txt");

    // Pasted elsewhere, copied text reads as UTF-8.
    platform::copyTextToClipboard("folder/" + name);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "folder/" + readable);
}
