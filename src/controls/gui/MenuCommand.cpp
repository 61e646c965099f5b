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

QAction* MenuCommand::item(QMenu* menu, const QString& caption, const QString& code, bool enabled)
{
    QAction* action = menu->addAction(caption);
    action->setData(code);
    action->setEnabled(enabled);
    // Connected first, so the code is in place before any feature's own handler runs.
    connect(action, &QAction::triggered, this,
            [this, action] { last_ = action->data().toString(); });
    return action;
}

QString MenuCommand::run(QMenu* menu, QPoint globalPos)
{
    last_.clear();
    if (menu)
        menu->exec(globalPos);
    return last_;
}
