#include "controls/gui/MenuCommand.h"

#include <QAction>
#include <QMenu>
#include <QWidget>

QMenu* MenuCommand::popup(const QString& title, QWidget* owner)
{
    auto* menu = new QMenu(title, owner);
    menu->setObjectName(title);
    return menu;
}

QAction* MenuCommand::addItem(QMenu* menu, const QString& caption, int code, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setData(code);
    action->setEnabled(enabled);
    // Connected first, so the code is in place before any feature's own handler runs.
    connect(action, &QAction::triggered, this, [this, action] { last_ = codeOf(action); });
    return action;
}

int MenuCommand::codeOf(const QAction* action)
{
    return action ? action->data().toInt() : 0;
}

int MenuCommand::runMenu(QMenu* menu, QPoint globalPos)
{
    last_ = 0;
    if (menu)
        menu->exec(globalPos);
    return last_;
}
