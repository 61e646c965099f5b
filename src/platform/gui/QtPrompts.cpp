#include "platform/gui/QtPrompts.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

void QtPrompts::message(const QString& text, const QString& title)
{
    QMessageBox::information(parent_, title, text, QMessageBox::Ok);
}

bool QtPrompts::askYesNo(const QString& text, const QString& title)
{
    return QMessageBox::question(parent_, title, text, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

Prompts::Answer QtPrompts::askYesNoCancel(const QString& text, const QString& title)
{
    switch (QMessageBox::question(parent_, title, text,
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
    return QMessageBox::warning(parent_, title, text, QMessageBox::Retry | QMessageBox::Cancel,
                                QMessageBox::Retry) == QMessageBox::Retry
               ? Answer::Retry
               : Answer::Cancel;
}

std::optional<QString> QtPrompts::input(const QString& prompt, const QString& title,
                                        const QString& initial)
{
    bool ok = false;
    const QString text =
        QInputDialog::getText(parent_, title, prompt, QLineEdit::Normal, initial, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtPrompts::chooseFolder(const QString& title, const QString& start)
{
    return QFileDialog::getExistingDirectory(parent_, title, start);
}

QString QtPrompts::chooseOpenFile(const QString& title, const QString& start, const QString& filter)
{
    return QFileDialog::getOpenFileName(parent_, title, start, filter);
}

QString QtPrompts::chooseSaveFile(const QString& title, const QString& start, const QString& filter,
                                  Overwrite overwrite)
{
    const QFileDialog::Options options = overwrite == Overwrite::CallerAsks
                                             ? QFileDialog::DontConfirmOverwrite
                                             : QFileDialog::Options();
    return QFileDialog::getSaveFileName(parent_, title, start, filter, nullptr, options);
}
