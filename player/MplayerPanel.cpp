#include "player/MplayerPanel.h"

#include <QPainter>
#include <QPaintEvent>

TMplayerPanel::TMplayerPanel(const char* name, QWidget* parent) : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_NativeWindow);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void TMplayerPanel::paintEvent(QPaintEvent* event)
{
    QPainter(this).fillRect(event->rect(), Background);
}
