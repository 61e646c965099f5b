#pragma once

#include <QObject>
#include <QPoint>
#include <QString>
#include <type_traits>

class QAction;
class QMenu;
class QWidget;

/// The command codes of pop-up menus: each item carries its code, an enum of the menu
/// whose value 0 means "no code", and running a menu modally returns the code the
/// chosen item left. One object serves all the menus of one owner.
class MenuCommand : public QObject {
    Q_OBJECT
public:
    explicit MenuCommand(QObject* parent = nullptr) : QObject(parent) {}

    /// A pop-up menu named `title` (its object name too), a child of `owner`.
    [[nodiscard]] static QMenu* popup(const QString& title, QWidget* owner);
    /// Adds an item that acts through its own triggered() connection and leaves no code.
    /// Items of unbuilt features start disabled.
    QAction* item(QMenu* menu, const QString& caption, bool enabled = true)
    {
        return addItem(menu, caption, 0, enabled);
    }
    /// Adds an item that leaves `code` when it is chosen.
    template <typename Code>
    QAction* item(QMenu* menu, const QString& caption, Code code, bool enabled = true)
    {
        static_assert(std::is_enum_v<Code>);
        return addItem(menu, caption, int(code), enabled);
    }

    /// Shows `menu` modally at `globalPos` and returns the code of the chosen item:
    /// Code(0) when it was dismissed or the item has no code.
    template <typename Code = int> Code run(QMenu* menu, QPoint globalPos)
    {
        return Code(runMenu(menu, globalPos));
    }

    /// The code of the last item chosen in any of this object's menus.
    template <typename Code> [[nodiscard]] Code last() const { return Code(last_); }
    /// The code an item leaves, 0 for none.
    [[nodiscard]] static int codeOf(const QAction* action);

private:
    QAction* addItem(QMenu* menu, const QString& caption, int code, bool enabled);
    int runMenu(QMenu* menu, QPoint globalPos);

    int last_ = 0;
};
