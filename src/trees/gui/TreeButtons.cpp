#include "trees/gui/TreeButtons.h"

#include "browse/FileList.h"
#include "controls/gui/NodeTreeView.h"
#include "controls/gui/WindowGuards.h"
#include "shared/Settings.h"
#include "trees/PlainSort.h"
#include "trees/TreeContext.h"
#include "trees/TreeRebuild.h"
#include "trees/gui/TreeMenus.h"

#include <QAction>
#include <QHBoxLayout>
#include <QMenu>
#include <QPainter>
#include <QPointer>
#include <QToolButton>

namespace {

enum class Face { Plain, Grouped, Unsorted, Ascending, Descending };

/// The buttons' small pictures, drawn so that they look the same on every theme.
QIcon faceIcon(Face face)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setPen(QPen(QColor(40, 40, 40), 1.5));
    switch (face) {
    case Face::Plain:
        for (int y = 3; y <= 13; y += 5)
            p.drawLine(3, y, 13, y);
        break;
    case Face::Grouped:
        p.drawLine(3, 3, 10, 3);
        p.drawLine(4, 3, 4, 13);
        p.drawLine(4, 8, 13, 8);
        p.drawLine(4, 13, 13, 13);
        break;
    case Face::Unsorted:
        p.drawLine(3, 4, 13, 4);
        p.drawLine(3, 8, 9, 8);
        p.drawLine(3, 12, 11, 12);
        break;
    case Face::Ascending:
    case Face::Descending: {
        const bool up = face == Face::Ascending;
        p.drawLine(5, 2, 5, 14);
        p.drawLine(2, up ? 5 : 11, 5, up ? 2 : 14);
        p.drawLine(8, up ? 5 : 11, 5, up ? 2 : 14);
        for (int i = 0; i < 3; ++i)
            p.drawLine(10, 4 + 4 * i, 10 + (up ? 2 + i * 2 : 6 - i * 2), 4 + 4 * i);
        break;
    }
    }
    return QIcon(pixmap);
}

QToolButton* makeButton(const QString& name, QWidget* parent)
{
    auto* button = new QToolButton(parent);
    button->setObjectName(name);
    button->setAutoRaise(true);
    return button;
}

} // namespace

TreeButtons::TreeButtons(FileList& state, NodeTreeView& list, Settings& settings, QWidget* owner)
    : QObject(owner), state_(state), list_(list), settings_(settings)
{
    menus_ = new TreeMenus(owner);
    sortList_ = makeButton(QStringLiteral("SortList"), owner);
    swapExtTree_ = makeButton(QStringLiteral("SwapExtTree"), owner);
    connect(sortList_, &QToolButton::clicked, this, &TreeButtons::sortButtonReleased);
    connect(swapExtTree_, &QToolButton::clicked, this, &TreeButtons::treeButtonReleased);
    connectMenus();
    // The faces follow the list's set-up, whoever changes it.
    connect(&state_, &FileList::setupChanged, this, &TreeButtons::refreshFaces);
    refreshFaces();
}

void TreeButtons::connectMenus()
{
    TreeMenus::TreeformatMenu& t = menus_->treeformat;
    const auto entry = [this](QAction* action, std::optional<TreeType> choice,
                              std::optional<DateBasis> basis) {
        if (action)
            connect(action, &QAction::triggered, this,
                    [this, choice, basis] { ChooseTreeEntry(state_, buttons_, choice, basis); });
    };
    entry(t.nameTree, TreeType::PlainList, std::nullopt);
    entry(t.extensionTree, TreeType::Extension, std::nullopt);
    entry(t.sizeTree, TreeType::Size, std::nullopt);
    entry(t.dateByCreation, TreeType::Date, DateBasis::Created);
    entry(t.dateByLastUpdated, TreeType::Date, DateBasis::Modified);
    entry(t.ageByCreation, TreeType::Age, DateBasis::Created);
    entry(t.ageByLastUpdated, TreeType::Age, DateBasis::Modified);
    entry(t.cancel, std::nullopt, std::nullopt);

    TreeMenus::SortMenu& s = menus_->sort;
    const auto sortItem = [this](QAction* action, SortChoice choice) {
        if (action)
            connect(action, &QAction::triggered, this, [this, choice] { sortChoice_ = choice; });
    };
    sortItem(s.byName, SortChoice::ByName);
    sortItem(s.byExtension, SortChoice::ByExtension);
    sortItem(s.bySize, SortChoice::BySize);
    sortItem(s.cancel, SortChoice::None);
    sortItem(s.descending, SortChoice::Direction);
}

void TreeButtons::applyOffers()
{
    TreeMenus::TreeformatMenu& t = menus_->treeformat;
    t.nameTree->setVisible(buttons_.offerNameTree);
    t.extensionTree->setVisible(buttons_.offerExtensionTree);
    t.sizeTree->setVisible(buttons_.offerSizeTree);
    t.dateTree->menuAction()->setVisible(buttons_.offerDateTree);
    TreeMenus::SortMenu& s = menus_->sort;
    s.byName->setVisible(buttons_.offerSortBy);
    s.byExtension->setVisible(buttons_.offerSortBy);
    s.bySize->setVisible(buttons_.offerSortBy);
    s.descending->setVisible(buttons_.offerDirectionItem);
    s.descending->setText(buttons_.directionCaption);
}

bool TreeButtons::deferred(std::function<void()> input)
{
    return DeferWhileBusy(rebuilder_, [self = QPointer(this), input = std::move(input)] {
        if (self)
            input();
    });
}

