#pragma once

#include <QGuiApplication>
#include <QWidget>

/// Shows the busy pointer for its lifetime.
class BusyPointer {
public:
    BusyPointer() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QGuiApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

/// Stops a window from repainting for its lifetime (restores the earlier state).
class RedrawLock {
public:
    explicit RedrawLock(QWidget* window) : window_(window), was_(window->updatesEnabled())
    {
        window_->setUpdatesEnabled(false);
    }
    ~RedrawLock() { window_->setUpdatesEnabled(was_); }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;

private:
    QWidget* window_;
    bool was_;
};
