// The rows of a batch and how each one's state changes, without a window.
#include "batch/BatchRows.h"

#include <QSignalSpy>
#include <QtTest>

namespace {

struct Report {
    QByteArray line;
    bool startsOnNewLine;
};

TBatchRow Row(const QString& playingTime, bool playingTimeRead = true)
{
    TBatchRow row;
    row.source = "/videos/trip.avi";
    row.type = "avi";
    row.size = "1.2 MB";
    row.playingTime = playingTime;
    row.playingTimeRead = playingTimeRead;
    return row;
}

// A row that has been converting and reached 32%.
void ConvertTo32Percent(TBatchRows& rows)
{
    rows.Append(Row("00:03:20"));
    rows.Start(0);
    rows.ReportLine(0, "frame=  250 fps= 25 q=2.0 size=    1024kB time=00:01:05.32 bitrate= 838.9kbits/s", true);
}

TRowOutcome StoppedAt32Percent()
{
    TBatchRows rows;
    ConvertTo32Percent(rows);
    return DecideRowOutcome(rows.StoppedEndOf(0));
}

TRowOutcome Outcome(TRowOutcome::TKind kind, const QString& toolTip, bool warning = false)
{
    TRowOutcome outcome;
    outcome.kind = kind;
    outcome.toolTip = toolTip;
    outcome.warning = warning;
    return outcome;
}

} // namespace

Q_DECLARE_METATYPE(QList<Report>)
Q_DECLARE_METATYPE(TRowState)
Q_DECLARE_METATYPE(TRowOutcome)
Q_DECLARE_METATYPE(std::optional<int>)
Q_DECLARE_METATYPE(std::optional<double>)

class TestBatchRows : public QObject {
    Q_OBJECT

private slots:
    // Each progress report of the converter against the row's playing time.
    void progressLineMovesThePercentage_data()
    {
        QTest::addColumn<QString>("playingTime");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<std::optional<int>>("position");
        QTest::addColumn<qint64>("percent");
        QTest::newRow("worked example") << "00:03:20"
                                        << QByteArray("frame=  250 fps= 25 time=00:01:05.32 bitrate= 838.9kbits/s")
                                        << std::optional<int>(65) << qint64(32);
        QTest::newRow("past the end") << "00:03:20" << QByteArray("frame= 9 time=00:03:22.40") << std::optional<int>(202)
                                      << qint64(101);
        QTest::newRow("sound only") << "00:00:10" << QByteArray("size=  12kB time=00:00:05.00") << std::optional<int>(5)
                                    << qint64(50);
        QTest::newRow("no playing time to divide by")
            << "00:00:00" << QByteArray("frame= 1 time=00:00:00.50") << std::optional<int>(0) << qint64(0);
        QTest::newRow("unreadable time") << "00:03:20" << QByteArray("frame= 1 time=N/A bitrate=N/A")
                                         << std::optional<int>() << qint64(0);
        QTest::newRow("not a progress line") << "00:03:20" << QByteArray(" frame= 1 time=00:01:00.00")
                                             << std::optional<int>() << qint64(0);
    }
    void progressLineMovesThePercentage()
    {
        QFETCH(QString, playingTime);
        QFETCH(QByteArray, line);
        QFETCH(std::optional<int>, position);
        QFETCH(qint64, percent);
        TBatchRows rows;
        rows.Append(Row(playingTime));
        rows.Start(0);
        QCOMPARE(rows.ReportLine(0, line, true), position);
        QCOMPARE(rows.At(0).percent, percent);
        QCOMPARE(rows.At(0).state, TRowState::Converting);
    }

    // What is still to convert, for the row's tool tip and the tray's
    // estimate. "?" marks a playing time the library did not give: the
    // list's stand-in, which must not count.
    void secondsLeftCountOnlyKnownPlayingTimes_data()
    {
        QTest::addColumn<QStringList>("playingTimes");
        QTest::addColumn<int>("position"); // in row 0
        QTest::addColumn<std::optional<double>>("rowLeft");
        QTest::addColumn<std::optional<double>>("batchLeft");
        using Secs = std::optional<double>;
        QTest::newRow("all known") << QStringList{"00:03:20", "00:01:00"} << 65 << Secs(135) << Secs(195);
        QTest::newRow("this row unknown") << QStringList{"?02:50:00", "00:01:00"} << 5 << Secs() << Secs(60);
        QTest::newRow("a later row unknown")
            << QStringList{"00:03:20", "?02:50:00", "00:01:00"} << 65 << Secs(135) << Secs(195);
        QTest::newRow("none known") << QStringList{"?02:50:00", "?02:50:00"} << 5 << Secs() << Secs();
        QTest::newRow("past the end") << QStringList{"00:00:10"} << 12 << Secs(0) << Secs(0);
        QTest::newRow("malformed") << QStringList{"00:00:10", "0x:00:10"} << 0 << Secs(10) << Secs(10);
    }
    void secondsLeftCountOnlyKnownPlayingTimes()
    {
        QFETCH(QStringList, playingTimes);
        QFETCH(int, position);
        TBatchRows rows;
        for (const QString& playingTime : playingTimes)
            rows.Append(Row(QString(playingTime).remove('?'), !playingTime.startsWith('?')));
        const TBatchRows::TSecsLeft left = rows.SecsLeft(0, position);
        QTEST(left.row, "rowLeft");
        QTEST(left.batch, "batchLeft");
    }

