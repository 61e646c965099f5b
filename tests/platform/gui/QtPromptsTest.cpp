#include "platform/gui/QtPrompts.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
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

TEST(QtPrompts, ThePasswordBoxMasksWhatIsTyped)
{
    QLineEdit::EchoMode echo = QLineEdit::Normal;
    bool seen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        seen = true;
        auto* field = dialog->findChild<QLineEdit*>();
        if (field) {
            echo = field->echoMode();
            field->setText(QStringLiteral("s3cret"));
        }
        // With LUMARA_SHOTS set, a picture of the box for a person to look at.
        if (const QString folder = qEnvironmentVariable("LUMARA_SHOTS"); !folder.isEmpty())
            dialog->grab().save(folder + QStringLiteral("/zip-password-box.png"));
        dialog->accept();
    });
    QtPrompts prompts;
    const std::optional<QString> answer =
        prompts.password(QStringLiteral("Please Enter The Password!"), QStringLiteral("Password"));
    EXPECT_TRUE(seen) << "the box was not found";
    EXPECT_EQ(echo, QLineEdit::Password);
    EXPECT_EQ(answer, std::optional<QString>(QStringLiteral("s3cret")));
}
