#include "PrivateBus.h"

#include <QDeadlineTimer>
#include <QFile>
#include <stdexcept>

namespace {

const char* const Configuration = R"(<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>session</type>
  <listen>unix:dir=%1</listen>
  <auth>EXTERNAL</auth>
  <policy context="default">
    <allow send_destination="*" eavesdrop="true"/>
    <allow eavesdrop="true"/>
    <allow own="*"/>
  </policy>
</busconfig>
)";

} // namespace

PrivateBus::PrivateBus()
{
    QFile configuration(m_folder.filePath("bus.conf"));
    if (!configuration.open(QIODevice::WriteOnly)
        || configuration.write(QString::fromLatin1(Configuration).arg(m_folder.path()).toUtf8()) < 0)
        throw std::runtime_error("cannot write the bus configuration");
    configuration.close();
    m_daemon.start("dbus-daemon", {"--nofork", "--print-address", "--config-file=" + configuration.fileName()});
    if (!m_daemon.waitForStarted(10000))
        throw std::runtime_error("dbus-daemon did not start");
    const QDeadlineTimer deadline(10000);
    while (!m_daemon.canReadLine() && !deadline.hasExpired())
        m_daemon.waitForReadyRead(100);
    m_address = QString::fromUtf8(m_daemon.readLine()).trimmed();
    if (m_address.isEmpty())
        throw std::runtime_error("dbus-daemon gave no address");
    qputenv("DBUS_SESSION_BUS_ADDRESS", m_address.toUtf8());
    qputenv("DBUS_SYSTEM_BUS_ADDRESS", m_address.toUtf8());
}

PrivateBus::~PrivateBus()
{
    m_daemon.terminate();
    m_daemon.waitForFinished(5000);
}

BusService::BusService(const QString& program, const QStringList& arguments)
{
    m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    m_process.start(program, arguments);
    const QDeadlineTimer deadline(10000);
    while (!Records().contains("Ready") && !deadline.hasExpired())
        m_process.waitForReadyRead(100);
    if (!m_records.contains("Ready"))
        throw std::runtime_error("the stand-in service did not come up");
}

BusService::~BusService()
{
    m_process.closeWriteChannel();
    m_process.terminate();
    m_process.waitForFinished(5000);
}

QStringList BusService::Records()
{
    // Takes in what the service has written by now, also where no event
    // loop ran since.
    m_process.waitForReadyRead(0);
    while (m_process.canReadLine())
        m_records << QString::fromUtf8(m_process.readLine()).chopped(1);
    return m_records;
}
