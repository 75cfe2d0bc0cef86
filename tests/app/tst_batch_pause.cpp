// Pausing a batch and stopping it after the current file, through the real
// window, with the scripted converter beside the test program.
#include "BatchWindowSetup.h"
#include "ProcessState.h"
#include "components/JvTrayIcon.h"
#include "engine/FFmpegFunc.h"
#include "tst_batch_support.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QThread>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray Progress =
    "frame=   75 fps= 25 q=2.0 size=     384kB time=00:00:03.00 bitrate= 838.9kbits/s speed=1.5x";

QAction* Action(QWidget* menuOrList, const char* name)
{
    for (QAction* action : menuOrList->actions())
        if (action->objectName() == name)
            return action;
    qFatal("no action %s", name);
}

QString ToolTip(TFFmpegFrm* window, int row) { return window->FileListView->topLevelItem(row)->toolTip(0); }

} // namespace

class TestBatchPause : public QObject, BatchWindowSetup {
    Q_OBJECT

    QToolButton* pauseButton() const { return window->findChild<QToolButton*>("PauseConvBtn"); }
    QAction* trayPause() const { return Action(window->JvPopupMenu, "PauseConv1"); }
    qint64 converterPid(int run) const { return converter->Read(QStringLiteral("pid.%1").arg(run)).trimmed().toLongLong(); }

