#include "browse/NodeImages.h"

#include <array>

namespace {

/// In the order of FolderImage.
const std::array<QString, 9>& folderKeys()
{
    static const std::array<QString, 9> keys{
        QStringLiteral("open"),   QStringLiteral("closed"), QStringLiteral("leaf"),
        QStringLiteral("floppy"), QStringLiteral("hard"),   QStringLiteral("cdrom"),
        QStringLiteral("net"),    QStringLiteral("desk"),   QStringLiteral("desktop")};
    return keys;
}

} // namespace

const QString& FolderImageKey(FolderImage image)
{
    return folderKeys()[size_t(image)];
}

std::optional<FolderImage> FolderImageOf(QStringView key)
{
    const std::array<QString, 9>& keys = folderKeys();
    for (size_t i = 0; i < keys.size(); ++i)
        if (key == keys[i])
            return FolderImage(i);
    return std::nullopt;
}

ListImageKind ClassifyListImage(QStringView key)
{
    if (key.isEmpty())
        return {};
    if (key == listimage::Ticked)
        return {ListImage::Ticked};
    // The "k" of a basket file's entries carries over the categories and the missing file.
    const bool entry = key.startsWith(u'k');
    bool isNumber = false;
    const int number = (entry ? key.mid(1) : key).toInt(&isNumber);
    if (!isNumber)
        return {ListImage::Other};
    if (number >= listimage::FirstCategory && number < listimage::Uncategorised)
        return {ListImage::Category, number - listimage::FirstCategory};
    if (number == listimage::Uncategorised)
        return {ListImage::Uncategorised};
    if (number == 28)
        return {ListImage::Missing};
    if (entry)
        return {ListImage::Other};
    switch (number) {
    case 1:
        return {ListImage::Folder};
    case 3:
        return {ListImage::AnyFile};
    case 27:
        return {ListImage::BasketFile};
    default:
        return {ListImage::Other};
    }
}
