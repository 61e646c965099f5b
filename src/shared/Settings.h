#pragma once

#include <QString>
#include <QStringList>
#include <array>

/// One view category: a name and its lower-case extensions without dots joined by ";".
struct ViewCategory {
    QString name;
    QString extensions;
};

/// A font as the profile stores it: face name and point size.
struct FontSetting {
    QString name = QStringLiteral("MS Sans Serif");
    double size = 8.25;
};

/// A window or control rectangle as the profile stores it.
struct Geometry {
    int width = 0;
    int height = 0;
    int left = 0;
    int top = 0;
    friend bool operator==(const Geometry&, const Geometry&) = default;
};

/// Fonts and sizes of the windows and controls. The settings hold them as last loaded
/// or saved; the main window fills one from its widgets so the profile needs none.
struct WindowState {
    FontSetting treeFont;
    FontSetting listFont;
    Geometry mainWindow;
    Geometry viewWindow;
    int treeWidth = 0;
    double treeHeight = 0;
    int listWidth = 0;
    double listHeight = 0;

    /// The state as last loaded or saved in `settings`.
    static WindowState from(const WindowState& settings) { return settings; }
};

/// Whether the options must be offered for saving when the window closes.
enum class SettingsChange {
    Unchanged,
    AskAtExit,  ///< something changed: "save options ?" at exit
    SavedByExit ///< "Exit" wrote the profile already: nothing to ask
};

/// The one set of user settings and frame state, passed to whoever needs it.
/// On/off options are integers: 1 on, 0 off.
struct Settings : WindowState {
    static constexpr int CategorySlots = 11;
    static constexpr int OtherCategory = 6;

    QString appFolder;   ///< program folder, always ending in "/"
    QString profilePath; ///< appFolder + "Lumara.pro" (or the per-user fallback)
    QString tempFolder;  ///< working folder, ending in "/"
    /// This run's own folder inside tempFolder (or in the system's temporary folder when
    /// tempFolder cannot hold it), ending in "/"; not saved, "" when none could be made.
    /// Everything Lumara extracts or copies for itself goes there, and it goes at exit.
    QString workFolder;
    int historySize = 10;

    bool tileHorizontal = false;
    bool showSystemHidden = false;
    bool unknownAsText = true;
    bool singleClickView = false;
    bool multiSelect = false;
    bool mouseOverFilter = false;
    bool nextVersionOnOverwrite = true;
    bool extensionNames = true;
    bool tabOrientation = false;
    bool tabColorSwap = false;

    FontSetting viewFont; ///< ViewFontName / ViewFontSize

    /// Folder tree bg/fg, file list bg/fg, view window bg/fg, as 0xRRGGBB.
    std::array<quint32, 6> colours{0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000, 0xFFFFFF, 0x000000};

    std::array<ViewCategory, CategorySlots> categories = defaultCategories();
    int categoryLast = 7;

    SettingsChange settingsChanged = SettingsChange::Unchanged;
    QString currentPattern = QStringLiteral("*.*");
    QString currentContentPattern = QStringLiteral("*");

    QStringList fileHistory;   ///< newest first
    QStringList folderHistory; ///< newest first, folders only (drives are not kept here)

    /// The eight default categories; slots 8..10 are empty.
    static std::array<ViewCategory, CategorySlots> defaultCategories();
    /// The default working folder: <system temp>/Dorared-<user>/.
    static QString defaultTempFolder();
};

inline const QString LineBreak = QStringLiteral("\r\n");
