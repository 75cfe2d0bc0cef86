// What a batch does for the user around the conversions: the machine is
// kept awake while it runs and the desktop hears when it has finished.
#include "ProgramFixture.h"
#include "Clips.h"
#include "components/JvTrayIcon.h"
#include "engine/FFmpegFunc.h"
#include "process/JvCreateProcess.h"
#include "BatchWindowSetup.h"
#include "tst_batch_support.h"

#include <QCheckBox>
#include <QRegularExpression>
#include <QtTest>

namespace {

const QString NotKeptAwake = "The system did not agree to stay awake; it may go to sleep during this batch.";

} // namespace

class TestBatchComfort : public QObject, BatchWindowSetup {
    Q_OBJECT


    void addSources(int count)
    {
        for (int index = 0; index < count; ++index)
            AddRow(window, MakeFile(files->path(), QStringLiteral("%1.avi").arg(index), "not really a video"));
    }

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void init()
    {
        StartWindow();
        window->JvEditDir->setText(files->path());
    }

    void cleanup() { EndWindow(); }

    void awakeFromStartToEnd_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("completed") << "completed";
        QTest::newRow("stopped") << "stopped";
        QTest::newRow("window closed") << "closed";
    }
    void awakeFromStartToEnd()
    {
        QFETCH(QString, ending);
        addSources(2);
        converter->Put("release.1");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 2);
        QVERIFY(fixture->SleepLock.Held);
        if (ending == "completed")
            converter->Put("release");
        else if (ending == "stopped")
            Press(window, "StopConvBtn");
        else
            window->close();
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!fixture->SleepLock.Held);
        QCOMPARE(fixture->SleepLock.Calls, (QStringList{"Hold", "Release"}));
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin"));
    }

    // The Percent cell keeps its bare percentage; the row's tool tip and the
    // tray's tell how fast it goes and how long it still takes.
    void timeLeftWhileConverting()
    {
        converter->Put("progress", "frame=  25 fps= 25 q=2.0 size=  128kB time=00:00:01.00 bitrate= 838.9kbits/s "
                                   "speed=2.00x\r");
        addSources(2);
        Press(window, "ConvFileBtn");
        QTreeWidgetItem* first = window->FileListView->topLevelItem(0);
        QTRY_COMPARE(window->JvTrayIcon->Hint(), QString("Movarin\nFile 1 of 2"));
        QCOMPARE(Column(window, 4), (QStringList{"25%", "0%"}));
        for (int column = 0; column < 5; ++column)
            QCOMPARE(first->toolTip(column), QString("Speed 2x, less than a minute left"));

        converter->Put("release.1");
        QTRY_COMPARE(window->JvTrayIcon->Hint(), QString("Movarin\nFile 2 of 2"));
        QCOMPARE(first->toolTip(4), QString()); // done: no progress to tell
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(window->JvTrayIcon->Hint(), QString("Movarin"));
        QCOMPARE(window->FileListView->topLevelItem(1)->toolTip(4), QString());
    }

    // A file whose playing time the library cannot read keeps the stand-in
    // in the list, but the stand-in is no estimate: its row tells only its
    // speed, and the tray's time left covers the rows whose time is known.
    void unknownPlayingTimesStayOutOfTheEstimate()
    {
        converter->Put("progress", "frame=  25 fps= 25 q=2.0 size=  128kB time=00:00:01.00 bitrate= 838.9kbits/s "
                                   "speed=2.00x\r");
        TFFmpegFunc().AddFiles({MakeFile(files->path(), "notes.avi", "a text file under a video's name")});
        AddRow(window, MakeFile(files->path(), "known.avi", "not really a video"), "00:10:00");
        QCOMPARE(Column(window, 3), (QStringList{"02:50:00", "00:10:00"}));
        Press(window, "ConvFileBtn");
        QTreeWidgetItem* unknown = window->FileListView->topLevelItem(0);
        QTRY_COMPARE(unknown->toolTip(0), QString("Speed 2x"));

        // Once the pace is known: some seconds of the unknown row converted.
        QTest::qWait(3100);
        TFFmpegFunc().HandleConverterOutput("frame= 100 fps= 25 q=2.0 size= 512kB time=00:00:04.00 bitrate= 838.9kbits/s "
                                            "speed=1.30x",
                                            true);
        // 600 s of the known row at about 1.3 s per second: some minutes,
        // where the stand-in's 2 h 50 min would add hours.
        const QRegularExpressionMatch estimate =
            QRegularExpression("^Movarin\nFile 1 of 2, about (\\d+) min left$").match(window->JvTrayIcon->Hint());
        QVERIFY2(estimate.hasMatch(), qPrintable(window->JvTrayIcon->Hint()));
        QVERIFY2(estimate.captured(1).toInt() <= 10, qPrintable(window->JvTrayIcon->Hint()));
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
    }

    void awakeUntilTheConverterFailsToStart()
    {
        QVERIFY(QFile::rename(ScriptedConverter::Path(), ScriptedConverter::Path() + ".away"));
        const auto restore = qScopeGuard([] {
            QFile::rename(ScriptedConverter::Path() + ".away", ScriptedConverter::Path());
        });
        addSources(1);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(fixture->SleepLock.Calls, (QStringList{"Hold", "Release"}));
        QVERIFY(fixture->Notifier.Notices.isEmpty());
    }

    // The batch runs as ever; the status line says it once, no box asks.
    void refusedLockLeavesALineInTheStatusLine()
    {
        fixture->SleepLock.Refuse = true;
        addSources(2);
        Press(window, "ConvFileBtn");
        QCOMPARE(window->JvEditCmdMsg->text(), NotKeptAwake);
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
        QCOMPARE(fixture->SleepLock.Calls, (QStringList{"Hold", "Release"}));
    }

    void finishedBatchIsAnnouncedOnce_data()
    {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QList<int>>("failing");
        QTest::addColumn<QString>("body");
        QTest::newRow("one") << 1 << QList<int>{} << "1 file converted";
        QTest::newRow("all") << 3 << QList<int>{} << "3 files converted";
        QTest::newRow("some failed") << 3 << QList<int>{1, 3} << "1 file converted, 2 failed";
        QTest::newRow("all failed") << 2 << QList<int>{1, 2} << "0 files converted, 2 failed";
    }
    void finishedBatchIsAnnouncedOnce()
    {
        QFETCH(int, rows);
        QFETCH(QList<int>, failing);
        QFETCH(QString, body);
        for (int run : failing)
            converter->Put(QStringLiteral("exit.%1").arg(run), "1");
        converter->Put("release");
        addSources(rows);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(fixture->Notifier.Notices.size(), 1);
        QCOMPARE(fixture->Notifier.Notices[0].summary, QString("Conversion finished"));
        QCOMPARE(fixture->Notifier.Notices[0].body, body);
    }

    // Failures of an earlier batch are not counted again.
    void aRowConvertedAgainCountsOnlyOnce()
    {
        converter->Put("exit.1", "1");
        converter->Put("release");
        addSources(1);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(fixture->Notifier.Notices.size(), 2);
        QCOMPARE(fixture->Notifier.Notices[1].body, QString("1 file converted"));
    }

    void noAnnouncementWhenTheUserEndedItOrPowerOffFollows_data()
    {
        QTest::addColumn<QString>("ending");
        QTest::newRow("stopped") << "stopped";
        QTest::newRow("window closed") << "closed";
        QTest::newRow("power-off follows") << "power-off";
    }
    void noAnnouncementWhenTheUserEndedItOrPowerOffFollows()
    {
        QFETCH(QString, ending);
        addSources(1);
        Press(window, "ConvFileBtn");
        QTRY_VERIFY(converter->Has("args.1"));
        if (ending == "stopped")
            Press(window, "StopConvBtn");
        else if (ending == "closed")
            window->close();
        window->JvCheckBox->setChecked(ending == "power-off");
        converter->Put("release");
        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(fixture->Notifier.Notices.size(), 0);
        QCOMPARE(powerOff->calls.size(), ending == "power-off" ? 1 : 0);
    }

    // A source that plays clearly longer than what came out of it: the row
    // stays completed, its tool tip and the notice tell.
    void shortOutputIsFlagged_data()
    {
        QTest::addColumn<int>("sourceSeconds");
        QTest::addColumn<bool>("flagged");
        QTest::newRow("as long as the output") << 1 << false;
        QTest::newRow("two seconds longer") << 3 << true;
    }
    void shortOutputIsFlagged()
    {
        QFETCH(int, sourceSeconds);
        QFETCH(bool, flagged);
        ClipOptions options;
        options.seconds = sourceSeconds;
        options.width = 64;
        options.height = 48;
        options.fileName = "source.mp4";
        AddRow(window, MakeClip(files->path(), options), QStringLiteral("00:00:0%1").arg(sourceSeconds));
        addSources(1); // a source without a playing time is never flagged
        converter->Put("release");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        const QString toolTip = window->FileListView->topLevelItem(0)->toolTip(4);
        if (flagged)
            QVERIFY2(QRegularExpression("^The output plays 1\\.\\d\\d s of the source's 3\\.\\d\\d s\\.$").match(toolTip).hasMatch(),
                     qPrintable(toolTip));
        else
            QCOMPARE(toolTip, QString());
        QCOMPARE(window->FileListView->topLevelItem(1)->toolTip(4), QString());
        QCOMPARE(fixture->Notifier.Notices.size(), 1);
        QCOMPARE(fixture->Notifier.Notices[0].body, flagged ? "2 files converted, 1 warning" : "2 files converted");
    }

    void pickingTheAnnouncementBringsTheWindowBack()
    {
        converter->Put("release");
        addSources(1);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(fixture->Notifier.Notices.size(), 1);
        window->showMinimized();
        window->hide(); // as in the notification area
        fixture->Notifier.Notices[0].onActivated();
        QVERIFY(window->isVisible());
        QVERIFY(!window->isMinimized());

        // Picked after the window is gone, it does nothing.
        const auto late = fixture->Notifier.Notices[0].onActivated;
        converter->Put("release");
        fixture.reset();
        late();
        fixture = std::make_unique<ProgramFixture>();
        window = fixture->Start();
    }
};

QTEST_MAIN(TestBatchComfort)
#include "tst_batch_comfort.moc"
