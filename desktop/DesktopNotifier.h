#pragma once

#include "desktop/BatchNotifier.h"

#include <QObject>

// org.freedesktop.Notifications on the session bus. The call does not wait
// for an answer, so a missing service costs nothing; picking the
// notification (its default action) runs the callback of the latest one.
class TDesktopNotifier : public QObject, public TBatchNotifier {
    Q_OBJECT
public:
    TDesktopNotifier();
    void Notify(const QString& summary, const QString& body, std::function<void()> onActivated) override;

private slots:
    void ActionInvoked(uint id, const QString& action);

private:
    uint m_latestId = 0;
    std::function<void()> m_onActivated;
};