    void malformedPlayingTimeRaisesTheConversionError()
    {
        TBatchRows rows;
        rows.Append(Row("0x:00:10"));
        QVERIFY_THROWS_EXCEPTION(std::exception, rows.ReportLine(0, "frame= 1 time=00:00:01.00", true));
    }

    // How each end leaves the row; the tally counts what the rows show.
    void endOfARow_data()
    {
        QTest::addColumn<TRowOutcome>("outcome");
        QTest::addColumn<TRowState>("state");
        QTest::addColumn<qint64>("percent");
        QTest::addColumn<int>("completed");
        QTest::addColumn<int>("failed");
        QTest::addColumn<int>("warnings");
        QTest::newRow("completed") << Outcome(TRowOutcome::TKind::Completed, {}) << TRowState::Completed << qint64(100)
                                   << 1 << 0 << 0;
        QTest::newRow("completed, short") << Outcome(TRowOutcome::TKind::Completed, "The output plays 1 s.", true)
                                          << TRowState::Completed << qint64(100) << 1 << 0 << 1;
        QTest::newRow("failed") << Outcome(TRowOutcome::TKind::Failed, "Conversion failed!") << TRowState::Failed
                                << qint64(32) << 0 << 1 << 0;
        QTest::newRow("stopped") << StoppedAt32Percent() << TRowState::Stopped
                                 << qint64(32) << 0 << 0 << 0;
    }
    void endOfARow()
    {
        QFETCH(TRowOutcome, outcome);
        QFETCH(TRowState, state);
        QFETCH(qint64, percent);
        TBatchRows rows;
        ConvertTo32Percent(rows);
        rows.Finish(0, outcome);
        QCOMPARE(rows.At(0).state, state);
        QCOMPARE(rows.At(0).toolTip, outcome.toolTip);
        QCOMPARE(rows.At(0).percent, percent);
        const TBatchRows::TTally tally = rows.Tally();
        QTEST(tally.completed, "completed");
        QTEST(tally.failed, "failed");
        QTEST(tally.warnings, "warnings");
    }

    void stoppedRowSaysHowFarItGot()
    {
        QCOMPARE(StoppedAt32Percent().toolTip, QString("Stopped at 32%."));
    }

    // Starting again forgets what the last run left, its percentage too (a
    // row refused before its converter starts must not show an old 100%);
    // the facts stay.
    void startForgetsTheLastRun()
    {
        TBatchRows rows;
        ConvertTo32Percent(rows);
        rows.ReportLine(0, "a.avi: Invalid data found when processing input", true);
        rows.Finish(0, Outcome(TRowOutcome::TKind::Failed, "a.avi: Invalid data", false));
        rows.Start(0);
        QCOMPARE(rows.At(0).state, TRowState::Converting);
        QCOMPARE(rows.At(0).toolTip, QString());
        QCOMPARE(rows.Messages(0), QStringList());
        QCOMPARE(rows.At(0).percent, qint64(0));
        QCOMPARE(rows.At(0).playingTime, QString("00:03:20"));
        QCOMPARE(rows.Tally().failed, 0);
    }

