#include "platform/gui/QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

/// Opens the save dialog, reads whether it would confirm an overwrite, and cancels it.
bool dialogConfirmsOverwrite(Prompts::Overwrite overwrite)
{
    bool confirms = false;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        confirms = !dialog->testOption(QFileDialog::DontConfirmOverwrite);
        dialog->reject();
    });
    QtPrompts prompts;
    const QString chosen = prompts.chooseSaveFile(QStringLiteral("Save"), QDir::tempPath(),
                                                  QStringLiteral("Icon Files (*.ico)"), overwrite);
    EXPECT_TRUE(seen) << "the dialog was not found";
    EXPECT_TRUE(chosen.isEmpty()) << "a cancelled dialog gives no file";
    return confirms;
}

} // namespace

TEST(QtPrompts, SaveDialogAsksAboutOverwritingOnlyWhenTheCallerDoesNot)
{
    EXPECT_TRUE(dialogConfirmsOverwrite(Prompts::Overwrite::DialogAsks));
    EXPECT_FALSE(dialogConfirmsOverwrite(Prompts::Overwrite::CallerAsks));
}
