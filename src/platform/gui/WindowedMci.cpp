#include "platform/gui/WindowedMci.h"

#include <QVideoWidget>

QObject* WindowedMci::makeVideoOutput(const QString& title)
{
    auto* window = new QVideoWidget;
    window->setWindowTitle(title);
    window->setAttribute(Qt::WA_DeleteOnClose, false);
    window->resize(480, 360);
    window->show();
    return window;
}
