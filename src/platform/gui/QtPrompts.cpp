#include "platform/gui/QtPrompts.h"

#include "platform/FileNames.h"
#include "platform/gui/LosslessFileDialog.h"

#include <QInputDialog>
#include <QMessageBox>

// Texts that name files show each raw byte of a name as U+FFFD: a lone surrogate
// cannot be painted.
using platform::readableFileName;

void QtPrompts::message(const QString& text, const QString& title)
{
    QMessageBox::information(parent_, title, platform::displayFileName(text), QMessageBox::Ok);
}

bool QtPrompts::askYesNo(const QString& text, const QString& title)
{
    return QMessageBox::question(parent_, title, platform::displayFileName(text),
                                 QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

bool QtPrompts::askYesNoWarning(const QString& text, const QString& title)
{
    return QMessageBox::warning(parent_, title, readableFileName(text),
                                QMessageBox::Yes | QMessageBox::No,
                                QMessageBox::No) == QMessageBox::Yes;
}

Prompts::Answer QtPrompts::askYesNoCancel(const QString& text, const QString& title)
{
    switch (QMessageBox::question(parent_, title, platform::displayFileName(text),
                                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                  QMessageBox::No)) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    default:
        return Answer::Cancel;
    }
}

Prompts::Answer QtPrompts::askRetryCancel(const QString& text, const QString& title)
{
    return QMessageBox::warning(parent_, title, platform::displayFileName(text),
                                QMessageBox::Retry | QMessageBox::Cancel,
                                QMessageBox::Retry) == QMessageBox::Retry
               ? Answer::Retry
               : Answer::Cancel;
}

std::optional<QString> QtPrompts::input(const QString& prompt, const QString& title,
                                        const QString& initial)
{
    bool ok = false;
    const QString shown = readableFileName(initial);
    const QString text = QInputDialog::getText(parent_, title, readableFileName(prompt),
                                               QLineEdit::Normal, shown, &ok);
    if (!ok)
        return std::nullopt;
    // Left as it was shown: the name it stands for, with its raw bytes.
    return text == shown ? initial : text;
}

std::optional<QString> QtPrompts::password(const QString& prompt, const QString& title)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, title, readableFileName(prompt),
                                               QLineEdit::Password, QString(), &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompts::chooseFolder(const QString& title, const QString& start)
{
    LosslessFileDialog dialog(parent_, title, start, QString());
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    return dialog.choose();
}

QString QtPrompts::chooseOpenFile(const QString& title, const QString& start, const QString& filter)
{
    LosslessFileDialog dialog(parent_, title, start, filter);
    dialog.setFileMode(QFileDialog::ExistingFile);
    return dialog.choose();
}

QString QtPrompts::chooseSaveFile(const QString& title, const QString& start, const QString& filter,
                                  Overwrite overwrite)
{
    LosslessFileDialog dialog(parent_, title, start, filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, overwrite == Overwrite::CallerAsks);
    return dialog.choose();
}
