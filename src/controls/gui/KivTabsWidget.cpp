#include "controls/gui/KivTabsWidget.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <algorithm>

namespace {

int buttonCode(Qt::MouseButtons buttons)
{
    // 1 left, 2 right, 4 middle, as the events of the original control report them.
    int code = 0;
    if (buttons & Qt::LeftButton)
        code |= 1;
    if (buttons & Qt::RightButton)
        code |= 2;
    if (buttons & Qt::MiddleButton)
        code |= 4;
    return code;
}

int shiftCode(Qt::KeyboardModifiers m)
{
    return (m & Qt::ShiftModifier ? 1 : 0) | (m & Qt::ControlModifier ? 2 : 0) |
           (m & Qt::AltModifier ? 4 : 0);
}

} // namespace

KivTabsWidget::KivTabsWidget(QWidget* parent) : QWidget(parent), tabs_(font())
{
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    connect(&tabs_, &KivTabs::changed, this, qOverload<>(&QWidget::update));
}

QSize KivTabsWidget::sizeHint() const
{
    const int n = tabs_.Tabs();
    if (tabs_.Style() >= 4)
        return {tabs_.TabsWidth() + 40, n * tabs_.TabsHeight() + 2};
    return {n * tabs_.TabsWidth() + 2, tabs_.TabsHeight() + 8};
}

QSize KivTabsWidget::minimumSizeHint() const
{
    return {tabs_.TabsWidth() + 2, tabs_.TabsHeight() + 2};
}

namespace {
// Captions get no smaller than this before they are cut short.
constexpr double SmallestCaptionPoints = 6.5;
} // namespace

int KivTabsWidget::captionRoom(int index) const
{
    // A few pixels stay free at the edges, as the caption alignment leaves them.
    return std::max(0, tabs_.tabRect(index, width(), height()).width() - 6);
}

QFont KivTabsWidget::captionFont(int index) const
{
    QFont font = index == tabs_.SelectedTab() ? tabs_.TabFontActive() : tabs_.TabFont();
    const int room = captionRoom(index);
    const QString caption = tabs_.Caption(index);
    while (QFontMetrics(font).horizontalAdvance(caption) > room &&
           font.pointSizeF() - 0.5 >= SmallestCaptionPoints)
        font.setPointSizeF(font.pointSizeF() - 0.5);
    return font;
}

QString KivTabsWidget::shownCaption(int index) const
{
    return QFontMetrics(captionFont(index))
        .elidedText(tabs_.Caption(index), Qt::ElideRight, captionRoom(index));
}

void KivTabsWidget::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    const int cw = width(), ch = height();
    const int sel = tabs_.SelectedTab();
    const QColor selColor = KivTabs::TranslateColor(tabs_.TabBackColor(sel));

    p.fillRect(rect(), parentWidget() ? parentWidget()->palette().color(QPalette::Window)
                                      : palette().color(QPalette::Window));
    p.fillRect(tabs_.pageRect(cw, ch), selColor);

    for (int i = 1; i <= tabs_.Tabs(); ++i) {
        const QRect r = tabs_.tabRect(i, cw, ch);
        if (i != sel) {
            // Unselected tabs sit one pixel inside their cell so neighbours stay apart.
            p.fillRect(r.adjusted(1, 1, -1, -1), KivTabs::TranslateColor(tabs_.TabBackColor(i)));
            continue;
        }
        p.fillRect(r, selColor);
        const KivTabs::Sides s = tabs_.closedSides();
        const QColor light = palette().color(QPalette::Light);
        const QColor dark = palette().color(QPalette::Dark);
        const QRect e = r.adjusted(0, 0, -1, -1);
        if (s.left) {
            p.setPen(light);
            p.drawLine(e.topLeft(), e.bottomLeft());
        }
        if (s.top) {
            p.setPen(light);
            p.drawLine(e.topLeft(), e.topRight());
        }
        if (s.right) {
            p.setPen(dark);
            p.drawLine(e.topRight(), e.bottomRight());
        }
        if (s.bottom) {
            p.setPen(dark);
            p.drawLine(e.bottomLeft(), e.bottomRight());
        }
        if (tabs_.UseFocusRect() && tabs_.hasFocus()) {
            p.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DotLine));
            p.drawRect(e.adjusted(2, 2, -2, -2));
        }
    }

    for (int i = 1; i <= tabs_.Tabs(); ++i) {
        const bool active = i == sel;
        const QFont f = captionFont(i);
        p.setFont(f);
        p.setPen(KivTabs::TranslateColor(active ? tabs_.TextColorActive() : tabs_.TextColor()));
        const QFontMetrics fm(f);
        const QString text = shownCaption(i);
        const QPoint at = tabs_.captionPosition(i, fm.horizontalAdvance(text), fm.height(), cw, ch);
        p.save();
        p.setClipRect(tabs_.tabRect(i, cw, ch));
        p.drawText(at.x(), at.y() + fm.ascent(), text);
        p.restore();
    }
}

void KivTabsWidget::keyPressEvent(QKeyEvent* event)
{
    if (!tabs_.keyPressed(event->key()))
        QWidget::keyPressEvent(event);
}

void KivTabsWidget::mousePressEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    tabs_.mousePressed(at.x(), at.y(), width(), height());
}

void KivTabsWidget::mouseReleaseEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT tabs_.MouseUp(buttonCode(event->button()), shiftCode(event->modifiers()), at.x(),
                         at.y());
}

void KivTabsWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPoint at = event->position().toPoint();
    Q_EMIT tabs_.MouseMove(buttonCode(event->buttons()), shiftCode(event->modifiers()), at.x(),
                           at.y());
}

void KivTabsWidget::focusInEvent(QFocusEvent* event)
{
    tabs_.setHasFocus(true);
    QWidget::focusInEvent(event);
}

void KivTabsWidget::focusOutEvent(QFocusEvent* event)
{
    tabs_.setHasFocus(false);
    QWidget::focusOutEvent(event);
}
