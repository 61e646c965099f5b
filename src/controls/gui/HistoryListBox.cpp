#include "controls/gui/HistoryListBox.h"

#include "controls/gui/MenuCommand.h"

#include <QAbstractScrollArea>
#include <QFrame>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QScopedValueRollback>
#include <QScreen>
#include <QScrollBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QColor translate(quint32 value, const QPalette& palette)
{
    if (value & HistoryList::SystemColorFlag) {
        switch (value & 0xFF) {
        case 5:
            return palette.color(QPalette::Base);
        case 8:
            return palette.color(QPalette::Text);
        case 13:
            return palette.color(QPalette::Highlight);
        case 14:
            return palette.color(QPalette::HighlightedText);
        case 15:
            return palette.color(QPalette::Button);
        case 16:
            return palette.color(QPalette::Dark);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

int shiftOf(Qt::KeyboardModifiers modifiers)
{
    return (modifiers & Qt::ShiftModifier ? 1 : 0) | (modifiers & Qt::ControlModifier ? 2 : 0) |
           (modifiers & Qt::AltModifier ? 4 : 0);
}

int buttonOf(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

} // namespace

/// The owner-drawn rows with their vertical scroll bar.
class HistoryRowsView : public QAbstractScrollArea {
public:
    explicit HistoryRowsView(HistoryListBox& box, QWidget* parent)
        : QAbstractScrollArea(parent), box_(box)
    {
        setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
        setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        setFocusPolicy(Qt::StrongFocus);
        connect(verticalScrollBar(), &QScrollBar::valueChanged, this, [this](int top) {
            if (syncing_)
                return;
            box_.model_.props.TopIndex = top;
            viewport()->update();
        });
    }

    [[nodiscard]] int visibleRows() const
    {
        return std::max(1, viewport()->height() / box_.rowHeight());
    }

    void syncScrollBar()
    {
        HistoryList& m = box_.model_;
        QScrollBar* bar = verticalScrollBar();
        // Not a signal blocker: the scroll area hides and shows the bar on its range
        // signal.
        const QScopedValueRollback guard(syncing_, true);
        const int lastTop = std::max(0, m.ListCount() - visibleRows());
        // Rows that all fit start at the top, whatever was scrolled before a resize.
        m.props.TopIndex = std::clamp(m.props.TopIndex, 0, lastTop);
        bar->setRange(0, lastTop);
        bar->setPageStep(visibleRows());
        bar->setValue(m.props.TopIndex);
        viewport()->update();
    }

protected:
    void resizeEvent(QResizeEvent* event) override
    {
        QAbstractScrollArea::resizeEvent(event);
        syncScrollBar();
    }

    void paintEvent(QPaintEvent*) override
    {
        const HistoryList& m = box_.model_;
        QPainter painter(viewport());
        const QPalette& pal = palette();
        painter.fillRect(viewport()->rect(), translate(m.props.BackColor, pal));
        const int height = box_.rowHeight();
        const int pictureWidth = box_.pictures_ ? height : 0;
        int columns = 1;
        for (int i = 0; i < m.ListCount(); ++i)
            columns = std::max(columns, int(m.shownColumns(i).size()));
        const int textWidth = viewport()->width() - pictureWidth;
        const int columnWidth = std::max(1, textWidth / columns);
        for (int i = m.props.TopIndex, y = 0; i < m.ListCount() && y < viewport()->height();
             ++i, y += height) {
            const HistoryList::Row& row = *m.row(i);
            const QRect rowRect(0, y, viewport()->width(), height);
            QColor fore = translate(row.foreColor, pal);
            if (i == m.ListIndex()) {
                painter.fillRect(rowRect, pal.color(QPalette::Highlight));
                fore = pal.color(QPalette::HighlightedText);
            }
            if (box_.pictures_ && row.icon >= 0)
                box_.pictures_(row.icon).paint(&painter, QRect(1, y + 1, height - 2, height - 2));
            QFont font = painter.font();
            if (!row.fontName.isEmpty())
                font.setFamily(row.fontName);
            if (row.fontSize > 0)
                font.setPointSizeF(row.fontSize);
            painter.setFont(font);
            painter.setPen(fore);
            const QStringList cells = m.shownColumns(i);
            for (int c = 0; c < cells.size(); ++c) {
                const QRect cell(pictureWidth + c * columnWidth + 3, y, columnWidth - 6, height);
                painter.drawText(
                    cell, Qt::AlignLeft | Qt::AlignVCenter,
                    painter.fontMetrics().elidedText(cells[c], Qt::ElideRight, cell.width()));
            }
            if (m.props.GridLines != 0) {
                painter.setPen(translate(m.props.GridColor, pal));
                painter.drawLine(rowRect.bottomLeft(), rowRect.bottomRight());
                for (int c = 1; c < columns; ++c) {
                    const int x = pictureWidth + c * columnWidth;
                    painter.drawLine(x, y, x, y + height - 1);
                }
            }
        }
    }

    void mouseReleaseEvent(QMouseEvent* event) override { box_.rowsReleased(event); }
    void keyPressEvent(QKeyEvent* event) override { box_.rowsKey(event, true); }
    void keyReleaseEvent(QKeyEvent* event) override { box_.rowsKey(event, false); }

private:
    HistoryListBox& box_;
    bool syncing_ = false; ///< the bar follows TopIndex, not the other way
};

HistoryListBox::HistoryListBox(Prompts& prompts, QWidget* parent)
    : QWidget(parent), prompts_(prompts)
{
    edit_ = new QLineEdit(this);
    edit_->setObjectName(QStringLiteral("historyText"));
    setFocusProxy(edit_);
    edit_->installEventFilter(this);
    dropButton_ = new QToolButton(this);
    dropButton_->setArrowType(Qt::DownArrow);
    dropFrame_ = new QFrame(this, Qt::Popup);
    dropFrame_->setFrameShape(QFrame::Box);
    // A press on the drop button while the list is open only closes it.
    dropFrame_->setAttribute(Qt::WA_NoMouseReplay);
    rows_ = new HistoryRowsView(*this, this);
    rows_->setObjectName(QStringLiteral("historyRows"));
    // The opened list is as high as its rows, however few, not a scroll area's minimum.
    rows_->setMinimumSize(1, 1);
    auto* frameLayout = new QVBoxLayout(dropFrame_);
    frameLayout->setContentsMargins(0, 0, 0, 0);

    menuCodes_ = new MenuCommand(this);
    menu_ = MenuCommand::popup(QStringLiteral("HistoryListMenu"), this);
    menuCodes_->item(menu_, QStringLiteral("Clear"), HistoryList::MenuCode::Clear);
    menuCodes_->item(menu_, QStringLiteral("Sort descending"),
                     HistoryList::MenuCode::SortDescending);
    menuCodes_->item(menu_, QStringLiteral("Sort ascending"), HistoryList::MenuCode::SortAscending);
    menu_->addSeparator();
    menuCodes_->item(menu_, QStringLiteral("Cancel"));

    connect(dropButton_, &QToolButton::clicked, this, [this] { setDroppedDown(!isDroppedDown()); });
    connect(edit_, &QLineEdit::returnPressed, this, [this] {
        const QString typed = edit_->text();
        const bool showsRow =
            model_.ListIndex() >= 0 && typed == HistoryList::Visible(model_.text());
        Q_EMIT textEntered(showsRow ? model_.text() : typed);
    });
    refresh();
}

HistoryListBox::~HistoryListBox() = default;

void HistoryListBox::setPictureSource(PictureSource source)
{
    pictures_ = std::move(source);
    rows_->viewport()->update();
}

int HistoryListBox::rowHeight() const
{
    if (model_.props.RowHeight > 0)
        return model_.props.RowHeight;
    return std::max(18, fontMetrics().height() + 4);
}

QWidget* HistoryListBox::rowsViewport() const
{
    return rows_->viewport();
}

void HistoryListBox::refresh()
{
    const HistoryList::Properties& p = model_.props;
    QFont font = this->font();
    font.setFamily(p.Fontname);
    if (p.FontSize > 0)
        font.setPointSizeF(p.FontSize);
    rows_->setFont(font);
    edit_->setFont(font);
    rows_->setFrameShape(p.BorderStyle == 0 ? QFrame::NoFrame : QFrame::StyledPanel);
    setEnabled(p.Enabled);
    const bool dropDown = p.Mode == 1;
    dropButton_->setVisible(dropDown);
    setSizePolicy(QSizePolicy::Preferred, dropDown ? QSizePolicy::Fixed : QSizePolicy::Preferred);
    if (dropDown && rows_->parentWidget() != dropFrame_) {
        dropFrame_->layout()->addWidget(rows_);
    } else if (!dropDown && rows_->parentWidget() != this) {
        dropFrame_->hide();
        rows_->setParent(this);
        rows_->show();
    }
    layoutParts();
    updateGeometry();
    rows_->syncScrollBar();
}

void HistoryListBox::layoutParts()
{
    const int editHeight = edit_->sizeHint().height();
    const bool dropDown = model_.props.Mode == 1;
    const int buttonWidth = dropDown ? editHeight : 0;
    edit_->setGeometry(0, 0, width() - buttonWidth, editHeight);
    dropButton_->setGeometry(width() - buttonWidth, 0, buttonWidth, editHeight);
    if (!dropDown)
        rows_->setGeometry(0, editHeight, width(), std::max(0, height() - editHeight));
}

bool HistoryListBox::eventFilter(QObject* watched, QEvent* event)
{
    // F4 or Alt+Down in the field opens the list, as in a combo box.
    if (watched == edit_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_F4 ||
            (key->key() == Qt::Key_Down && key->modifiers() & Qt::AltModifier)) {
            setDroppedDown(!isDroppedDown());
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void HistoryListBox::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    layoutParts();
}

void HistoryListBox::setDroppedDown(bool open)
{
    if (model_.props.Mode != 1 || open == isDroppedDown())
        return;
    if (!open) {
        dropFrame_->hide();
        return;
    }
    dropFrame_->setGeometry(dropDownGeometry());
    dropFrame_->show();
    // The current row is in view when the list opens, as in any drop-down.
    if (const int current = model_.ListIndex(); current >= 0)
        model_.ShowItem(current, rows_->visibleRows());
    rows_->syncScrollBar();
    rows_->setFocus();
}

QRect HistoryListBox::dropDownGeometry() const
{
    int height = model_.props.DropDownHeight;
    if (height <= 0) {
        // Without a set height the list fits its rows, up to a screenful of a dozen.
        const int shown = std::clamp(model_.ListCount(), 1, DefaultDropDownRows);
        height = shown * rowHeight() + 2 * (rows_->frameWidth() + dropFrame_->frameWidth());
    }
    QRect area(mapToGlobal(QPoint(0, edit_->height())), QSize(width(), height));
    // Near the bottom of the screen the list opens above the field instead.
    if (const QScreen* screen = this->screen()) {
        const QRect available = screen->availableGeometry();
        if (area.bottom() > available.bottom() && mapToGlobal(QPoint(0, 0)).y() - height >= 0)
            area.moveBottom(mapToGlobal(QPoint(0, 0)).y() - 1);
    }
    return area;
}

QSize HistoryListBox::sizeHint() const
{
    const QSize field = edit_->sizeHint();
    if (model_.props.Mode == 1)
        return {field.width() + field.height(), field.height()};
    return {field.width(), field.height() + DefaultDropDownRows / 2 * rowHeight()};
}

QSize HistoryListBox::minimumSizeHint() const
{
    const QSize field = edit_->minimumSizeHint();
    if (model_.props.Mode == 1)
        return {field.width() + field.height(), edit_->sizeHint().height()};
    return {field.width(), edit_->sizeHint().height() + rowHeight()};
}

bool HistoryListBox::isDroppedDown() const
{
    return dropFrame_->isVisible();
}

int HistoryListBox::Additem(const QString& text, int index, int icon, qint64 itemData,
                            HistoryList::RowKind kind)
{
    const int at = model_.Additem(text, index, icon, itemData, kind);
    rows_->syncScrollBar();
    return at;
}

void HistoryListBox::RemoveItem(int index)
{
    model_.RemoveItem(index);
    rows_->syncScrollBar();
}

void HistoryListBox::Clear()
{
    model_.Clear();
    edit_->clear();
    rows_->syncScrollBar();
}

void HistoryListBox::ShowItem(int index)
{
    if (!model_.row(index))
        return;
    model_.setListIndex(index);
    model_.setText(model_.firstColumn(index));
    edit_->setText(HistoryList::Visible(model_.text()));
    model_.ShowItem(index, rows_->visibleRows());
    rows_->syncScrollBar();
}

void HistoryListBox::rowsReleased(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    if (event->button() == Qt::RightButton) {
        const auto code =
            menuCodes_->run<HistoryList::MenuCode>(menu_, event->globalPosition().toPoint());
        if (model_.runMenuCode(code, prompts_)) {
            if (model_.ListCount() == 0)
                edit_->clear();
            rows_->syncScrollBar();
            Q_EMIT rowsRearranged();
        }
        return;
    }
    if (model_.chooseRowAt(at.y(), rowHeight()))
        edit_->setText(HistoryList::Visible(model_.text()));
    setDroppedDown(false);
    rows_->viewport()->update();
    Q_EMIT MouseDown(buttonOf(event->button()), shiftOf(event->modifiers()), at.x(), at.y());
    Q_EMIT Click();
}

void HistoryListBox::rowsKey(QKeyEvent* event, bool pressed)
{
    const int shift = shiftOf(event->modifiers());
    if (!pressed) {
        Q_EMIT KeyUp(event->key(), shift);
        return;
    }
    Q_EMIT KeyDown(event->key(), shift);
    if (!event->text().isEmpty())
        Q_EMIT KeyPress(event->text().at(0).unicode());
    const int current = model_.ListIndex();
    if (event->key() == Qt::Key_Down && current + 1 < model_.ListCount()) {
        ShowItem(current + 1);
    } else if (event->key() == Qt::Key_Up && current > 0) {
        ShowItem(current - 1);
    } else if (event->key() == Qt::Key_Escape) {
        setDroppedDown(false);
    } else if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        setDroppedDown(false);
        Q_EMIT Click();
    }
}
