#include "browse/NodeImages.h"

#include "platform/Volumes.h"

#include <gtest/gtest.h>

TEST(NodeImages, FolderKeysReadBackAsTheirImageAndVolumesUseOnlyThose)
{
    for (int i = 0; i <= int(FolderImage::Desktop); ++i)
        EXPECT_EQ(FolderImageOf(FolderImageKey(FolderImage(i))), FolderImage(i)) << i;
    using platform::VolumeKind;
    for (const VolumeKind kind : {VolumeKind::Removable, VolumeKind::Fixed, VolumeKind::Remote,
                                  VolumeKind::CdRom, VolumeKind::RamDisk, VolumeKind::Other})
        EXPECT_TRUE(FolderImageOf(platform::VolumeImage(kind))) << int(kind);
    EXPECT_EQ(FolderImageOf(platform::VolumeImage(VolumeKind::Removable)), FolderImage::Floppy);
    EXPECT_FALSE(FolderImageOf(u"Open")) << "keys are exact";
    EXPECT_FALSE(FolderImageOf(u""));
}

TEST(NodeImages, ListKeysNameCategoriesAndBasketEntriesKeepTheirsOnly)
{
    const auto image = [](QStringView key) { return ClassifyListImage(key).image; };
    for (int n = 14; n <= 20; ++n) {
        const ListImageKind plain = ClassifyListImage(QString::number(n));
        const ListImageKind entry = ClassifyListImage(u'k' + QString::number(n));
        EXPECT_EQ(plain.image, ListImage::Category);
        EXPECT_EQ(plain.category, n - 14);
        EXPECT_EQ(entry.image, ListImage::Category);
        EXPECT_EQ(entry.category, n - 14);
    }
    EXPECT_EQ(image(u"21"), ListImage::Uncategorised);
    EXPECT_EQ(image(u"k28"), ListImage::Missing);
    EXPECT_EQ(image(listimage::Missing), ListImage::Missing);
    EXPECT_EQ(image(listimage::BasketFile), ListImage::BasketFile);
    EXPECT_EQ(image(u"k27"), ListImage::Other) << "only the categories and a missing file";
    EXPECT_EQ(image(listimage::Folder), ListImage::Folder);
    EXPECT_EQ(image(listimage::AnyFile), ListImage::AnyFile);
    EXPECT_EQ(image(listimage::Ticked), ListImage::Ticked);
    EXPECT_EQ(image(u"13"), ListImage::Other);
    EXPECT_EQ(image(u"kx"), ListImage::Other);
    EXPECT_EQ(image(u""), ListImage::None);
}
