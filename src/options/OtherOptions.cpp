#include "options/OtherOptions.h"

#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QDir>

namespace {

int flag(bool on)
{
    return on ? 1 : 0;
}

} // namespace

OtherOptions OtherOptionsOf(const Settings& settings)
{
    OtherOptions o;
    o.unknownAsText = settings.unknownAsText == 1;
    o.extensionNames = settings.extensionNames == 1;
    o.showSystemHidden = settings.showSystemHidden == 1;
    o.nextVersionOnOverwrite = settings.nextVersionOnOverwrite == 1;
    o.mouseOverFilter = settings.mouseOverFilter == 1;
    if (settings.multiSelect == 1)
        o.selection = SelectionMode::MultiSelect;
    else if (settings.singleClickView == 1)
        o.selection = SelectionMode::SingleClickView;
    o.tempFolder =
        settings.tempFolder.isEmpty() ? Settings::defaultTempFolder() : settings.tempFolder;
    return o;
}

void StoreOtherOptions(Settings& settings, const OtherOptions& o)
{
    settings.unknownAsText = flag(o.unknownAsText);
    settings.extensionNames = flag(o.extensionNames);
    settings.showSystemHidden = flag(o.showSystemHidden);
    settings.nextVersionOnOverwrite = flag(o.nextVersionOnOverwrite);
    settings.mouseOverFilter = flag(o.mouseOverFilter);
    settings.multiSelect = flag(o.selection == SelectionMode::MultiSelect);
    settings.singleClickView = flag(o.selection == SelectionMode::SingleClickView);
}

TempFolderCheck CheckTempFolder(const QString& text, const FolderMaker& make)
{
    const QString name = text.trimmed();
    // A relative name would land wherever the program happened to start.
    if (name.size() < 4 || !QDir::isAbsolutePath(name))
        return {{}, IncorrectDirectoryMessage};
    const QString folder = WithSlash(QDir::cleanPath(name));
    if (!make || !make(folder))
        return {{}, CouldNotCreateDirectoryMessage + LineBreak + folder};
    return {folder, {}};
}
