#include "basket/FolderDrops.h"

#include "basket/Basket.h"
#include "basket/BasketCopy.h"
#include "basket/BasketFile.h"
#include "basket/BasketFileList.h"
#include "platform/FileSystem.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

namespace {

const QString CopyTitle = QStringLiteral("Copy");

bool isFolder(const QString& path)
{
    const std::optional<platform::FileEntry> entry = platform::statFile(path);
    return entry && entry->attributes.testFlag(platform::FileAttribute::Directory);
}

} // namespace

bool DropBasketOnFolder(const Basket& basket, const QString& folder, Prompts& prompts,
                        DropCopier& copier)
{
    if (basket.empty()) {
        prompts.message(QStringLiteral("RadeZazeda is empty"));
        return false;
    }
    if (!prompts.askYesNo(QStringLiteral("copy") + NumText(basket.entries()) +
                              QStringLiteral(" files in RadeZazeda to: ") + folder,
                          QStringLiteral("Copy RadeZazeda")))
        return false;
    copier.copyBasketRows(folder, 1, basket.entries());
    return true;
}

bool DropFilesOnFolder(const FilesDrop& drop, const QString& folder, bool nextVersionOnOverwrite,
                       Prompts& prompts, DropCopier& copier)
{
    if (drop.sources.isEmpty())
        return false;
    const bool wholeList = drop.set == DraggedSet::WholeList;
    if (wholeList && folder.compare(drop.listedFolder, Qt::CaseInsensitive) == 0) {
        prompts.message(QStringLiteral("source and destination directory are same"));
        return false;
    }
    if (!wholeList && drop.set != DraggedSet::Group && drop.sources.size() == 1)
        return CopySingleFile(drop.sources.first(), folder, nextVersionOnOverwrite, prompts);
    const QString count = NumText(qint64(drop.sources.size()));
    const QString question =
        wholeList
            ? QStringLiteral("copy") + count + QStringLiteral(" files shown in folder:") +
                  LineBreak + drop.listedFolder + LineBreak + QStringLiteral("to") + LineBreak +
                  folder
            : QStringLiteral("copy") + count + QStringLiteral(" files to") + LineBreak + folder;
    if (!prompts.askYesNo(question, CopyTitle))
        return false;
    copier.copyFiles(drop.sources, folder);
    return true;
}

QStringList FilesAmong(const QStringList& paths)
{
    QStringList files;
    for (const QString& path : paths)
        if (!isFolder(path))
            files << path;
    return files;
}

void RefuseListedBasketDrop(Prompts& prompts)
{
    prompts.message(
        QStringLiteral("In order to copy RadeZazeda, drag-drop RadeZazeda icon to Folder Tree"),
        CopyTitle);
}

int AddDroppedPaths(Basket& basket, const QStringList& paths, const Settings& settings)
{
    int added = 0;
    QStringList files;
    for (const QString& path : paths) {
        if (isFolder(path))
            added += AddFolderToBasket(basket, path, settings);
        else if (!IsBasketFile(path, settings))
            files << path;
    }
    const bool one = files.size() == 1;
    const int before = basket.entries();
    {
        BasketBatch batch(basket);
        for (const QString& file : files) {
            const qsizetype slash = file.lastIndexOf(u'/');
            basket.AddFileToBasket(file.left(slash + 1), file.mid(slash + 1), NodeSource::File,
                                   QString(),
                                   one ? Basket::Notice::Announce : Basket::Notice::Silent);
        }
    }
    const int addedFiles = basket.entries() - before;
    if (files.size() > 1)
        basket.prompts().message(NumText(addedFiles) + QStringLiteral(" files added to RadeZazeda"),
                                 Basket::Title);
    return added + addedFiles;
}
