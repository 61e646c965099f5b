#pragma once

#include <QString>
#include <functional>

struct Settings;

/// How files of the list are selected and viewed: the three option buttons.
enum class SelectionMode { None, MultiSelect, SingleClickView };

/// The "Other" page: the check boxes, the selection mode and the working folder text.
struct OtherOptions {
    bool unknownAsText = false;
    bool extensionNames = false;
    bool showSystemHidden = false;
    bool nextVersionOnOverwrite = false;
    bool mouseOverFilter = false;
    SelectionMode selection = SelectionMode::None;
    QString tempFolder;
};

/// The page as the settings fill it; an empty working folder shows the default one.
[[nodiscard]] OtherOptions OtherOptionsOf(const Settings& settings);
/// Stores the check boxes and the selection mode (not the working folder) as 1 or 0.
void StoreOtherOptions(Settings& settings, const OtherOptions& options);

inline const QString IncorrectDirectoryMessage = QStringLiteral("incorrect directory name");
inline const QString CouldNotCreateDirectoryMessage =
    QStringLiteral("could not create temporary directory:");
inline const QString TempFolderNote =
    QStringLiteral("Note that this temporary folder will be deleted on exit from the program");

/// Creates a working folder when it is missing; false when it cannot be made.
using FolderMaker = std::function<bool(const QString& folder)>;

/// The outcome of checking the working folder text: the folder (ending in "/") or the
/// message to show.
struct TempFolderCheck {
    QString folder;
    QString message; ///< "" when the folder is good
    [[nodiscard]] bool ok() const { return message.isEmpty(); }
};

/// Checks the text of the working folder field: shorter than 4 characters (blanks
/// around it do not count) or not an absolute path gives "incorrect directory name";
/// a folder that `make` cannot create gives "could not create temporary directory:"
/// followed by the folder on the next line.
[[nodiscard]] TempFolderCheck CheckTempFolder(const QString& text, const FolderMaker& make);