    // The view hears of every change it shows, and only of those.
    void tellsTheViewWhatChanged()
    {
        TBatchRows rows;
        QSignalSpy appended(&rows, &TBatchRows::Appended);
        QSignalSpy changed(&rows, &TBatchRows::Changed);
        QSignalSpy removed(&rows, &TBatchRows::Removed);
        rows.Append(Row("00:00:10"));
        rows.Append(Row("00:00:10"));
        QCOMPARE(appended.count(), 2);
        rows.Start(1);
        rows.ReportLine(1, "Input #0, avi, from 'a.avi':", true);
        rows.ReportLine(1, "frame= 1 time=00:00:05.00 speed=1x", true);
        rows.ReportLine(1, "frame= 2 time=00:00:05.50 speed=1x", false);
        rows.SetToolTip(1, "Speed 1x");
        rows.SetToolTip(1, "Speed 1x");
        QCOMPARE(changed.count(), 3); // started, 50%, tool tip
        QCOMPARE(changed.at(1).at(0).toInt(), 1);
        rows.Remove(0);
        QCOMPARE(removed.count(), 1);
        QCOMPARE(rows.At(0).percent, qint64(50));
    }

    // What the row keeps of the converter's lines: finished message lines,
    // newest last, each once; partial states of a line and progress, banner
    // and stream listing never.
    void keepsTheLastDistinctMessages_data()
    {
        QTest::addColumn<QList<Report>>("reports");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("banner and listing are no cause")
            << QList<Report>{{"ffmpeg version 5.1.6 Copyright (c) 2000-2024", true},
                             {"  configuration: --prefix=/usr", true},
                             {"Input #0, avi, from 'a.avi':", true},
                             {"  Stream #0:0: Video: h264", true},
                             {"Stream mapping:", true},
                             {"Press [q] to stop, [?] for help", true},
                             {"frame=   25 fps= 25 time=00:00:01.00", true},
                             {"size=      27kB time=00:00:03.01", false}}
            << QStringList{};
        QTest::newRow("a line cut by a piece boundary counts once, whole")
            << QList<Report>{{"a.avi: Invalid da", true}, {"a.avi: Invalid data found when processing input", false}}
            << QStringList{"a.avi: Invalid data found when processing input"};
        QTest::newRow("the cause before the last words")
            << QList<Report>{{"[mp4 @ 0x1] moov atom not written", true},
                             {"av_interleaved_write_frame(): No space left on device", true},
                             {"av_interleaved_write_frame(): No space left on device", true},
                             {"av_interleaved_write_frame(): No space left on device", true},
                             {"Error writing trailer of out.mp4: No space left on device", true},
                             {"Conversion failed!", true}}
            << QStringList{"[mp4 @ 0x1] moov atom not written", "av_interleaved_write_frame(): No space left on device",
                           "Error writing trailer of out.mp4: No space left on device", "Conversion failed!"};
        QTest::newRow("only the newest few")
            << QList<Report>{{"one", true}, {"two", true}, {"three", true}, {"four", true}, {"five", true}}
            << QStringList{"two", "three", "four", "five"};
        QTest::newRow("a repeated line moves to the end")
            << QList<Report>{{"cause", true}, {"other", true}, {"cause", true}} << QStringList{"other", "cause"};
        QTest::newRow("the cause outlasts the closing lines")
            << QList<Report>{{"[libx264 @ 0x1] height not divisible by 2 (160x121)", true},
                             {"Error initializing output stream 0:0 -- Error while opening encoder", true},
                             {"Error while filtering: Invalid argument", true},
                             {"Failed to inject frame into filter network: Invalid argument", true},
                             {"[aost#0:1/libmp3lame @ 0x2] Error while opening encoder - maybe incorrect parameters", true},
                             {"Conversion failed!", true}}
            << QStringList{"[libx264 @ 0x1] height not divisible by 2 (160x121)",
                           "Failed to inject frame into filter network: Invalid argument",
                           "[aost#0:1/libmp3lame @ 0x2] Error while opening encoder - maybe incorrect parameters",
                           "Conversion failed!"};
        QTest::newRow("a line that ended where a piece ended")
            << QList<Report>{{"[mp4 @ 0x1] Could not find tag for codec msvideo1", true},
                             {"", true},
                             {"Conversion failed!", false}}
            << QStringList{"[mp4 @ 0x1] Could not find tag for codec msvideo1", "Conversion failed!"};
        QTest::newRow("a message rewritten into progress is gone")
            << QList<Report>{{"cause", true}, {"Last message repea", true}, {"frame=  1 time=00:00:01.00", false}}
            << QStringList{"cause"};
    }
    void keepsTheLastDistinctMessages()
    {
        QFETCH(QList<Report>, reports);
        QFETCH(QStringList, messages);
        TBatchRows rows;
        rows.Append(Row("00:00:04"));
        rows.Start(0);
        for (const Report& report : reports)
            rows.ReportLine(0, report.line, report.startsOnNewLine);
        QCOMPARE(rows.Messages(0), messages);
    }
};

QTEST_MAIN(TestBatchRows)
#include "tst_batchrows.moc"
