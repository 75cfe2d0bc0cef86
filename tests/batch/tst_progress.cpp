#include "batch/ConversionProgress.h"

#include <QtTest>
#include <limits>

namespace {

const QByteArray WorkedExample =
    "frame=  250 fps= 25 q=2.0 size=    1024kB time=00:01:05.32 bitrate= 838.9kbits/s";

} // namespace

class TestProgress : public QObject {
    Q_OBJECT
private slots:
    void recognisesProgressLines_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<bool>("progress");
        QTest::newRow("worked example") << WorkedExample << true;
        QTest::newRow("cut right after the prefix") << QByteArray("frame=") << true;
        QTest::newRow("audio only") << QByteArray("size=     256kB time=00:00:04.01 bitrate= 522.8kbits/s") << true;
        QTest::newRow("final audio-only size, capital L") << QByteArray("Lsize=     256kB time=00:00:04.01") << false;
        QTest::newRow("size= inside a message") << QByteArray("Invalid size=0 in header") << false;
        QTest::newRow("leading blank") << QByteArray(" frame=  250 time=00:01:05.32") << false;
        QTest::newRow("other case") << QByteArray("Frame=  250 time=00:01:05.32") << false;
        QTest::newRow("banner") << QByteArray("ffmpeg version 5.1.6") << false;
        QTest::newRow("empty") << QByteArray() << false;
    }
    void recognisesProgressLines()
    {
        QFETCH(QByteArray, line);
        QFETCH(bool, progress);
        QCOMPARE(IsProgressLine(line), progress);
    }

    void readsThePosition_data()
    {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<int>("seconds"); // -1: no position can be read
        QTest::newRow("worked example") << WorkedExample << 65;
        QTest::newRow("hours count") << QByteArray("frame=1 time=02:50:00.00 bitrate=1") << 10200;
        QTest::newRow("past the playing time") << QByteArray("frame=1 time=00:03:22.40") << 202;
        QTest::newRow("fraction ignored") << QByteArray("frame=1 time=00:00:59.99") << 59;
        QTest::newRow("separators not examined") << QByteArray("frame=1 time=01.02.03") << 3723;
        QTest::newRow("blank padding in a field") << QByteArray("frame=1 time= 1: 2: 3") << 3723;
        QTest::newRow("first time= counts") << QByteArray("frame=1 time=00:00:10 time=00:00:20") << 10;
        QTest::newRow("cut inside the seconds") << QByteArray("frame=1 time=00:01:0") << 60;
        QTest::newRow("line rewritten by a carriage return") << QByteArray("frame=1 time=00:00:05.00\r") << 5;
        QTest::newRow("cut before the seconds") << QByteArray("frame=1 time=00:01:") << -1;
        QTest::newRow("cut after time=") << QByteArray("frame=1 time=") << -1;
        QTest::newRow("no time") << QByteArray("frame=  250 fps= 25") << -1;
        QTest::newRow("N/A") << QByteArray("frame=    0 fps=0.0 q=0.0 size=0kB time=N/A bitrate=N/A") << -1;
        QTest::newRow("negative") << QByteArray("frame=1 time=-00:00:00.04 bitrate=1") << -1;
        QTest::newRow("negative large") << QByteArray("frame=1 time=-577014:32:22.77") << -1;
        QTest::newRow("plain seconds") << QByteArray("frame=1 time=5.00 bitrate=1") << -1;
        QTest::newRow("signed field") << QByteArray("frame=1 time=+1:00:00") << -1;
    }
    void readsThePosition()
    {
        QFETCH(QByteArray, line);
        QFETCH(int, seconds);
        QCOMPARE(ProgressTimeSecs(line).value_or(-1), seconds);
    }

    void computesThePercentage_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("duration");
        QTest::addColumn<int>("percent"); // -1: nothing to show
        QTest::newRow("worked example truncates 32.5") << 65 << 200 << 32;
        QTest::newRow("past the end") << 202 << 200 << 101;
        QTest::newRow("unknown length default") << 5100 << 10200 << 50;
        QTest::newRow("start") << 0 << 200 << 0;
        QTest::newRow("exactly done") << 200 << 200 << 100;
        QTest::newRow("one third") << 1 << 3 << 33;
        QTest::newRow("zero playing time") << 0 << 0 << -1;
        QTest::newRow("zero playing time, later position") << 3 << 0 << -1;
        // Floating point gave one less for these.
        QTest::newRow("29 of 100") << 29 << 100 << 29;
        QTest::newRow("57 of 100") << 57 << 100 << 57;
        QTest::newRow("exact third of a long file") << 3400 << 10200 << 33;
    }
    void computesThePercentage()
    {
        QFETCH(int, position);
        QFETCH(int, duration);
        QFETCH(int, percent);
        QCOMPARE(ProgressPercent(position, duration).value_or(-1), percent);
    }

    // Whole percentages come out whole for every playing time a row can
    // have: position = duration * k / 100 exactly gives k.
    void exactPercentagesAreNeverOneLow()
    {
        for (int duration = 1; duration <= 10200; ++duration)
            for (int percent = 0; percent <= 200; ++percent)
                if ((duration * percent) % 100 == 0
                    && ProgressPercent(duration * percent / 100, duration) != percent)
                    QFAIL(qPrintable(QStringLiteral("%1 of %2").arg(duration * percent / 100).arg(duration)));
    }

    // The largest position a progress line can spell, 99:99:99, and beyond.
    void largePositionsDoNotOverflow_data()
    {
        QTest::addColumn<int>("position");
        QTest::addColumn<int>("duration");
        QTest::addColumn<qint64>("percent");
        const int largest = *ProgressTimeSecs("frame=1 time=99:99:99.99");
        QTest::newRow("largest line position, 1 s file") << largest << 1 << qint64(largest) * 100;
        QTest::newRow("largest line position, default length") << largest << 10200 << qint64(3553);
        QTest::newRow("largest int") << std::numeric_limits<int>::max() << 1
                                     << qint64(std::numeric_limits<int>::max()) * 100;
        QTest::newRow("largest int over itself") << std::numeric_limits<int>::max()
                                                 << std::numeric_limits<int>::max() << qint64(100);
    }
    void largePositionsDoNotOverflow()
    {
        QFETCH(int, position);
        QFETCH(int, duration);
        QFETCH(qint64, percent);
        QCOMPARE(ProgressPercent(position, duration), std::optional<qint64>(percent));
    }

    void readsThePlayingTime_data()
    {
        QTest::addColumn<QString>("playingTime");
        QTest::addColumn<int>("seconds");
        QTest::newRow("worked example") << "00:03:20" << 200;
        QTest::newRow("unknown length default") << "02:50:00" << 10200;
        QTest::newRow("zero") << "00:00:00" << 0;
        QTest::newRow("all fields") << "01:02:03" << 3723;
    }
    void readsThePlayingTime()
    {
        QFETCH(QString, playingTime);
        QFETCH(int, seconds);
        QCOMPARE(PlayingTimeSecs(playingTime), seconds);
    }

    void malformedNumbersRaiseTheConversionError_data()
    {
        QTest::addColumn<QString>("playingTime");
        QTest::addColumn<QString>("message");
        QTest::newRow("blank in a field") << " 0:03:20" << "' 0' is not a valid integer value";
        QTest::newRow("empty") << "" << "'' is not a valid integer value";
        QTest::newRow("letters") << "ab:03:20" << "'ab' is not a valid integer value";
    }
    void malformedNumbersRaiseTheConversionError()
    {
        QFETCH(QString, playingTime);
        QFETCH(QString, message);
        try {
            PlayingTimeSecs(playingTime);
            QFAIL("no error");
        } catch (const std::exception& error) {
            QCOMPARE(QString::fromUtf8(error.what()), message);
        }
    }
};

QTEST_APPLESS_MAIN(TestProgress)
#include "tst_progress.moc"
