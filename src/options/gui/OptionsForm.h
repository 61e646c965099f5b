#pragma once

#include "options/OptionColours.h"
#include "options/OptionFonts.h"
#include "options/OtherOptions.h"

#include <QDialog>
#include <array>

class Prompts;
class QButtonGroup;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QTabWidget;
class QToolButton;
struct Settings;

/// The "Options" dialog: the "Colors", "Fonts" and "Other" pages. Every "Apply" stores
/// into the settings at once and says so through optionsApplied(), so the windows can
/// show the change; the profile keeps it when it is written at exit.
class OptionsForm : public QDialog {
    Q_OBJECT
public:
    /// `makeFolder` creates the working folder the "Other" page names.
    OptionsForm(Settings& settings, Prompts& prompts, FolderMaker makeFolder,
                QWidget* parent = nullptr);

    /// Fills the three pages from the settings; called whenever the dialog opens.
    void loadFromSettings();

    // Colour page
    void chooseColourTarget(ColourTarget target);
    void chooseSwatch(int index);
    /// The sample as the scroll bars make it from their three values.
    void setSampleFromBars();
    [[nodiscard]] QColor sampleColour() const { return sample_; }
    /// "Apply" on the colour page: the sample into the chosen target.
    void applyColour();
    /// The reset button: asks, then all six colours back to their defaults.
    void resetColours();

    // Font page
    void chooseFontTarget(FontTarget target);
    void chooseFontName(const QString& name);
    /// A click on the size label: left adds 1.5 points, right takes 1.5 away; a size
    /// outside 1..48 is refused. True when the size changed.
    bool clickSize(Qt::MouseButton button);
    [[nodiscard]] FontSetting pendingFont() const { return pendingFont_; }
    /// "Apply" on the font page: the shown font into the chosen target.
    void applyFont();
    /// "Set Default Fonts": every target to the default face and size.
    void setDefaultFonts();

    // Other page
    /// "Apply options and exit": stores the options, then checks the working folder;
    /// the dialog closes only when the folder is good.
    void applyOtherOptions();
    /// "Clear File/Folder History": asks, then empties both histories.
    void clearHistories();

    [[nodiscard]] QTabWidget* pages() const { return pages_; }

Q_SIGNALS:
    /// Colours, fonts or other options were stored in the settings.
    void optionsApplied();
    /// The file and folder histories were emptied in the settings.
    void historiesCleared();

private:
    QWidget* buildColourPage();
    QWidget* buildFontPage();
    QWidget* buildOtherPage();
    void showSample(const QColor& colour);
    void showPendingFont();
    [[nodiscard]] OtherOptions otherOptionsShown() const;

    Settings& settings_;
    Prompts& prompts_;
    FolderMaker makeFolder_;
    QTabWidget* pages_ = nullptr;

    ColourTarget colourTarget_ = ColourTarget::ViewWindowFg;
    QColor sample_;
    std::array<QRadioButton*, ColourTargetCount> colourTargets_{};
    std::array<QToolButton*, SwatchCount> swatches_{};
    std::array<QScrollBar*, 3> colourBars_{};
    std::array<QLabel*, 3> colourBarValues_{};
    QLabel* colourSample_ = nullptr;

    FontTarget fontTarget_ = FontTarget::Directory;
    FontSetting pendingFont_;
    std::array<QRadioButton*, FontTargetCount> fontTargets_{};
    QListWidget* fontList_ = nullptr;
    QLabel* sizeLabel_ = nullptr;
    QLabel* fontSample_ = nullptr;

    QCheckBox* unknownAsText_ = nullptr;
    QCheckBox* extensionNames_ = nullptr;
    QCheckBox* showSystemHidden_ = nullptr;
    QCheckBox* nextVersion_ = nullptr;
    QCheckBox* mouseOverFilter_ = nullptr;
    std::array<QRadioButton*, 3> selectionModes_{};
    QLineEdit* tempFolder_ = nullptr;
};
