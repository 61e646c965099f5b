#include "basket/gui/BasketMenu.h"

#include <QAction>
#include <QMenu>

BasketMenu::BasketMenu(QWidget* owner) : MenuCommand(owner)
{
    menu = popup(QStringLiteral("BasketMenu"), owner);
    const QString defaultCaption = QStringLiteral("Default");
    delete_ = item(menu, QStringLiteral("Delete filename from Basket"), Code::Delete);
    copyTo = menu->addMenu(QStringLiteral("Copy RadeZazeda to:"));
    copyDefault = item(copyTo, defaultCaption, Code::CopyDefault);
    copySelected = item(copyTo, QStringLiteral("Selected Directory"), Code::CopySelected);
    zipTo = menu->addMenu(QStringLiteral("Zip RadeZazeda to:"));
    zipDefault = item(zipTo, defaultCaption, Code::ZipDefault);
    zipSelected = item(zipTo, QStringLiteral("Selected File"), Code::ZipSelected);
    stampTo = menu->addMenu(QStringLiteral("Timestamp RadeZazeda to:"));
    stampDefault = item(stampTo, defaultCaption, Code::StampDefault);
    stampSelected = item(stampTo, QStringLiteral("Selected Directory"), Code::StampSelected);
    saveTo = menu->addMenu(QStringLiteral("Save RadeZazeda to"));
    saveDefault = item(saveTo, defaultCaption, Code::SaveDefault);
    saveSelected = item(saveTo, QStringLiteral("Selected File"), Code::SaveSelected);
    // The save target is proposed when its sub-menu opens.
    connect(saveTo, &QMenu::aboutToShow, this, [this] {
        if (saveTarget_.isEmpty())
            setSaveTarget(saveTarget());
    });
    menu->addSeparator();
    thumbnails = item(menu, QStringLiteral("Picture thumbnails"), Code::Thumbnails);
    properties = item(menu, QStringLiteral("Properties"), Code::Properties);
    showHide = item(menu, QStringLiteral("Show/hide Radezazeda"), Code::ShowHide);
    clear = item(menu, QStringLiteral("Clear RadeZazeda"), Code::Clear);
    menu->addSeparator();
    cancel = item(menu, QStringLiteral("Cancel"));
}

bool BasketMenu::isUnset(const QAction* item)
{
    return item->text().isEmpty() || item->text() == QLatin1String("Default");
}

void BasketMenu::prepare(bool wholeBasket, const QString& folder)
{
    copyTo->setTitle(wholeBasket ? QStringLiteral("Copy RadeZazeda to:")
                                 : QStringLiteral("Copy one file to:"));
    zipTo->setTitle(wholeBasket ? QStringLiteral("Zip RadeZazeda to:")
                                : QStringLiteral("Zip one file to:"));
    delete_->setVisible(!wholeBasket);
    showHide->setVisible(wholeBasket);
    clear->setVisible(wholeBasket);
    thumbnails->setVisible(wholeBasket);
    for (QAction* item : {copyDefault, stampDefault})
        if (isUnset(item))
            item->setText(folder);
    if (zipTarget_.isEmpty())
        setZipTarget(folder + QStringLiteral("temp.zip"));
    saveFolder = folder;
}

void BasketMenu::setZipTarget(const QString& path)
{
    zipTarget_ = path;
    zipDefault->setText(path);
}

QString BasketMenu::saveTarget() const
{
    return saveTarget_.isEmpty() ? saveFolder + QStringLiteral("temp.bsk") : saveTarget_;
}

void BasketMenu::setSaveTarget(const QString& path)
{
    saveTarget_ = path;
    saveDefault->setText(path);
}

BasketMenu::Code BasketMenu::exec(const QPoint& globalPos)
{
    return run<Code>(menu, globalPos);
}
