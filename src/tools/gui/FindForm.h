#pragma once

#include "tools/FindFiles.h"

#include <QDialog>
#include <array>

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

    /// The "Apply" button.
    FindOutcome Apply();
    /// A click on a connector label: "" -> "AND" -> "OR" -> "AND".
    void ToggleConnector(int i);

Q_SIGNALS:
    /// The list was narrowed (or emptied); `content` is the content description.
    void listChanged(const QString& content);

private:
    void buildControls();

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
};
