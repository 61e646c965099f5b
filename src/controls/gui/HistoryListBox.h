#pragma once

#include "controls/HistoryList.h"

#include <QIcon>
#include <QWidget>
#include <functional>

class MenuCommand;
class QFrame;
class QLineEdit;
class QMenu;
class QToolButton;
class HistoryRowsView;

/// The history list control: an edit field showing the current row above owner-drawn
/// rows (TAB-separated columns, a picture, optional grid lines, a vertical scroll bar).
/// In drop-down mode (Mode 1) the rows open under the edit field from the button beside
/// it, DropDownHeight high, and close when a row is chosen. Releasing the right button
/// over the rows opens the pop-up menu "Clear" ("CL"), "Sort descending" ("SD"), "Sort
/// ascending" ("SA"), "Cancel".
class HistoryListBox : public QWidget {
    Q_OBJECT
public:
    /// Gives the picture for an icon index (the image list of `PictureList`).
    using PictureSource = std::function<QIcon(int index)>;

    explicit HistoryListBox(Prompts& prompts, QWidget* parent = nullptr);
    ~HistoryListBox() override;

    /// The rows and properties; call refresh() after changing them directly.
    [[nodiscard]] HistoryList& model() { return model_; }
    [[nodiscard]] const HistoryList& model() const { return model_; }
    void setPictureSource(PictureSource source);
    /// Applies Mode, colours and fonts of the properties and redraws.
    void refresh();

    /// Adds a row and redraws; returns its index.
    int Additem(const QString& text, int index = -1, int icon = -1, qint64 itemData = 0,
                HistoryList::RowKind kind = HistoryList::RowKind::Columns);
    void RemoveItem(int index);
    void Clear();
    /// Makes `index` current, shows its first column (a path row's whole path, its control
    /// characters made visible) in the edit field and scrolls it in.
    void ShowItem(int index);

    /// Opens or closes the rows in drop-down mode.
    void setDroppedDown(bool open);
    [[nodiscard]] bool isDroppedDown() const;

    /// One edit field high in drop-down mode; with a few rows below it otherwise.
    [[nodiscard]] QSize sizeHint() const override;
    [[nodiscard]] QSize minimumSizeHint() const override;

    /// Row height in pixels: RowHeight when set, else from the font.
    [[nodiscard]] int rowHeight() const;
    [[nodiscard]] QLineEdit* editField() const { return edit_; }
    [[nodiscard]] QToolButton* dropButton() const { return dropButton_; }
    /// The widget the rows are drawn in (inside the pop-up frame in drop-down mode).
    [[nodiscard]] QWidget* rowsViewport() const;
    /// The right-click menu.
    [[nodiscard]] QMenu* popupMenu() const { return menu_; }

Q_SIGNALS:
    void KeyDown(int keyCode, int shift);
    void KeyPress(int keyAscii);
    void KeyUp(int keyCode, int shift);
    void Click();
    void MouseDown(int button, int shift, int x, int y);
    /// The pop-up menu cleared or sorted the rows.
    void rowsRearranged();
    /// Enter in the edit field: what it holds, or the chosen row's whole value while the
    /// field still shows that row.
    void textEntered(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class HistoryRowsView;
    void rowsReleased(QMouseEvent* event);
    void rowsKey(QKeyEvent* event, bool pressed);
    void layoutParts();
    /// Where the opened list goes: under the field (above it at the screen's bottom),
    /// DropDownHeight high, or fitting up to DefaultDropDownRows rows when that is 0.
    [[nodiscard]] QRect dropDownGeometry() const;

    static constexpr int DefaultDropDownRows = 12;

    Prompts& prompts_;
    HistoryList model_;
    PictureSource pictures_;
    QLineEdit* edit_ = nullptr;
    QToolButton* dropButton_ = nullptr;
    QFrame* dropFrame_ = nullptr;
    HistoryRowsView* rows_ = nullptr;
    MenuCommand* menuCodes_ = nullptr;
    QMenu* menu_ = nullptr;
};
