// The notification-area icon on a real X display; trayer provides the
// notification area. Run under xvfb-run.
#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "components/ImageList.h"
#include "components/JvTrayIcon.h"

#include <QApplication>
#include <QMenu>
#include <QProcess>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QtTest>

namespace {

// The widget the notification area embeds for our icon.
QWidget* EmbeddedIcon()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (QByteArray(widget->metaObject()->className()) == "QSystemTrayIconSys" && widget->isVisible())
            return widget;
    return nullptr;
}

} // namespace

class TestTray : public QObject {
    Q_OBJECT

    QProcess trayer;
    std::unique_ptr<ProgramFixture> fixture;

    // The notification area is started once, by the first test that needs
    // it; the program is started after it, so that its icon is embedded.
    TFFmpegFrm* startWithIcon()
    {
        if (trayer.state() == QProcess::NotRunning) {
            trayer.start("trayer", {"--edge", "top", "--align", "right", "--widthtype", "pixel", "--width", "200",
                                    "--height", "32"});
            if (!trayer.waitForStarted())
                return nullptr;
        }
        if (!QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000))
            return nullptr;
        TFFmpegFrm* window = fixture->Start();
        return QTest::qWaitFor([] { return EmbeddedIcon() != nullptr; }) ? window : nullptr;
    }

    static bool hideIntoTray(TFFmpegFrm* window)
    {
        window->showMinimized();
        return QTest::qWaitFor([window] { return !window->isVisible(); }) && window->JvTrayIcon->Visible();
    }

private slots:
    void initTestCase() { QCOMPARE(QGuiApplication::platformName(), QString("xcb")); }
    void init() { fixture = std::make_unique<ProgramFixture>(); }
    void cleanup() { fixture.reset(); }

    void cleanupTestCase()
    {
        if (trayer.state() != QProcess::NotRunning) {
            trayer.terminate();
            trayer.waitForFinished(5000);
        }
    }

    // Runs first, before any notification area exists.
    void withoutANotificationAreaMinimisingKeepsTheWindow()
    {
        QVERIFY(trayer.state() == QProcess::NotRunning && !QSystemTrayIcon::isSystemTrayAvailable());
        TFFmpegFrm* window = fixture->Start();
        window->showMinimized();
        QTest::qWait(200);
        QVERIFY(window->isVisible());
        QVERIFY(window->isMinimized());
    }

    void iconAppearsWithItsToolTip()
    {
        TFFmpegFrm* window = startWithIcon();
        QVERIFY(window);
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin"));
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QVERIFY(window->JvTrayIcon->Visible());
        QVERIFY(!window->JvTimer->isActive());
    }

    void minimisingHidesIntoTheIconAndAClickBringsItBack_data()
    {
        QTest::addColumn<bool>("byMenu");
        QTest::newRow("left click") << false;
        QTest::newRow("Open Movarin") << true;
    }
    void minimisingHidesIntoTheIconAndAClickBringsItBack()
    {
        QFETCH(bool, byMenu);
        TFFmpegFrm* window = startWithIcon();
        QVERIFY(window);
        window->move(120, 90);
        QTRY_COMPARE(window->pos(), QPoint(120, 90));
        const QRect place = window->geometry();
        const qsizetype statements = fixture->Statements.size();
        QVERIFY(hideIntoTray(window));

        if (byMenu)
            window->JvPopupMenu->findChild<QAction*>("OpenKelmora1")->trigger();
        else
            QTest::mouseClick(EmbeddedIcon(), Qt::LeftButton);
        QTRY_VERIFY(window->isVisible());
        // It stays back: a late report of the old minimised state must not
        // hide it again.
        QTest::qWait(300);
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());
        QTRY_COMPARE(window->geometry(), place);
        QCOMPARE(fixture->Statements.size(), statements); // the first-show loading did not run again

        // A click on the open window changes nothing.
        QTest::mouseClick(EmbeddedIcon(), Qt::LeftButton);
        QTest::qWait(100);
        QCOMPARE(window->geometry(), place);
        QVERIFY(window->isVisible());
    }

    void otherButtonsDoNotBringTheWindowBack()
    {
        TFFmpegFrm* window = startWithIcon();
        QVERIFY(window);
        QVERIFY(hideIntoTray(window));
        QTest::mouseClick(EmbeddedIcon(), Qt::MiddleButton);
        QTest::mouseClick(EmbeddedIcon(), Qt::RightButton);
        QTRY_VERIFY(window->JvPopupMenu->isVisible());
        QVERIFY(!window->isVisible());
        window->JvPopupMenu->hide();
    }

    void menuQuitEndsTheProgram()
    {
        TFFmpegFrm* window = startWithIcon();
        QVERIFY(window);
        QVERIFY(hideIntoTray(window));
        QTimer::singleShot(0, window, [window] { window->JvPopupMenu->findChild<QAction*>("Quit1")->trigger(); });
        QTimer::singleShot(10000, qApp, [] { QCoreApplication::exit(3); });
        QCOMPARE(QCoreApplication::exec(), 0);
        fixture->Stop();
        QTRY_VERIFY(!EmbeddedIcon());
    }
};

QTEST_MAIN(TestTray)
#include "tst_tray.moc"
