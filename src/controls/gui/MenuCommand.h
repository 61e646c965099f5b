#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class QAction;
class QMenu;
class QWidget;

/// The command codes of pop-up menus ("V", "P", "AB", "C/home/a/", ...): each item
/// carries its code, and running a menu modally returns the code the chosen item left.
/// One object serves all the menus of one owner.
class MenuCommand : public QObject {
    Q_OBJECT
public:
    explicit MenuCommand(QObject* parent = nullptr) : QObject(parent) {}

    /// A pop-up menu named `title` (its object name too), a child of `owner`.
    [[nodiscard]] static QMenu* popup(const QString& title, QWidget* owner);
    /// Adds an item; `code` is left when it is chosen ("" for items that act through
    /// their own triggered() connection). Items of unbuilt features start disabled.
    QAction* item(QMenu* menu, const QString& caption, const QString& code = {},
                  bool enabled = true);

    /// Shows `menu` modally at `globalPos` and returns the code of the chosen item:
    /// "" when it was dismissed or the item has no code.
    QString run(QMenu* menu, QPoint globalPos);

    /// The code of the last item chosen in any of this object's menus.
    [[nodiscard]] const QString& last() const { return last_; }

private:
    QString last_;
};
