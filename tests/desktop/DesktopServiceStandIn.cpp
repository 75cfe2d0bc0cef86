// A small stand-in for a desktop service on the session bus it is given:
// "logind" answers Inhibit with one end of a pipe and reports when the
// caller has let go of it; "notifications" records Notify and invokes the
// default action of the latest notification when "activate" arrives on its
// input. Every line it prints is one record.

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusUnixFileDescriptor>
#include <QSocketNotifier>
#include <QVariantMap>

#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

namespace {

void Record(const QString& line)
{
    std::printf("%s\n", line.toUtf8().constData());
    std::fflush(stdout);
}

} // namespace

class LoginManager : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.login1.Manager")
public slots:
    QDBusUnixFileDescriptor Inhibit(const QString& what, const QString& who, const QString& why, const QString& mode)
    {
        Record(QStringList{"Inhibit", what, who, why, mode}.join('|'));
        int ends[2];
        if (pipe2(ends, O_CLOEXEC) != 0)
            return {};
        // The lock ends when every copy of the write end is closed: ours
        // goes with the reply, the caller's when it lets go.
        auto* watch = new QSocketNotifier(ends[0], QSocketNotifier::Read, this);
        connect(watch, &QSocketNotifier::activated, this, [watch, readEnd = ends[0]] {
            char byte;
            if (read(readEnd, &byte, 1) <= 0) {
                Record("Released");
                watch->setEnabled(false);
                close(readEnd);
            }
        });
        QDBusUnixFileDescriptor handed(ends[1]);
        close(ends[1]);
        return handed;
    }
};

class Notifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    uint latestId = 0;
signals:
    void ActionInvoked(uint id, const QString& action);
public slots:
    uint Notify(const QString& app, uint replaces, const QString& icon, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap& hints, int timeout)
    {
        QStringList hintTexts;
        for (auto hint = hints.begin(); hint != hints.end(); ++hint)
            hintTexts << hint.key() + '=' + ImageSize(hint.value());
        Record(QStringList{"Notify", app, QString::number(replaces), icon, summary, body, actions.join(','),
                           hintTexts.join(','), QString::number(timeout)}
                   .join('|'));
        return latestId = 40 + ++count;
    }
    QStringList GetCapabilities() { return {"actions", "body"}; }

private:
    // "WxH" of an image-data hint whose pixels fill its rows.
    static QString ImageSize(const QVariant& value)
    {
        if (!value.canConvert<QDBusArgument>())
            return "?";
        const QDBusArgument argument = value.value<QDBusArgument>();
        int width = 0, height = 0, rowBytes = 0, bits = 0, channels = 0;
        bool alpha = false;
        QByteArray pixels;
        argument.beginStructure();
        argument >> width >> height >> rowBytes >> alpha >> bits >> channels >> pixels;
        argument.endStructure();
        const bool whole = pixels.size() == qsizetype(rowBytes) * height && rowBytes >= width * channels;
        return QStringLiteral("%1x%2%3").arg(width).arg(height).arg(whole ? "" : " (short)");
    }
    uint count = 0;
};

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QString role = app.arguments().value(1);
    QDBusConnection bus = QDBusConnection::sessionBus();
    QObject* service = nullptr;
    QString name;
    QString path;
    if (role == "logind") {
        service = new LoginManager;
        name = "org.freedesktop.login1";
        path = "/org/freedesktop/login1";
    } else if (role == "notifications") {
        auto* notifications = new Notifications;
        service = notifications;
        name = "org.freedesktop.Notifications";
        path = "/org/freedesktop/Notifications";
        auto* input = new QSocketNotifier(STDIN_FILENO, QSocketNotifier::Read, &app);
        QObject::connect(input, &QSocketNotifier::activated, &app, [notifications, input] {
            char buffer[64];
            const ssize_t got = read(STDIN_FILENO, buffer, sizeof buffer);
            if (got <= 0) {
                input->setEnabled(false);
                return;
            }
            if (QByteArray(buffer, got).contains("activate"))
                emit notifications->ActionInvoked(notifications->latestId, "default");
        });
    } else {
        std::fprintf(stderr, "usage: %s logind|notifications\n", argv[0]);
        return 2;
    }
    if (!bus.registerObject(path, service, QDBusConnection::ExportAllSlots | QDBusConnection::ExportAllSignals)
        || !bus.registerService(name)) {
        std::fprintf(stderr, "cannot serve %s: %s\n", qPrintable(name), qPrintable(bus.lastError().message()));
        return 1;
    }
    Record("Ready");
    return app.exec();
}

#include "DesktopServiceStandIn.moc"
