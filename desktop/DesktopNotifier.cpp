#include "desktop/DesktopNotifier.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QIcon>
#include <QImage>

namespace {

const char* const Service = "org.freedesktop.Notifications";
const char* const Path = "/org/freedesktop/Notifications";
const char* const Interface = "org.freedesktop.Notifications";
constexpr int IconSize = 64;

// The "image-data" hint: the program's icon travels as pixels, so no icon
// needs to be installed for the desktop to show it.
struct NotificationImage {
    QImage pixels;
};

QDBusArgument& operator<<(QDBusArgument& argument, const NotificationImage& image)
{
    const QImage rgba = image.pixels.convertToFormat(QImage::Format_RGBA8888);
    argument.beginStructure();
    argument << rgba.width() << rgba.height() << int(rgba.bytesPerLine()) << true << 8 << 4
             << QByteArray(reinterpret_cast<const char*>(rgba.constBits()), rgba.sizeInBytes());
    argument.endStructure();
    return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, NotificationImage&) { return argument; }

} // namespace

Q_DECLARE_METATYPE(NotificationImage)

TDesktopNotifier::TDesktopNotifier()
{
    qDBusRegisterMetaType<NotificationImage>();
    QDBusConnection::sessionBus().connect(Service, Path, Interface, "ActionInvoked", this,
                                          SLOT(ActionInvoked(uint, QString)));
}

void TDesktopNotifier::Notify(const QString& summary, const QString& body, std::function<void()> onActivated)
{
    m_onActivated = std::move(onActivated);
    m_latestId = 0;
    QVariantMap hints;
    const QImage icon = QIcon(":/images/movarin.svg").pixmap(IconSize, IconSize).toImage();
    if (!icon.isNull())
        hints.insert("image-data", QVariant::fromValue(NotificationImage{icon}));
    QDBusMessage notify = QDBusMessage::createMethodCall(Service, Path, Interface, "Notify");
    notify << QString("Movarin") << uint(0) << QString() << summary << body
           << QStringList{"default", "Show Movarin"} << hints << int(-1);
    auto* answer = new QDBusPendingCallWatcher(QDBusConnection::sessionBus().asyncCall(notify), this);
    connect(answer, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher* call) {
        const QDBusPendingReply<uint> id = *call;
        if (id.isValid())
            m_latestId = id.value();
        call->deleteLater();
    });
}

void TDesktopNotifier::ActionInvoked(uint id, const QString& action)
{
    if (id == m_latestId && id != 0 && action == "default" && m_onActivated)
        m_onActivated();
}
