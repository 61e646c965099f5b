#pragma once

#include "platform/Prompts.h"

class QWidget;

/// Prompts shown as Qt dialogs over a parent window; questions preselect No.
class QtPrompts : public Prompts {
public:
    explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}

    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text, const QString& title = DefaultTitle) override;
    bool askYesNo(const QString& text, const QString& title = DefaultTitle) override;
    bool askYesNoWarning(const QString& text, const QString& title = DefaultTitle) override;
    Answer askYesNoCancel(const QString& text, const QString& title = DefaultTitle) override;
    Answer askRetryCancel(const QString& text, const QString& title = DefaultTitle) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& initial) override;
    std::optional<QString> password(const QString& prompt, const QString& title) override;
    QString chooseFolder(const QString& title, const QString& start) override;
    QString chooseOpenFile(const QString& title, const QString& start,
                           const QString& filter) override;
    QString chooseSaveFile(const QString& title, const QString& start, const QString& filter,
                           Overwrite overwrite) override;

private:
    QWidget* parent_;
};
