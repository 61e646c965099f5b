#include "options/OtherOptions.h"

#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QDir>

OtherOptions OtherOptionsOf(const Settings& settings)
{
    OtherOptions o;
    o.unknownAsText = settings.unknownAsText;
    o.extensionNames = settings.extensionNames;
    o.showSystemHidden = settings.showSystemHidden;
    o.nextVersionOnOverwrite = settings.nextVersionOnOverwrite;
    o.mouseOverFilter = settings.mouseOverFilter;
    if (settings.multiSelect)
        o.selection = SelectionMode::MultiSelect;
    else if (settings.singleClickView)
        o.selection = SelectionMode::SingleClickView;
    o.tempFolder =
        settings.tempFolder.isEmpty() ? Settings::defaultTempFolder() : settings.tempFolder;
    return o;
}

void StoreOtherOptions(Settings& settings, const OtherOptions& o)
{
    settings.unknownAsText = o.unknownAsText;
    settings.extensionNames = o.extensionNames;
    settings.showSystemHidden = o.showSystemHidden;
    settings.nextVersionOnOverwrite = o.nextVersionOnOverwrite;
    settings.mouseOverFilter = o.mouseOverFilter;
    settings.multiSelect = o.selection == SelectionMode::MultiSelect;
    settings.singleClickView = o.selection == SelectionMode::SingleClickView;
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
