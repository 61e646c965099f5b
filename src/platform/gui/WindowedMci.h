#pragma once

#include "platform/MediaMci.h"

/// The Mci of the desktop: a video device shows its pictures in a window of its own.
class WindowedMci : public MediaMci {
protected:
    QObject* makeVideoOutput(const QString& title) override;
};
