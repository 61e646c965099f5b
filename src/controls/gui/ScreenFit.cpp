#include "controls/gui/ScreenFit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace {

// Before the first show the frame is unknown: allow for a title bar and borders.
QMargins frameOf(const QWidget* window)
{
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    if (frame == client)
        return {4, 32, 4, 4};
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

} // namespace

void KeepOnScreen(QWidget* window)
{
    QScreen* screen = QGuiApplication::screenAt(window->frameGeometry().center());
    if (!screen)
        screen = window->screen();
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    const QMargins frame = frameOf(window);
    const int width = std::min(window->width(), area.width() - frame.left() - frame.right());
    const int height = std::min(window->height(), area.height() - frame.top() - frame.bottom());
    const int outerWidth = width + frame.left() + frame.right();
    const int outerHeight = height + frame.top() + frame.bottom();
    const int left = std::clamp(window->frameGeometry().left(), area.left(),
                                area.left() + area.width() - outerWidth);
    const int top = std::clamp(window->frameGeometry().top(), area.top(),
                               area.top() + area.height() - outerHeight);
    if (width != window->width() || height != window->height())
        window->resize(width, height);
    // move() places the frame.
    if (left != window->frameGeometry().left() || top != window->frameGeometry().top())
        window->move(left, top);
}
