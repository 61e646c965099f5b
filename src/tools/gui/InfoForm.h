#pragma once

#include "tools/FileInfo.h"

#include <QDialog>
#include <array>

class Prompts;
class QCheckBox;
class QLabel;
class QPushButton;

/// The properties dialog `InfoForm`. Its tag selects the mode: "F" shows a file's 14
/// values and attribute boxes; "Z" (an archive entry's details) is filled by its owner
/// through setCaptions()/setValues().
class InfoForm : public QDialog {
    Q_OBJECT
public:
    explicit InfoForm(Prompts& prompts, QWidget* parent = nullptr);

    /// What the dialog shows the properties of.
    enum class Mode { File, ArchiveEntry };
    /// Sets the captions of `mode`; the file's boxes and Apply show only for a file.
    void setMode(Mode mode);
    [[nodiscard]] Mode mode() const { return mode_; }

    /// GetFileInfo(path) into the labels and boxes (file mode).
    void showFile(const QString& path);
    /// Replaces the captions or the values of the label rows (up to 14).
    void setCaptions(const QStringList& captions);
    void setValues(const QStringList& values);

    /// The "Apply changes to file attributes" button.
    void applyAttributeChanges();

    [[nodiscard]] QLabel* valueLabel(int index) const { return values_[size_t(index)]; }
    [[nodiscard]] QCheckBox* attributeBox(int index) const { return boxes_[size_t(index)]; }
    [[nodiscard]] QLabel* creationNote() const { return creationNote_; }
    /// An archive's entry count; hidden for other files and in "Z" mode.
    [[nodiscard]] QLabel* entryCount() const { return entryCount_; }
    [[nodiscard]] QPushButton* applyButton() const { return apply_; }
    [[nodiscard]] QString path() const { return path_; }

private:
    void showEntryCount(const QString& text);
    Prompts& prompts_;
    Mode mode_ = Mode::File;
    QString path_;
    std::array<QLabel*, 14> captions_{}; ///< InfoLabx
    std::array<QLabel*, 14> values_{};   ///< Infolab
    std::array<QCheckBox*, 8> boxes_{};  ///< status
    QLabel* creationNote_ = nullptr;
    QLabel* entryCountCaption_ = nullptr;
    QLabel* entryCount_ = nullptr;
    QPushButton* apply_ = nullptr;    ///< Command1
    QPushButton* finished_ = nullptr; ///< Command2
};

/// Opens the properties dialog of `path` in "F" mode (a file, or a folder from the folder
/// tree), modal over `parent`; the one dialog is created on first use and kept.
void ShowFileProperties(const QString& path, Prompts& prompts, QWidget* parent);

/// Opens the same dialog in "Z" mode with an archive entry's 14 values.
void ShowArchiveEntryProperties(const QStringList& values, Prompts& prompts, QWidget* parent);
