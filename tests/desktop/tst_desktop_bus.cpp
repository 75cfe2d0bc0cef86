// The login manager's sleep lock and the desktop notification over a real
// D-Bus daemon of the test's own, with small stand-in services.

#include "PrivateBus.h"
#include "desktop/DesktopNotifier.h"
#include "desktop/LogindSleepInhibitor.h"

#include <QElapsedTimer>
#include <QtTest>
#include <memory>

namespace {

const QString StandIn = QStringLiteral(DESKTOP_SERVICE_STANDIN);

} // namespace

class TestDesktopBus : public QObject {
    Q_OBJECT

    std::unique_ptr<PrivateBus> bus;

private slots:
    void initTestCase() { bus = std::make_unique<PrivateBus>(); }

    void sleepLockIsTakenOnceAndEndsWithItsDescriptor()
    {
        BusService logind(StandIn, {"logind"});
        TLogindSleepInhibitor lock;
        QVERIFY(lock.Hold());
        QTRY_COMPARE(logind.Records(), (QStringList{"Ready", "Inhibit|sleep:idle|Movarin|Converting videos|block"}));
        QVERIFY(lock.Hold()); // already held: no second lock
        QTest::qWait(200);
        QCOMPARE(logind.Records().size(), 2);

        lock.Release();
        QTRY_COMPARE(logind.Records().value(2), QString("Released"));
        lock.Release(); // nothing held: nothing happens

        QVERIFY(lock.Hold()); // the next batch takes a new one
        QTRY_COMPARE(logind.Records().size(), 4);
    }

    // A lock still held when the program goes away ends with it.
    void sleepLockEndsWithTheHolder()
    {
        BusService logind(StandIn, {"logind"});
        {
            TLogindSleepInhibitor lock;
            QVERIFY(lock.Hold());
        }
        QTRY_COMPARE(logind.Records().value(2), QString("Released"));
    }

    void withoutLoginManagerTheLockIsRefusedAtOnce()
    {
        TLogindSleepInhibitor lock;
        QElapsedTimer waited;
        waited.start();
        QVERIFY(!lock.Hold());
        QVERIFY2(waited.elapsed() < 2000, "a missing service must not hold the batch up");
        lock.Release();
    }

    void notificationCarriesTextsIconAndBringsTheWindowBack()
    {
        BusService server(StandIn, {"notifications"});
        TDesktopNotifier notifier;
        int activated = 0;
        notifier.Notify("Conversion finished", "2 files converted, 1 failed", [&activated] { ++activated; });
        QTRY_COMPARE(server.Records().size(), 2);
        QCOMPARE(server.Records()[1], QString("Notify|Movarin|0||Conversion finished|2 files converted, 1 failed"
                                              "|default,Show Movarin|image-data=64x64|-1"));

        server.Write("activate\n");
        QTRY_COMPARE(activated, 1);
    }

    // Picking an older notification after a newer one came does nothing.
    void onlyTheLatestNotificationActs()
    {
        BusService server(StandIn, {"notifications"});
        TDesktopNotifier notifier;
        QStringList picked;
        notifier.Notify("Conversion finished", "1 file converted", [&picked] { picked << "first"; });
        QTRY_COMPARE(server.Records().size(), 2);
        server.Write("activate\n");
        QTRY_COMPARE(picked, QStringList{"first"});
        notifier.Notify("Conversion finished", "3 files converted", [&picked] { picked << "second"; });
        QTRY_COMPARE(server.Records().size(), 3);
        server.Write("activate\n");
        QTRY_COMPARE(picked, (QStringList{"first", "second"}));
    }

    void withoutNotificationServerNothingHappens()
    {
        TDesktopNotifier notifier;
        bool activated = false;
        notifier.Notify("Conversion finished", "1 file converted", [&activated] { activated = true; });
        QTest::qWait(300); // the error answer arrives and is dropped
        QVERIFY(!activated);
    }
};

QTEST_MAIN(TestDesktopBus)
#include "tst_desktop_bus.moc"
