#pragma once

#include <QByteArray>
#include <QString>

class Prompts;
struct archive;
struct archive_entry;

/// The state of libarchive's password callback for one read of a zip: the question is
/// asked at most once.
struct ZipPasswordState {
    Prompts* prompts = nullptr; ///< not owned
    bool asked = false;
    QByteArray answer;
};

/// libarchive's passphrase callback over a ZipPasswordState: asks for the password in a
/// masked box, once; null when the user gave none.
const char* AskZipPassword(archive*, void* state);

/// True when the entry goes by `name`: as libarchive reads it, as the name's own bytes
/// (see platform/FileNames.h), or as the directory reader shows a name that is not
/// UTF-8, so every name a listing offers reaches its entry.
[[nodiscard]] bool EntryIsNamed(archive_entry* entry, const QString& name);
