#pragma once

#include "platform/FileSystem.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <array>

class Prompts;

/// The 23 property values of one file: 0..13 pair with FilePropertyLabels(), 14..21
/// with the attribute boxes ("True"/"False", 16 Directory always empty), 22 says where
/// the creation time came from.
using FilePropertyValues = std::array<QString, 23>;

/// What GetFileInfo found.
struct FileInfoResult {
    FilePropertyValues values;
    bool found = false;      ///< false: the file could not be read, values are empty
    QString problem;         ///< why it could not be read (the system's text) when not found
    bool birthKnown = false; ///< false: the creation time is the last status change
};

/// The captions of values 0..13 ("Company Name ", "CreationTime ", ...).
[[nodiscard]] const QStringList& FilePropertyLabels();
/// The captions of the attribute boxes, values 14..21 ("Archive" ... "Temporary").
[[nodiscard]] const QStringList& AttributeBoxNames();
/// Every caption of the 23 values, for one-line-per-value reports.
[[nodiscard]] QStringList AllPropertyCaptions();

/// Gathers the properties of `path`. The length is written "1,234,567" unless
/// `gatherOnly`, which keeps the raw digits. Version strings come from a Windows
/// version resource when the file is a PE program and stay empty otherwise.
[[nodiscard]] FileInfoResult GetFileInfo(const QString& path, bool gatherOnly);

/// The caption of an archive's entry count in the properties.
[[nodiscard]] QString ArchiveEntriesCaption();
/// An archive's entry count as the properties show it: the count request's text
/// without its "X", then " files" (" 4 files"); "" for a file that is no archive.
[[nodiscard]] QString ArchiveEntryCountText(const QString& path, Prompts& prompts);

/// "5 Mar 2004 - 9:7:3" of the creation (which 0) or last-write (which 1) time; empty
/// when the file cannot be read.
[[nodiscard]] QString DateTimeText(const QString& path, int which);

/// "05Mar2004^09_07_03" of the file's creation time; empty when it cannot be read.
[[nodiscard]] QString TimestampName(const QString& path);
/// The timestamp name of one moment (its calendar fields as they stand).
[[nodiscard]] QString TimestampNameOf(const QDateTime& when);

/// The file's type name, at most 80 characters; "unknown" when there is none.
[[nodiscard]] QString FileTypeName(const QString& path);

/// Length digits grouped by thousands: 1234567 gives "1,234,567".
[[nodiscard]] QString GroupedLength(qint64 length);

/// The attribute boxes a user can tick in the properties dialog.
struct AttributeChoice {
    bool archive = false;
    bool hidden = false;
    bool readOnly = false;
    bool system = false;
};

/// Applies the boxes to the file: ReadOnly changes the owner's write permission;
/// Hidden, System and Archive cannot be set on Linux and the message says so when they
/// differ from the file (nothing is renamed). Shows "attributes set for file:" and the
/// path, or "error in setting file attributes". Returns true when the change was made.
bool ApplyAttributes(const QString& path, const AttributeChoice& choice, Prompts& prompts);
