#include "platform/gui/EscapeWatch.h"

#include <QCoreApplication>
#include <QKeyEvent>

EscapeWatch::EscapeWatch(QObject* parent) : QObject(parent)
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

EscapeWatch::~EscapeWatch()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

bool EscapeWatch::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape)
        pressed_.store(true);
    return QObject::eventFilter(watched, event);
}
