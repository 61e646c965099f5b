#include "controls/gui/HistoryBox.h"

#include <QAbstractItemView>

HistoryBox::HistoryBox(QWidget* parent) : QComboBox(parent)
{
    setMaxVisibleItems(20);
}

void HistoryBox::showPopup()
{
    QComboBox::showPopup();
    view()->scrollToTop();
}
