#pragma once

#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

/// Writes zip archives (deflate) from a list of file sources, like the Info-ZIP library it
/// stands in for: an existing zip keeps its other entries, two files under one stored
/// name make the whole zip fail, and the zip file is written beside its place and
/// renamed into it, so a failure leaves any old zip whole.
class ZipJob {
public:
    QString ZipFile;
    /// Folder that relative sources (and, with folder names, stored paths) start from;
    /// used in place of changing the current directory.
    QString BasePath;
    bool Encrypt = false; ///< traditional zip encryption; PasswordRequest gives the password
    bool IncludeSystemAndHiddenFiles = false; ///< files found by folders or wildcards
    bool StoreVolumeLabel = false;            ///< kept for callers; Linux has no volume entry
    bool StoreDirectories = false;            ///< folder entries of recursed folders
    bool StoreFolderNames = false;            ///< off: only the file name is stored
    bool RecurseSubDirs = false;              ///< folder sources and wildcards go down
    bool UpdateOnlyIfNewer = false; ///< an existing entry is replaced only by a newer file
    bool FreshenFiles = false;      ///< only existing entries are replaced, when newer
    int MessageLevel = 0;           ///< kept for callers; nothing is printed
    bool ConvertCRLFToLF = false;   ///< text files only (no NUL byte)
    bool ConvertLFToCRLF = false;
    bool AllowAppend = false; ///< kept for callers; existing entries are always kept

    void ClearFileSpecs() { specs_.clear(); }
    void AddFileSpec(const QString& path) { specs_.append(path); }
    [[nodiscard]] int FileSpecCount() const { return int(specs_.size()); }
    /// The source at 0-based `index`; "" outside the list.
    [[nodiscard]] QString FileSpec(int index) const { return specs_.value(index); }
    [[nodiscard]] const QStringList& sources() const { return specs_; }

    /// Adds (or replaces) the sources' files in ZipFile. False when nothing was written:
    /// no files, duplicate stored names, a cancel, an unreadable old zip or an I/O error.
    bool Zip();
    /// Removes the entries the sources name (stored names, wildcards allowed).
    bool Delete();

    /// Why the last Zip() or Delete() wrote nothing, with the system's reason where there
    /// is one; "" after a success.
    QString LastError;
    /// LastError when two files would be stored under one name.
    static inline const QString DuplicateNamesText =
        QStringLiteral("two files would be stored under one name");

    std::function<bool()> Cancel; ///< asked between files; true abandons the zip
    std::function<std::optional<QString>()> PasswordRequest;
    std::function<void(const QString& name, int percent)> Progress;

private:
    bool write(bool deleting);
    QStringList specs_;
};
