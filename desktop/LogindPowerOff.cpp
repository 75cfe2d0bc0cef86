#include "desktop/LogindPowerOff.h"

#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusReply>

namespace {

QDBusInterface LoginManager()
{
    return QDBusInterface("org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager",
                          QDBusConnection::systemBus());
}

} // namespace

bool TLogindPowerOff::MayPowerOff()
{
    QDBusInterface manager = LoginManager();
    const QDBusReply<QString> answer = manager.call("CanPowerOff");
    return answer.isValid() && answer.value() == "yes";
}

bool TLogindPowerOff::PowerOff(int)
{
    QDBusInterface manager = LoginManager();
    const QDBusReply<void> answer = manager.call("PowerOff", false);
    return answer.isValid();
}
