#include "platform/gui/Clipboard.h"

#include "platform/FileNames.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void copyTextToClipboard(const QString& text)
{
    QClipboard* clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(readableFileName(text));
}

} // namespace platform
