#include "trees/TreeCommands.h"

#include "shared/FileKind.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"
#include "trees/BandTrees.h"
#include "trees/ExtensionTree.h"
#include "trees/NodeScheme.h"
#include "trees/PlainSort.h"
#include "trees/TreeContext.h"

int BuildGroupedTree(FileList& state, const TreeContext& context)
{
    switch (state.setup().treeType) {
    case TreeType::Extension:
        return BuildExtensionTree(state, context);
    case TreeType::Date:
        return BuildDateTree(state, context);
    case TreeType::Size:
        return BuildSizeTree(state, context);
    case TreeType::Age:
        return BuildAgeTree(state, context);
    default:
        return -1;
    }
}

void ChooseTreeEntry(FileList& state, TreeButtonState& buttons, std::optional<TreeType> choice,
                     std::optional<DateBasis> dateBasis)
{
    buttons.treeChoice = choice;
    if ((choice == TreeType::Date || choice == TreeType::Age) && dateBasis) {
        state.setDateBasis(*dateBasis);
        const bool date = choice == TreeType::Date;
        const QString what = *dateBasis == DateBasis::Created ? QStringLiteral("Creation ")
                                                              : QStringLiteral("Last Update ");
        state.setTreeButtonTip(QStringLiteral("Tree display by file ") + what +
                               (date ? QStringLiteral("Date") : QStringLiteral("Age")));
    }
}

bool ButtonsUsable(const FileList& state)
{
    return nodescheme::listUsable(state);
}

int RunTreeChoice(FileList& state, TreeButtonState& buttons, const TreeContext& context,
                  const std::function<int(FileList&)>& buildNameList)
{
    if (!buttons.treeChoice)
        return -1; // Cancel, or nothing chosen yet
    const TreeType type = *buttons.treeChoice;

    state.setTreeType(type);
    const int count =
        type == TreeType::PlainList ? buildNameList(state) : BuildGroupedTree(state, context);
    buttons.offerNameTree = type != TreeType::PlainList;
    buttons.offerExtensionTree = type != TreeType::Extension;
    buttons.offerSizeTree = type != TreeType::Size;
    buttons.offerDateTree = type != TreeType::Date && type != TreeType::Age;
    if (type == TreeType::PlainList)
        state.setTreeButtonTip(QStringLiteral("Tree display by file name"));
    else if (type == TreeType::Extension)
        state.setTreeButtonTip(QStringLiteral("Tree display by file extension"));
    return count;
}

bool OpenSortMenu(FileList& state, TreeButtonState& buttons)
{
    if (!ButtonsUsable(state))
        return false;
    if (state.setup().treeType != TreeType::PlainList) {
        buttons.offerDirectionItem = true;
        buttons.offerSortBy = false;
        // The flip happens on opening, so the caption names what choosing it produces;
        // a dismissed menu keeps the flipped direction for the next build.
        state.setTreeDirection(FlippedDirection(state.setup().treeDirection));
        buttons.directionCaption =
            QStringLiteral("Sort ") + SortDirectionName(state.setup().treeDirection);
    } else {
        buttons.offerDirectionItem = false;
        buttons.offerSortBy = true;
    }
    return true;
}

int RunSortChoice(FileList& state, const TreeContext& context, SortChoice choice,
                  const std::optional<QString>& shownFlatRoot)
{
    SortKey key = SortKey::None;
    switch (choice) {
    case SortChoice::Direction:
        return BuildGroupedTree(state, context);
    case SortChoice::ByName:
        key = SortKey::Name;
        break;
    case SortChoice::ByExtension:
        key = SortKey::Extension;
        break;
    case SortChoice::BySize:
        key = SortKey::Size;
        break;
    case SortChoice::None:
        return -1;
    }
    const int rows = shownFlatRoot ? state.listedNames().ListCount() : state.tree().count();
    if (rows < 3)
        return -1;
    state.setPlainSortKey(key);
    const SortDirection direction = state.flipSortDirection(key);
    const int count = shownFlatRoot ? PlainSortForShownTree(state, direction, *shownFlatRoot)
                                    : PlainSort(state, context, direction);
    state.setPlainSortKey(SortKey::None);
    return count;
}

void ExpandAll(FileList& state, const Settings& settings)
{
    const bool plainList = state.setup().treeType == TreeType::PlainList;
    state.changeExpansion([plainList, &settings](FileList::ExpansionMarks& marks) {
        const NodeTree& tree = marks.tree();
        const std::vector<NodeTree::Id> order = tree.preorder();
        for (size_t i = 1; i < order.size(); ++i) {
            const NodeTree::Node& node = tree.node(order[i]);
            if (node.expanded)
                continue;
            // Archives stay closed in the plain list, and so do their members.
            if (plainList && (ClassifyFileKind(ExtensionOf(node.text), settings) == FileKind::Zip ||
                              (node.parent != order.front() && !tree.node(node.parent).expanded)))
                continue;
            marks.setExpanded(order[i], true);
            marks.makeVisible(order[i]);
        }
        if (!order.empty())
            marks.makeVisible(order.front());
    });
}

void CollapseAll(FileList& state)
{
    state.changeExpansion([](FileList::ExpansionMarks& marks) {
        const std::vector<NodeTree::Id> order = marks.tree().preorder();
        for (size_t i = 1; i < order.size(); ++i)
            marks.setExpanded(order[i], false);
        if (!order.empty())
            marks.makeVisible(order.front());
    });
}

bool SortFaceDescending(const FileList& state)
{
    return state.setup().shownSort.descending;
}