void TreeButtons::treeButtonReleased()
{
    if (deferred([this] { treeButtonReleased(); }) || !ButtonsUsable(state_))
        return;
    applyOffers();
    menus_->run(menus_->treeformat.menu,
                swapExtTree_->mapToGlobal(QPoint(0, swapExtTree_->height())));
    // The chosen item has acted already: its trigger is delivered inside the menu's run.
    applyTreeChoice();
}

void TreeButtons::chooseTree(TreeType type, std::optional<DateBasis> dateBasis)
{
    if (deferred([this, type, dateBasis] { chooseTree(type, dateBasis); }))
        return;
    ChooseTreeEntry(state_, buttons_, type, dateBasis);
    applyTreeChoice();
}

void TreeButtons::applyTreeChoice()
{
    if (deferred([this] { applyTreeChoice(); }))
        return;
    // The rebuild may run on another thread: it writes a copy of the buttons' state,
    // taken over with the list.
    auto buttons = std::make_shared<TreeButtonState>(buttons_);
    const int shown = state_.tree().count();
    const auto rebuild = [buttons, shown](FileList& state, const Settings& settings,
                                          platform::ReadWatch*) {
        standInTree(state, settings, shown, false);
        return RunTreeChoice(state, *buttons, TreeContext::live(settings),
                             [&settings](FileList& s) {
                                 BuildNameList(s, settings);
                                 return s.tree().count() - 1;
                             });
    };
    // A newer listing that took this one's place shows its own list.
    RunListRebuild(rebuilder_, state_, settings_, rebuild, false,
                   [self = QPointer(this), buttons](int count) {
                       if (!self)
                           return;
                       self->buttons_ = *buttons;
                       self->finish(count);
                       self->list_.setFocus();
                   });
}

void TreeButtons::sortButtonReleased()
{
    if (deferred([this] { sortButtonReleased(); }) || !prepareSortMenu())
        return;
    sortChoice_ = SortChoice::None;
    menus_->run(menus_->sort.menu, sortList_->mapToGlobal(QPoint(0, sortList_->height())));
    chooseSort(sortChoice_);
}

bool TreeButtons::prepareSortMenu()
{
    if (!OpenSortMenu(state_, buttons_))
        return false;
    refreshFaces(); // the menu's own items and captions
    return true;
}

void TreeButtons::chooseSort(SortChoice choice)
{
    if (deferred([this, choice] { chooseSort(choice); }))
        return;
    sortChoice_ = SortChoice::None;
    if (choice == SortChoice::None)
        return; // a dismissed menu still flipped the direction: the faces followed it
    const int shown = state_.tree().count();
    ListRebuilder* rebuilder = sortRebuilder();
    // A flat list sorted on a copy is sorted by its names alone: the shown rows change
    // places when the copy is taken over, and no second tree is built meanwhile.
    std::optional<QString> flatRoot;
    if (rebuilder && choice != SortChoice::Direction && IsFlatNameList(state_))
        flatRoot = state_.tree().node(state_.tree().root()).text;
    RunListRebuild(
        rebuilder, state_, settings_,
        [choice, shown, flatRoot](FileList& state, const Settings& settings, platform::ReadWatch*) {
            if (!flatRoot)
                standInTree(state, settings, shown, choice != SortChoice::Direction);
            return RunSortChoice(state, TreeContext::live(settings), choice, flatRoot);
        },
        false,
        [self = QPointer(this)](int count) {
            if (!self)
                return;
            self->finish(count);
            self->list_.setFocus();
        });
}

void TreeButtons::standInTree(FileList& state, const Settings& settings, int shownCount,
                              bool wholeList)
{
    if (state.tree().count() != 0 || shownCount == 0 || state.listedNames().ListCount() == 0)
        return;
    if (wholeList)
        BuildNameList(state, settings);
    else
        state.rebuildTree(
            [&state](NodeTree& tree) { AddFileListRoot(tree, state.listedNames().list(0)); });
}

ListRebuilder* TreeButtons::sortRebuilder() const
{
    // The plain sorts read the shown list's nodes, which another thread must not. A flat
    // list (no archive opened below a file) holds just listedNames's entries in order, so
    // its copy sorts those names (or, with a file ticked, rebuilds them); a grouped tree is
    // built from listedNames alone.
    const NodeTree& tree = state_.tree();
    const bool flat = tree.count() >= 3 && tree.count() == state_.listedNames().ListCount() &&
                      tree.roots().size() == 1 &&
                      int(tree.children(tree.root()).size()) == tree.count() - 1;
    return state_.setup().treeType != TreeType::PlainList || flat ? rebuilder_ : nullptr;
}

void TreeButtons::expandAll()
{
    if (deferred([this] { expandAll(); }))
        return;
    BusyPointer busy;
    ExpandAll(state_, settings_);
}

void TreeButtons::collapseAll()
{
    if (deferred([this] { collapseAll(); }))
        return;
    BusyPointer busy;
    CollapseAll(state_);
}

void TreeButtons::finish(int count)
{
    if (count >= 0) {
        state_.showFileCount(count);
        Q_EMIT listChanged();
    }
    refreshFaces();
}

void TreeButtons::refreshFaces()
{
    const FileList& state = state_;
    swapExtTree_->setToolTip(state.setup().treeButtonTip);
    swapExtTree_->setIcon(
        faceIcon(state.setup().treeType == TreeType::PlainList ? Face::Plain : Face::Grouped));
    sortList_->setToolTip(state.setup().shownSort.tip());
    const bool sorted = !state.setup().shownSort.key.isEmpty();
    sortList_->setIcon(faceIcon(!sorted                     ? Face::Unsorted
                                : SortFaceDescending(state) ? Face::Descending
                                                            : Face::Ascending));
    applyOffers();
}
