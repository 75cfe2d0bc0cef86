// Speed, time left and the batch estimate, from converter lines and a
// simulated clock.
#include "batch/TimeLeft.h"

#include <QtTest>
#include <cmath>

class TestTimeLeft : public QObject {
    Q_OBJECT
private slots:
    void speedFromTheProgressLine_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<double>("speed"); // 0: none
        QTest::newRow("usual") << QByteArray("frame=  75 fps= 25 q=2.0 size= 384kB time=00:00:03.00 bitrate= 838.9kbits/s speed=2.51x")
                               << 2.51;
        QTest::newRow("padded") << QByteArray("frame=1 time=00:00:00.04 speed=   0.5x    ") << 0.5;
        QTest::newRow("not yet known") << QByteArray("frame=1 time=00:00:00.04 bitrate=N/A speed=N/A") << 0.0;
        QTest::newRow("stalled") << QByteArray("frame=1 time=00:00:00.04 speed=0x") << 0.0;
        QTest::newRow("none") << QByteArray("frame=1 time=00:00:00.04") << 0.0;
        QTest::newRow("cut off") << QByteArray("frame=1 time=00:00:00.04 speed=1.2") << 0.0;
        QTest::newRow("negative") << QByteArray("frame=1 speed=-1x") << 0.0;
    }
    void speedFromTheProgressLine()
    {
        QFETCH(QByteArray, line);
        QFETCH(double, speed);
        QCOMPARE(ProgressSpeed(line).value_or(0.0), speed);
    }

    void timeInWords_data()
    {
        QTest::addColumn<double>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("nothing") << 0.0 << "less than a minute left";
        QTest::newRow("59 s") << 59.0 << "less than a minute left";
        QTest::newRow("1 min") << 60.0 << "about 1 min left";
        QTest::newRow("2.5 min rounds") << 150.0 << "about 3 min left";
        QTest::newRow("59 min") << 59.0 * 60 << "about 59 min left";
        QTest::newRow("59 min 40 s") << 59.0 * 60 + 40 << "about 1 h left";
        QTest::newRow("1 h 23 min, in five-minute steps") << 83.0 * 60 << "about 1 h 25 min left";
        QTest::newRow("ten hours") << 36000.0 << "about 10 h left";
    }
    void timeInWords()
    {
        QFETCH(double, seconds);
        QFETCH(QString, text);
        QCOMPARE(TimeLeftText(seconds), text);
    }

    void rowAndTrayTexts()
    {
        QCOMPARE(RowProgressText(2.0, 360), QString("Speed 2x, about 3 min left"));
        QCOMPARE(RowProgressText(0.515, 31), QString("Speed 0.515x, about 1 min left"));
        QCOMPARE(RowProgressText(1.5, -4), QString("Speed 1.5x, less than a minute left")); // past the end
        QCOMPARE(RowProgressText(2.0, std::nullopt), QString("Speed 2x")); // playing time unknown
        QCOMPARE(BatchProgressText(2, 5, 180.0), QString("Movarin\nFile 2 of 5, about 3 min left"));
        QCOMPARE(BatchProgressText(1, 5, std::nullopt), QString("Movarin\nFile 1 of 5"));
    }

    void noEstimateUntilThePaceIsKnown()
    {
        TBatchClock clock;
        clock.Start(1000);
        QVERIFY(!clock.SecondsLeft(600, 1000));
        clock.Reached(0, 0);
        QVERIFY(!clock.SecondsLeft(600, 10000)); // nothing converted yet
        clock.Reached(0, 4);
        QVERIFY(!clock.SecondsLeft(600, 2900)); // too early to tell
        QCOMPARE(clock.SecondsLeft(600, 5000).value(), 600.0); // 4 s in 4 s: real time
    }

    // Rows are counted with what the converter reached, a failed row with
    // the little it did; a new batch starts from nothing.
    void paceCountsWhatWasReachedInEveryRow()
    {
        TBatchClock clock;
        clock.Start(0);
        clock.Reached(0, 10);
        clock.Reached(0, 20);
        clock.Reached(1, 2); // row 0 failed at 20 s
        clock.Reached(1, 20);
        QCOMPARE(clock.SecondsLeft(100, 20000).value(), 50.0); // 40 s in 20 s
        clock.Start(100000);
        clock.Reached(0, 5);
        QCOMPARE(clock.SecondsLeft(100, 110000).value(), 200.0);
    }

    // A paused batch converts nothing: the pause counts neither while it
    // lasts nor after, and pausing twice or resuming unpaused changes nothing.
    void pausedTimeIsLeftOut()
    {
        TBatchClock clock;
        clock.Start(0);
        clock.Reached(0, 10);
        clock.Pause(10000);
        clock.Pause(20000);
        QCOMPARE(clock.SecondsLeft(100, 60000).value(), 100.0); // 10 s in 10 s
        clock.Resume(70000);
        clock.Resume(80000);
        clock.Reached(0, 20);
        QCOMPARE(clock.SecondsLeft(100, 80000).value(), 100.0); // 20 s in 20 s
    }

    // Five files of ten minutes at about 4x, with the converter's usual
    // unevenness: a slow start on every file, a stall, a burst. The estimate
    // for the whole batch must follow the true time left without lurching.
    void estimateStaysSteadyThroughAnUnevenBatch()
    {
        TBatchClock clock;
        clock.Start(0);
        const double fileSecs = 600;
        double nowSecs = 0;
        double previous = -1;
        int shown = 0;
        for (int row = 0; row < 5; ++row) {
            double position = 0;
            for (int step = 0; position < fileSecs; ++step) {
                double pace = step < 5 ? 0.5 : 4.0;  // each file starts slowly
                if (row == 2 && step >= 40 && step < 50)
                    pace = 0.0;                       // a stall of ten seconds
                if (row == 3 && step >= 40 && step < 45)
                    pace = 12.0;                      // a burst
                nowSecs += 1;
                position = std::min(fileSecs, position + pace);
                clock.Reached(row, position);
                const double mediaLeft = (fileSecs - position) + fileSecs * (4 - row);
                const std::optional<double> left = clock.SecondsLeft(mediaLeft, qint64(nowSecs * 1000));
                if (!left)
                    continue;
                ++shown;
                const double truth = mediaLeft / 4.0;
                if (nowSecs > 60)
                    QVERIFY2(std::abs(*left - truth) <= 0.25 * truth + 30,
                             qPrintable(QStringLiteral("at %1 s: %2 s estimated, %3 s true").arg(nowSecs).arg(*left).arg(truth)));
                if (previous > 0 && nowSecs > 30)
                    QVERIFY2(*left <= previous + 5 && *left >= previous - 30,
                             qPrintable(QStringLiteral("at %1 s: from %2 s to %3 s").arg(nowSecs).arg(previous).arg(*left)));
                previous = *left;
            }
        }
        QVERIFY(shown > 500);
    }
};

QTEST_MAIN(TestTimeLeft)
#include "tst_timeleft.moc"