    void addSources(int count)
    {
        for (int number = 0; number < count; ++number)
            AddRow(window, MakeFile(files->path(), QStringLiteral("%1.avi").arg(number), "not really a video"));
    }
    // Starts a batch and waits until the converter of its first row reports.
    void startBatch(int rows)
    {
        addSources(rows);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(Progress));
    }
    void pauseAndWaitUntilStopped(int run)
    {
        pauseButton()->click();
        QTRY_VERIFY(GroupSuspended(converterPid(run)));
    }

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void init()
    {
        StartWindow();
        QDir().mkpath(files->filePath("out"));
        window->JvEditDir->setText(files->filePath("out"));
        converter->Put("progress", Progress + '\r');
    }

    void cleanup() { EndWindow(); }

    // Pause suspends the converter and everything says so; Resume lets it go
    // on, and the batch ends as if it had never been paused.
    void pauseAndResumeFromTheToolBarAndTheTray_data()
    {
        QTest::addColumn<bool>("fromTray");
        QTest::newRow("tool bar") << false;
        QTest::newRow("tray menu") << true;
    }
    void pauseAndResumeFromTheToolBarAndTheTray()
    {
        QFETCH(bool, fromTray);
        auto press = [&] { fromTray ? trayPause()->trigger() : pauseButton()->click(); };
        QVERIFY(!pauseButton()->isEnabled());
        startBatch(2);
        QVERIFY(pauseButton()->isEnabled());
        QVERIFY(trayPause()->isEnabled());
        QVERIFY(fixture->SleepLock.Held);

        press();
        QTRY_VERIFY(GroupSuspended(converterPid(1)));
        QCOMPARE(pauseButton()->text(), QString("Resume"));
        QCOMPARE(trayPause()->text(), QString("Resume"));
        QCOMPARE(pauseButton()->toolTip(), QString("Resume video file conversion"));
        QCOMPARE(ToolTip(window, 0), QString("Paused"));
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin\nPaused"));
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Pause));
        QVERIFY(!window->JvTimer->isActive());
        QVERIFY(!fixture->SleepLock.Held);
        QCOMPARE(ButtonsEnabled(window), Running);
        QTest::qWait(1200); // no blinking while paused
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Pause));

        press();
        QTRY_VERIFY(!GroupSuspended(converterPid(1)));
        QCOMPARE(pauseButton()->text(), QString("Pause"));
        QCOMPARE(trayPause()->text(), QString("Pause"));
        QCOMPARE(ToolTip(window, 0), QString());
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin\nFile 1 of 2"));
        QVERIFY(window->JvTimer->isActive());
        QVERIFY(fixture->SleepLock.Held);

        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        QVERIFY(!pauseButton()->isEnabled());
        QCOMPARE(converter->Runs(), 2);
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // A suspended converter reads no "q": every way of ending the batch lets
    // it go on first, so that it ends as soon as it would while running.
    void endingAPausedBatch_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("stop") << "stop";
        QTest::newRow("close box") << "close box";
        QTest::newRow("tray quit") << "tray quit";
    }
    void endingAPausedBatch()
    {
        QFETCH(QString, how);
        startBatch(2);
        pauseAndWaitUntilStopped(1);
        if (how == "stop")
            Press(window, "StopConvBtn");
        else if (how == "close box")
            window->close();
        else
            Action(window->JvPopupMenu, "Quit1")->trigger();
        QCOMPARE(ButtonsEnabled(window), Idle);
        QTRY_COMPARE_WITH_TIMEOUT(converter->Read("input.1"), QByteArray("q"), 5000);
        QTRY_VERIFY_WITH_TIMEOUT(IsIdle(window), 5000);
        QVERIFY(ProcessEnded(converterPid(1)));
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(pauseButton()->text(), QString("Pause"));
        if (how == "stop")
            QCOMPARE(ToolTip(window, 0), QString("Stopped at 75%."));
        QVERIFY(powerOff->calls.isEmpty());
    }

    // A row whose converter has ended as Pause came ends the batch all the
    // same: completed, but the machine stays on for the user who paused.
    void batchEndingWhilePausedNeverPowersOff()
    {
        window->JvCheckBox->setChecked(true);
        startBatch(1);
        const qint64 pid = converterPid(1);
        converter->Put("release");
        // The converter ends while the window hears nothing of it yet.
        QElapsedTimer waited;
        waited.start();
        while (!ProcessEnded(pid) && waited.elapsed() < 10000)
            QThread::msleep(5);
        QVERIFY(ProcessEnded(pid));
        pauseButton()->click();
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        QCOMPARE(powerOff->asked, 0);
        QVERIFY(powerOff->calls.isEmpty());
        QCOMPARE(fixture->Notifier.Notices.size(), 1);
        QCOMPARE(pauseButton()->text(), QString("Pause"));
    }

    // A row that starts while the batch is paused is suspended at once.
    void rowStartingWhilePausedStaysPaused()
    {
        startBatch(2);
        const qint64 first = converterPid(1);
        converter->Put("release.1");
        QElapsedTimer waited;
        waited.start();
        while (!ProcessEnded(first) && waited.elapsed() < 10000)
            QThread::msleep(5);
        pauseButton()->click();
        // Suspended so early that it may not even have told its number.
        QTRY_VERIFY(window->JvCreateProcess->Paused());
        QTRY_COMPARE(ChildProcesses(QCoreApplication::applicationPid(), files->path().toUtf8()).size(), 1);
        QTRY_VERIFY(GroupSuspended(ChildProcesses(QCoreApplication::applicationPid(), files->path().toUtf8()).value(0)));
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Converting}));
        QVERIFY(!window->JvTimer->isActive());
        pauseButton()->click();
        QTRY_COMPARE(converter->Runs(), 2);
        QVERIFY(!GroupSuspended(converterPid(2)));
    }

    // The check item is one, in the tray menu and the list's menu: the row
    // being converted finishes, the rest wait, and the batch ends as a
    // completed one, powering off only when nothing was left out.
    void stopAfterTheCurrentFile_data()
    {
        QTest::addColumn<QString>("menu");
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("marks");
        QTest::addColumn<int>("powerOffs");
        const int done = TImageList::Converted;
        const int waiting = TImageList::Added;
        QTest::newRow("tray, rows left") << "tray" << 3 << QList<int>{done, waiting, waiting} << 0;
        QTest::newRow("list, rows left") << "list" << 2 << QList<int>{done, waiting} << 0;
        QTest::newRow("the last row") << "tray" << 1 << QList<int>{done} << 1;
    }
    void stopAfterTheCurrentFile()
    {
        QFETCH(QString, menu);
        QFETCH(int, rows);
        QFETCH(QList<int>, marks);
        QFETCH(int, powerOffs);
        window->JvCheckBox->setChecked(true);
        startBatch(rows);
        QAction* item = Action(menu == "tray" ? static_cast<QWidget*>(window->JvPopupMenu) : window->FileListView,
                               "StopAfterFile1");
        item->trigger();
        QVERIFY(Action(window->JvPopupMenu, "StopAfterFile1")->isChecked());
        QVERIFY(Action(window->FileListView, "StopAfterFile1")->isChecked());
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), marks);
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(powerOff->calls.size(), powerOffs);
        QCOMPARE(fixture->Notifier.Notices.size(), 1 - powerOffs);
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QVERIFY(!item->isChecked()); // it was for that batch only
    }
};

QTEST_MAIN(TestBatchPause)
#include "tst_batch_pause.moc"
