#include "components/JvTimer.h"

#include <QTimer>

void SetTimerEnabled(QTimer* timer, bool enabled)
{
    if (!enabled) {
        timer->stop();
        return;
    }
    if (timer->isActive())
        return;
    timer->start();
    QMetaObject::invokeMethod(timer, "timeout", Qt::DirectConnection);
}
