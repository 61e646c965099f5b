// Mouse, keys, tips and pop-up menus of the file list.
#include "browse/FileList.h"
#include "browse/gui/FileListMenus.h"
#include "browse/gui/FileListPanel.h"
#include "controls/gui/NodeTreeView.h"
#include "platform/Prompts.h"
#include "shared/Settings.h"
#include "shared/TextHelpers.h"

#include <QDateTime>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QMouseEvent>
#include <QToolTip>

bool FileListPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == fileTypeText_ && event->type() == QEvent::MouseButtonRelease) {
        prompts_.message(PatternMessage(state_.setup().listPattern));
        return true;
    }
    if (watched == view_->viewport()) {
        if (event->type() == QEvent::ToolTip)
            return toolTipEvent(event);
        return mouseEvent(event);
    }
    if (watched == view_ && event->type() == QEvent::KeyPress)
        return keyEvent(event);
    return QWidget::eventFilter(watched, event);
}

bool FileListPanel::mouseEvent(QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    const QPoint pos = mouse->position().toPoint();
    const QPoint global = mouse->globalPosition().toPoint();
    const NodeTree::Id node = view_->nodeAt(pos);

    if (type == QEvent::MouseButtonPress && mouse->button() == Qt::MiddleButton)
        return runAllviewMenu(global);
    if (type == QEvent::MouseButtonPress) {
        click_ = NodeClick::View;
        clickedFileNode_ = node;
        if (mouse->button() == Qt::LeftButton && !settings_.singleClickView)
            click_ = NodeClick::Ignore;
        if (node == NodeTree::None) {
            if (state_.tree().count() > 0 && !state_.setup().showsPlaceholder) {
                // Empty space below the nodes: the menu of the whole list; its items
                // act through their own connections.
                runNodeMenu(NodeMenu::FilesForList, global);
                return true;
            }
            return false;
        }
        if (mouse->button() == Qt::RightButton) {
            view_->setCurrentIndex(view_->nodeModel()->indexOf(node));
            click_ = NodeClick::Menu;
            handleNodeClick(node, click_, global);
            return true;
        }
        if (mouse->button() == Qt::LeftButton)
            handleNodeClick(node, click_, global);
        return false; // the view still selects, expands and starts drags
    }
    if (type == QEvent::MouseButtonRelease) {
        // A mark set on the list being replaced would be lost with it.
        if (mouse->button() == Qt::LeftButton && node != NodeTree::None && !listing() &&
            ClassifyFileNode(state_, node) == FileNodeKind::File)
            ToggleFileMark(state_, settings_, node);
        return false;
    }
    // Double click: always acts on the node under the mouse.
    if (node == NodeTree::None)
        return false;
    click_ = NodeClick::View;
    clickedFileNode_ = node;
    handleNodeClick(node, click_, global);
    return false;
}

bool FileListPanel::keyEvent(QEvent* event)
{
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Menu) {
        const QRect rect = view_->visualRect(view_->currentIndex());
        return runAllviewMenu(
            view_->viewport()->mapToGlobal(rect.isValid() ? rect.center() : QPoint(8, 8)));
    }
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
        click_ = NodeClick::Menu;
        const NodeTree::Id node = view_->currentNode();
        const QRect rect = view_->visualRect(view_->currentIndex());
        handleNodeClick(node, click_, view_->viewport()->mapToGlobal(rect.center()));
        click_ = NodeClick::None;
        return true;
    }
    // Moving with the arrow keys selects without acting.
    click_ = NodeClick::Ignore;
    return false;
}

bool FileListPanel::toolTipEvent(QEvent* event)
{
    auto* help = static_cast<QHelpEvent*>(event);
    const NodeTree::Id node = view_->nodeAt(help->pos());
    const QString tip = tipFor(node);
    if (tip.isEmpty())
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), tip, view_);
    return true;
}

QString FileListPanel::tipFor(NodeTree::Id id) const
{
    if (!state_.tree().contains(id))
        return {};
    const NodeTree::Node& node = state_.tree().node(id);
    if (const QString tip = state_.tree().toolTip(id); !tip.isEmpty())
        return tip;
    const std::optional<platform::FileEntry> entry = state_.entries().lookAtOne(node.text);
    if (!entry)
        return node.text;
    const QDateTime modified = QDateTime::fromMSecsSinceEpoch(entry->modifiedMs);
    return node.text + QStringLiteral("  ") + SizeText(double(entry->size)) + QStringLiteral("  ") +
           modified.toString(QStringLiteral("yyyy-MM-dd HH:mm"));
}

void FileListPanel::handleNodeClick(NodeTree::Id id, NodeClick click, const QPoint& globalPos)
{
    const NodeMenu menu = NodeClickMenu(state_, id, click);
    if (menu != NodeMenu::None)
        runNodeCode(id, runNodeMenu(menu, globalPos));
    else if (click == NodeClick::View)
        runNodeCode(id, NodeActionKind::View);
}

void FileListPanel::runNodeCode(NodeTree::Id id, NodeActionKind kind)
{
    const NodeAction action = NodeClickAction(state_, id, kind);
    if (archiveAction(id, action))
        return;
    if (action.kind != NodeActionKind::None)
        Q_EMIT command(action.kind, action.folder, action.name);
}

bool FileListPanel::runAllviewMenu(const QPoint& globalPos)
{
    if (state_.tree().count() < 2 || state_.setup().showsPlaceholder)
        return false;
    // "Expand all" and "Collapse all" act through their own connections; the archive
    // codes go to the node-click handler like the other menus' codes.
    runAllviewCode(menus_->run<NodeActionKind>(menus_->expansion.menu, globalPos));
    return true;
}

void FileListPanel::runAllviewCode(NodeActionKind kind)
{
    if (state_.tree().count() < 2 || state_.setup().showsPlaceholder)
        return;
    const NodeAction action = NodeClickAction(state_, state_.tree().root(), kind);
    if (action.kind != NodeActionKind::None)
        Q_EMIT command(action.kind, action.folder, action.name);
}

NodeActionKind FileListPanel::runNodeMenu(NodeMenu menu, const QPoint& globalPos)
{
    if (menu == NodeMenu::FileNode)
        return menus_->run<NodeActionKind>(menus_->fileNode.menu, globalPos);
    const FileListMenus::FilesMenu& files = menus_->files;
    const bool group = menu == NodeMenu::FilesForGroup;
    if (files.addToBasket) {
        files.addToBasket->setText(group ? QStringLiteral("Add Node to RadeZazeda")
                                         : QStringLiteral("Add Folder to RadeZazeda"));
    }
    if (files.copyList)
        files.copyList->setEnabled(!group);
    const bool selectedWasEnabled =
        files.addSelectedToBasket && files.addSelectedToBasket->isEnabled();
    if (group && files.addSelectedToBasket)
        files.addSelectedToBasket->setEnabled(false);
    const auto kind = menus_->run<NodeActionKind>(files.menu, globalPos);
    if (files.copyList)
        files.copyList->setEnabled(true);
    if (group && files.addSelectedToBasket)
        files.addSelectedToBasket->setEnabled(selectedWasEnabled);
    return kind;
}
