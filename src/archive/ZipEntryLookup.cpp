#include "archive/ZipEntryLookup.h"

#include "archive/ByteCursor.h"
#include "platform/FileNames.h"
#include "platform/Prompts.h"

#include <archive.h>
#include <archive_entry.h>
#include <optional>

const char* AskZipPassword(archive*, void* data)
{
    auto* state = static_cast<ZipPasswordState*>(data);
    if (state->asked)
        return nullptr;
    state->asked = true;
    const std::optional<QString> text = state->prompts->password(
        QStringLiteral("Please Enter The Password!"), QStringLiteral("Password"));
    if (!text)
        return nullptr;
    state->answer = text->left(256).toUtf8();
    return state->answer.constData();
}

bool EntryIsNamed(archive_entry* entry, const QString& name)
{
    if (const char* utf8 = archive_entry_pathname_utf8(entry);
        utf8 && QString::fromUtf8(utf8) == name)
        return true;
    const char* raw = archive_entry_pathname(entry);
    if (!raw)
        return false;
    const QByteArray bytes(raw);
    return platform::decodeFileName(bytes) == name || EntryNameText(bytes) == name;
}
