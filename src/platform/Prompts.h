#pragma once

#include <QString>
#include <QStringList>
#include <optional>

/// Every message, question and file or folder dialog goes through this interface, so
/// that tests can script the answers. The default title is "Varnex".
class Prompts {
public:
    enum class Answer { Yes, No, Cancel, Retry, Ok };
    /// Who asks before a save replaces an existing file: the dialog, or the caller with
    /// its own question (the user must never be asked twice).
    enum class Overwrite { DialogAsks, CallerAsks };

    static inline const QString DefaultTitle = QStringLiteral("Varnex");

    virtual ~Prompts() = default;

    /// An OK box.
    virtual void message(const QString& text, const QString& title = DefaultTitle) = 0;
    /// A Yes/No question with No preselected; true for Yes.
    virtual bool askYesNo(const QString& text, const QString& title = DefaultTitle) = 0;
    /// The same question under the exclamation icon, for a file about to be replaced.
    virtual bool askYesNoWarning(const QString& text, const QString& title = DefaultTitle)
    {
        return askYesNo(text, title);
    }
    /// Yes/No/Cancel; Cancel (or closing the box) gives Answer::Cancel.
    virtual Answer askYesNoCancel(const QString& text, const QString& title = DefaultTitle) = 0;
    /// Retry/Cancel; closing the box gives Answer::Cancel.
    virtual Answer askRetryCancel(const QString& text, const QString& title = DefaultTitle) = 0;
    /// An input box; nothing when cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& initial) = 0;
    /// An input box whose text is masked as it is typed; nothing when cancelled.
    virtual std::optional<QString> password(const QString& prompt, const QString& title) = 0;
    /// A folder chooser; "" when cancelled.
    virtual QString chooseFolder(const QString& title, const QString& start) = 0;
    /// An open-file dialog; "" when cancelled. `filter` as Qt writes it ("Basket (*.bsk)").
    virtual QString chooseOpenFile(const QString& title, const QString& start,
                                   const QString& filter) = 0;
    /// A save-file dialog; "" when cancelled.
    virtual QString chooseSaveFile(const QString& title, const QString& start,
                                   const QString& filter, Overwrite overwrite) = 0;
};

/// Prompts for tests and headless runs: records every text and title, and answers
/// from queues (No, Cancel, nothing or "" when a queue is empty).
class ScriptedPrompts : public Prompts {
public:
    struct Shown {
        QString kind; ///< "message", "yesno", "yesnowarning", "yesnocancel", "retrycancel",
                      ///< "input", "password", "folder", "open", "save"
        QString text;
        QString title;
    };

    QList<Shown> shown;
    QList<Answer> answers;           ///< consumed by the question boxes
    QList<Overwrite> saveOverwrites; ///< who was to ask, for each save dialog
    QStringList texts; ///< consumed by input and password boxes and file or folder dialogs

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

    /// The texts of everything shown, in order.
    [[nodiscard]] QStringList shownTexts() const;

private:
    Answer nextAnswer(Answer fallback);
    QString nextText();
};
