#include "browse/gui/FileListPanel.h"

#include "browse/FilterTabs.h"
#include "browse/FolderListing.h"
#include "browse/NodeImages.h"
#include "browse/gui/FileListMenus.h"
#include "controls/KivTabs.h"
#include "controls/gui/NodeTreeModel.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/ThemeIcons.h"
#include "controls/gui/WindowGuards.h"
#include "platform/Prompts.h"
#include "platform/gui/Clipboard.h"
#include "shared/Settings.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPainter>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

FileListPanel::FileListPanel(Settings& settings, Prompts& prompts, const FileTreeBuilder& trees,
                             QWidget* parent)
    : QWidget(parent), settings_(settings), prompts_(prompts), trees_(trees)
{
    menus_ = new FileListMenus(this);
    connect(menus_->files.copyList, &QAction::triggered, this, &FileListPanel::copyListToClipboard);
    state_.setListPattern(settings_.currentPattern);
    model_ = std::make_unique<NodeTreeModel>(state_.tree(), [this](NodeTree::Id id, bool expanded) {
        state_.setNodeExpanded(id, expanded);
    });
    model_->setNodeIconProvider(
        [this](NodeTree::Id id, const QString& image) { return iconFor(id, image); });
    buildLayout();
    view_->setNodeModel(model_.get());
    view_->installEventFilter(this);
    view_->viewport()->installEventFilter(this);
    fileTypeText_->installEventFilter(this);
    // The label follows the list's caption, whoever changes it.
    connect(&state_, &FileList::captionChanged, fileTypeText_, &QLabel::setText);
    showStatus();
}

// The model goes before the child view; the view falls back to an empty model.
FileListPanel::~FileListPanel()
{
    // Whatever hangs off the panel (tree buttons, tab strip, menus) may borrow its state:
    // let it all go while the state is still here. The panel's own filters go first, or
    // they would see the list half torn down. Listings under way end into nothing.
    stopListings();
    view_->viewport()->removeEventFilter(this);
    view_->removeEventFilter(this);
    fileTypeText_->removeEventFilter(this);
    while (!children().isEmpty())
        delete children().constFirst();
    waitForDisposer();
}

void FileListPanel::buildLayout()
{
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->setSpacing(2);

    tabSlot_ = new QVBoxLayout;
    tabSlot_->setContentsMargins(0, 0, 0, 0);
    outer->addLayout(tabSlot_);

    auto* bar = new QHBoxLayout;
    bar->setContentsMargins(0, 0, 0, 0);
    fileTypeText_ = new QLabel(this);
    fileTypeText_->setObjectName(QStringLiteral("FileTypeText"));
    fileTypeText_->setCursor(Qt::PointingHandCursor);
    bar->addWidget(fileTypeText_, 1);
    buttonSlot_ = new QHBoxLayout;
    buttonSlot_->setContentsMargins(0, 0, 0, 0);
    bar->addLayout(buttonSlot_);
    refreshButton_ = new QToolButton(this);
    refreshButton_->setObjectName(QStringLiteral("RefreshList"));
    refreshButton_->setIcon(style()->standardIcon(QStyle::SP_BrowserReload));
    refreshButton_->setToolTip(QStringLiteral("Refresh"));
    connect(refreshButton_, &QToolButton::clicked, this, &FileListPanel::refresh);
    bar->addWidget(refreshButton_);
    outer->addLayout(bar);

    auto* body = new QHBoxLayout;
    body->setContentsMargins(0, 0, 0, 0);
    body->setSpacing(2);
    sideTabSlot_ = new QVBoxLayout;
    sideTabSlot_->setContentsMargins(0, 0, 0, 0);
    body->addLayout(sideTabSlot_);
    view_ = new NodeTreeView(this);
    view_->setObjectName(QStringLiteral("File1t"));
    view_->setMouseTracking(true);
    body->addWidget(view_, 1);
    outer->addLayout(body, 1);
}

namespace {

// A page with a folded corner in the colour of its file-type category.
QIcon pageIcon(const QColor& fill)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    const QPolygon page{{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}};
    p.setPen(QColor(64, 64, 64));
    p.setBrush(fill);
    p.drawPolygon(page);
    p.drawPolyline(QPolygon{{10, 1}, {10, 4}, {13, 4}});
    return QIcon(pixmap);
}

// A grey page crossed out: a file that is not there (image 28).
QIcon missingIcon()
{
    QPixmap pixmap = pageIcon(QColor(220, 220, 220)).pixmap(16, 16);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(200, 0, 0), 2));
    p.drawLine(4, 5, 12, 13);
    p.drawLine(12, 5, 4, 13);
    return QIcon(pixmap);
}

} // namespace

QIcon FileListPanel::iconFor(NodeTree::Id id, const QString& image) const
{
    // A group of a grouped tree shows as a group whatever its first file's image.
    if (ClassifyFileNode(state_, id) == FileNodeKind::Group) {
        const bool open = state_.tree().node(id).expanded;
        return style()->standardIcon(open ? QStyle::SP_DirOpenIcon : QStyle::SP_DirClosedIcon);
    }
    // Uncoloured files show their type as the desktop's icon theme draws it.
    if (image == listimage::AnyFile)
        return ThemeIcons::forFileName(state_.tree().node(id).text, imageIcon(image));
    return imageIcon(image);
}

QIcon FileListPanel::imageIcon(const QString& image) const
{
    auto cached = icons_.constFind(image);
    if (cached != icons_.constEnd())
        return *cached;
    const ListImageKind kind = ClassifyListImage(image);
    QIcon icon;
    switch (kind.image) {
    case ListImage::None:
        return {};
    case ListImage::Missing:
        icon = missingIcon();
        break;
    case ListImage::Category:
        icon = pageIcon(KivTabs::TranslateColor(CategoryColour(kind.category)));
        break;
    case ListImage::Uncategorised:
        icon = pageIcon(QColor(Qt::white));
        break;
    case ListImage::Ticked:
        icon = style()->standardIcon(QStyle::SP_DialogApplyButton);
        break;
    case ListImage::Folder:
        icon = style()->standardIcon(QStyle::SP_DirOpenIcon);
        break;
    case ListImage::BasketFile:
        icon = style()->standardIcon(QStyle::SP_DriveHDIcon);
        break;
    case ListImage::AnyFile:
    case ListImage::Other:
        icon = style()->standardIcon(QStyle::SP_FileIcon);
        break;
    }
    icons_.insert(image, icon);
    return icon;
}

void FileListPanel::refresh()
{
    if (state_.setup().currentFolder.isEmpty()) {
        if (deferWhileBusy([this] { refresh(); }))
            return;
        // The basket is rebuilt from its backing list; nothing to read.
        RefreshFileList(state_, settings_, trees_);
        return;
    }
    openFolder(state_.setup().currentFolder);
}

void FileListPanel::showStatus()
{
    fileTypeText_->setText(state_.setup().statusCaption);
}

void FileListPanel::copyListToClipboard()
{
    if (state_.tree().count() == 0) {
        prompts_.message(QStringLiteral("nothing to copy"));
        return;
    }
    platform::copyTextToClipboard(CopyListText(state_.tree()));
    prompts_.message(QStringLiteral("tree copied to clipboard"));
}
