#pragma once

#include "platform/CancelKey.h"

#include <QObject>
#include <atomic>

/// The cancel key over Qt: an application-wide event filter that records Escape
/// presses. Install one for the whole program (it installs itself on construction).
/// pressed() may be read from any thread.
class EscapeWatch : public QObject, public CancelKey {
    Q_OBJECT
public:
    explicit EscapeWatch(QObject* parent = nullptr);
    ~EscapeWatch() override;

    void clear() override { pressed_.store(false); }
    [[nodiscard]] bool pressed() override { return pressed_.load(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::atomic<bool> pressed_{false};
};
