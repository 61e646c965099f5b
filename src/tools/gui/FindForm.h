#pragma once

#include "tools/FindFiles.h"

#include <QDialog>
#include <QElapsedTimer>
#include <array>
#include <functional>
#include <memory>

class BusyPointer;
class CancelKey;
class Prompts;
class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
struct FileList;
struct Settings;

/// The find dialog: a name pattern and up to eight content criteria joined by AND and
/// OR narrow the file list to the matching files. Opened as "Search Files" or, from
/// "Filter by contents", as "Filter by File Contents".
class FindForm : public QDialog {
    Q_OBJECT
public:
    enum class Form { Find, ContentFilter };

    FindForm(FileList& state, Settings& settings, Prompts& prompts, CancelKey& cancel,
             QWidget* parent = nullptr);
    ~FindForm() override;

    /// Sets the caption for the form it is opened in.
    void setForm(Form form);

    [[nodiscard]] QLineEdit* nameCriteria() const { return nameCriteria_; }
    [[nodiscard]] QLineEdit* contentBox(int i) const { return contentCriteria_[size_t(i)]; }
    [[nodiscard]] QLabel* connectorLabel(int i) const { return andOr_[size_t(i)]; }
    [[nodiscard]] QCheckBox* examineZipped() const { return examineZipped_; }
    [[nodiscard]] QProgressBar* progressBar() const { return progressBar_; }
    [[nodiscard]] QPushButton* applyButton() const { return applyButton_; }
    [[nodiscard]] QPushButton* exitButton() const { return exitButton_; }
    /// The content description of the last Apply ("*" when none).
    [[nodiscard]] const QString& contentDescription() const { return contentDescription_; }

    /// The "Apply" button: starts the search, which runs a few files per turn of the
    /// event loop (Escape is read from the presses delivered) and ends with applied().
    /// Ignored while a search runs; kept for later while `deferWhileBusy` says the list
    /// is busy.
    void Apply();
    /// True while a search runs.
    [[nodiscard]] bool searching() const { return bool(run_); }
    /// Asked before a search starts: true when it took the Apply to run later (the list
    /// is being rebuilt).
    void setDeferWhileBusy(std::function<bool(std::function<void()>)> defer)
    {
        deferWhileBusy_ = std::move(defer);
    }
    /// A click on a connector label: "" -> "AND" -> "OR" -> "AND".
    void ToggleConnector(int i);

Q_SIGNALS:
    /// The list was narrowed (or emptied); `content` is the content description.
    void listChanged(const QString& content);
    /// A search starts working on the list: input that would change it should wait
    /// until searchEnded().
    void searchStarted();
    void searchEnded();
    /// The search has ended (or there was nothing to search) with `outcome`.
    void applied(const FindOutcome& outcome);

private:
    void buildControls();
    /// Tests files until a little time has passed, then goes on in a later turn.
    void searchStep();
    void progress(int done, int total);

    FileList& state_;
    Settings& settings_;
    Prompts& prompts_;
    CancelKey& cancel_;
    QString contentDescription_ = QStringLiteral("*");

    QLineEdit* nameCriteria_ = nullptr; ///< Text1
    std::array<QLineEdit*, ContentBoxCount> contentCriteria_{};
    std::array<QLabel*, ContentBoxCount> andOr_{};
    QCheckBox* examineZipped_ = nullptr; ///< Check1
    QProgressBar* progressBar_ = nullptr;
    QPushButton* applyButton_ = nullptr; ///< Command2
    QPushButton* exitButton_ = nullptr;  ///< Command7
    QLabel* escapeHint_ = nullptr;       ///< Label1
    std::function<bool(std::function<void()>)> deferWhileBusy_;
    std::unique_ptr<FindRun> run_; ///< the search under way
    std::unique_ptr<BusyPointer> busy_;
    QElapsedTimer sincePaint_;
};
