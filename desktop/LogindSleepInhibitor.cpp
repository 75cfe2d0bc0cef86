#include "desktop/LogindSleepInhibitor.h"

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusReply>

namespace {

// A batch must not wait long for a login manager that hangs.
constexpr int AnswerTimeoutMs = 3000;

} // namespace

bool TLogindSleepInhibitor::Hold()
{
    if (m_lock.isValid())
        return true;
    QDBusMessage inhibit = QDBusMessage::createMethodCall(
        "org.freedesktop.login1", "/org/freedesktop/login1", "org.freedesktop.login1.Manager", "Inhibit");
    inhibit << QString("sleep:idle") << QString("Movarin") << QString("Converting videos") << QString("block");
    const QDBusReply<QDBusUnixFileDescriptor> answer =
        QDBusConnection::systemBus().call(inhibit, QDBus::Block, AnswerTimeoutMs);
    if (!answer.isValid())
        return false;
    m_lock = answer.value();
    return m_lock.isValid();
}

void TLogindSleepInhibitor::Release() { m_lock = QDBusUnixFileDescriptor(); }
