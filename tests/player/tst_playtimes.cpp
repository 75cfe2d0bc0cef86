// The mini player's pure parts: times, the command line, the position bar.
#include "player/JvColorTrkBar.h"
#include "player/MplayerCommand.h"
#include "player/MplayerFunc.h"
#include "player/PlayTimes.h"
#include "batch/StrToInt.h"
#include "process/JvReader.h"
#include "process/ShellWords.h"

#include <optional>

#include <QtTest>

class TestPlayTimes : public QObject {
    Q_OBJECT
private slots:
    void formatSeconds_data()
    {
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("negative counts as zero") << -5 << "00:00:00";
        QTest::newRow("zero") << 0 << "00:00:00";
        QTest::newRow("minutes and seconds") << 83 << "00:01:23";
        QTest::newRow("one hour") << 3600 << "01:00:00";
        QTest::newRow("nine hours keep one leading zero") << 9 * 3600 + 59 * 60 + 59 << "09:59:59";
        QTest::newRow("ten hours get a fixed leading zero") << 36000 << "010:00:00";
    }
    void formatSeconds()
    {
        QFETCH(int, seconds);
        QFETCH(QString, text);
        QCOMPARE(TMplayerFunc::FormatSeconds(seconds), text);
    }

    void parsePlayPosition_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("seconds");
        QTest::newRow("status line") << QByteArray("A:   5.3 V:   5.3 A-V:  0.000") << 5;
        QTest::newRow("three digits") << QByteArray("A: 123.4") << 123;
        QTest::newRow("four digits") << QByteArray("A:1234.5") << 1234;
        QTest::newRow("five digits are cut to four") << QByteArray("A:12345.6") << 1234;
        QTest::newRow("shorter than six characters") << QByteArray("A: 7") << 7;
        QTest::newRow("control characters are trimmed") << QByteArray("A:\t 9\r") << 9;
        QTest::newRow("video-only status line") << QByteArray("V:   5.3   132/132") << 5;
        QTest::newRow("video position of a line with sound is not used") << QByteArray("A:   1.0 V:   7.0") << 1;
        QTest::newRow("identification line") << QByteArray("ID_LENGTH=171.00") << 0;
        QTest::newRow("lower case") << QByteArray("a:   5.3") << 0;
        QTest::newRow("A: not at the start") << QByteArray(" A:   5.3") << 0;
        QTest::newRow("empty text") << QByteArray() << 0;
    }
    void parsePlayPosition()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, seconds);
        QCOMPARE(TMplayerFunc::ParsePlayPosition(text, false), std::optional(seconds));
        // Still being written: nothing yet, whatever the text holds so far.
        QCOMPARE(TMplayerFunc::ParsePlayPosition(text, true), std::optional<int>());
    }

    void statusLineWithoutANumberIsAConversionError_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QString>("error");
        QTest::newRow("just A:") << QByteArray("A:") << "'' is not a valid integer value";
        QTest::newRow("fraction inside the four characters") << QByteArray("A: 5.3") << "'5.3' is not a valid integer value";
        QTest::newRow("letters") << QByteArray("A:abcd") << "'abcd' is not a valid integer value";
        QTest::newRow("just V:") << QByteArray("V:") << "'' is not a valid integer value";
    }
    void statusLineWithoutANumberIsAConversionError()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, error);
        try {
            TMplayerFunc::ParsePlayPosition(text, false);
            QFAIL("no error");
        } catch (const EConvertError& raised) {
            QCOMPARE(QString::fromUtf8(raised.what()), error);
        }
    }

    // The runner also reports the unfinished line at the end of every piece
    // it reads; wherever a piece ends, no report may raise, and every
    // position read is the one the player wrote.
    void statusLineCutAtEveryPosition_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("status");
        QTest::addColumn<QList<std::optional<int>>>("allowed");
        const QByteArray tail = " A-V:  0.000 ct:  0.000   0/  0 ??% ??% ??,?% 0 0 \r";
        QTest::newRow("first status line after identification")
            << QByteArray("ID_LENGTH=5.00\nStarting playback...\n") << "A:   5.3 V:   5.3" + tail
            << QList<std::optional<int>>{5};
        QTest::newRow("status line rewriting an earlier one")
            << "Starting playback...\nA:   9.9 V:   9.9" + tail << "A:  10.0 V:  10.0" + tail
            << QList<std::optional<int>>{9, 10};
        QTest::newRow("video only")
            << QByteArray("Starting playback...\n") << QByteArray("V:   5.3   132/132  2%  1%  0.0% 0 0 \r")
            << QList<std::optional<int>>{5};
    }
    void statusLineCutAtEveryPosition()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, status);
        QFETCH(QList<std::optional<int>>, allowed);
        allowed << std::nullopt;
        for (qsizetype cut = 0; cut <= status.size(); ++cut) {
            QList<std::optional<int>> positions;
            TJvReader* self = nullptr;
            TJvReader reader([&](const QByteArray& line, bool) {
                positions << TMplayerFunc::ParsePlayPosition(line, self->ReportIsCut());
            });
            self = &reader;
            reader.ParsePiece(before.constData(), before.size());
            reader.ParsePiece(status.constData(), cut);
            reader.ParsePiece(status.constData() + cut, status.size() - cut);
            const QByteArray where = "cut after " + QByteArray::number(cut) + " bytes";
            QVERIFY2(positions.last() == allowed.at(allowed.size() - 2), where);
            for (const std::optional<int>& position : positions)
                QVERIFY2(allowed.contains(position) || position == 0, where);
        }
    }

    void strToInt_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("value");
        QTest::newRow("plain") << QByteArray("171") << true << 171;
        QTest::newRow("leading zeros") << QByteArray("02") << true << 2;
        QTest::newRow("minus") << QByteArray("-12") << true << -12;
        QTest::newRow("plus") << QByteArray("+12") << true << 12;
        QTest::newRow("empty") << QByteArray() << false << 0;
        QTest::newRow("sign alone") << QByteArray("-") << false << 0;
        QTest::newRow("two signs") << QByteArray("+-1") << false << 0;
        QTest::newRow("inner blank") << QByteArray("1 2") << false << 0;
        QTest::newRow("too large") << QByteArray("99999999999") << false << 0;
    }
    void strToInt()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, valid);
        QFETCH(int, value);
        if (valid)
            QCOMPARE(StrToInt(text), value);
        else
            QVERIFY_THROWS_EXCEPTION(EConvertError, StrToInt(text));
    }

    void totalTime_data()
    {
        QTest::addColumn<QByteArray>("duration");
        QTest::addColumn<QByteArray>("total");
        QTest::addColumn<int>("seconds");
        QTest::newRow("minutes") << QByteArray("00:02:51.000") << QByteArray("00:02:51") << 171;
        QTest::newRow("no duration") << QByteArray() << QByteArray("02:50:00") << 10200;
        QTest::newRow("under a second") << QByteArray("00:00:00.400") << QByteArray("00:00:00") << 0;
        QTest::newRow("hours") << QByteArray("12:34:56.789") << QByteArray("12:34:56") << 45296;
    }
    void totalTime()
    {
        QFETCH(QByteArray, duration);
        QFETCH(QByteArray, total);
        QFETCH(int, seconds);
        QCOMPARE(TotalTimeText(duration), total);
        QCOMPARE(TotalTimeSeconds(total), seconds);
    }

    void totalTimeThatIsNoTimeIsAConversionError()
    {
        QVERIFY_THROWS_EXCEPTION(EConvertError, TotalTimeSeconds("1:02:03"));
        QVERIFY_THROWS_EXCEPTION(EConvertError, TotalTimeSeconds("00:02"));
    }

    void commandLineHasSixPiecesAndKeepsPathsWhole_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("file");
        QTest::newRow("plain") << "/opt/movarin" << "/videos/clip.avi";
        QTest::newRow("blanks") << "/opt/my programs/movarin" << "/my videos/a clip.avi";
        QTest::newRow("quotes and dollars") << "/opt/o'neil" << "/videos/\"it's\" $HOME `x`.mkv";
        QTest::newRow("non-ASCII") << "/opt/média" << "/Видео/клип.mp4";
    }
    void commandLineHasSixPiecesAndKeepsPathsWhole()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, file);
        const QByteArray commandLine = MplayerCommandLine(MplayerPath(programFolder), 918, file);
        QCOMPARE(SplitShellWords(commandLine),
                 (QList<QByteArray>{(programFolder + "/bin/mplayer").toUtf8(), "-slave", "-identify", "-wid", "918",
                                    "-colorkey", "0x101010", "-framedrop", "-autosync", "100", "-vf", "screenshot",
                                    file.toUtf8()}));
    }

    void commandLineOfPlainPathsReadsAsWritten()
    {
        QCOMPARE(MplayerCommandLine("/opt/movarin/bin/mplayer", 918, "/videos/clip.avi"),
                 QByteArray("/opt/movarin/bin/mplayer  -slave -identify -wid 918 -colorkey 0x101010 -framedrop "
                            "-autosync 100 -vf screenshot /videos/clip.avi"));
    }

    void positionBarRange_data()
    {
        // Each step is a maximum (M) or a position (P) to set; then the
        // bar's maximum and position.
        QTest::addColumn<QStringList>("steps");
        QTest::addColumn<int>("maximum");
        QTest::addColumn<int>("position");
        QTest::newRow("fresh bar") << QStringList{} << 100 << 0;
        QTest::newRow("position inside") << QStringList{"P40"} << 100 << 40;
        QTest::newRow("position at the maximum") << QStringList{"P100"} << 100 << 100;
        QTest::newRow("position above is ignored") << QStringList{"P40", "P101"} << 100 << 40;
        QTest::newRow("position below is ignored") << QStringList{"P40", "P-1"} << 100 << 40;
        QTest::newRow("zero maximum is ignored") << QStringList{"M0"} << 100 << 0;
        QTest::newRow("negative maximum is ignored") << QStringList{"M-5"} << 100 << 0;
        QTest::newRow("larger maximum") << QStringList{"M10200", "P5000"} << 10200 << 5000;
        QTest::newRow("smaller maximum pulls the position down") << QStringList{"P80", "M50"} << 50 << 50;
        QTest::newRow("smaller maximum above the position") << QStringList{"P30", "M50"} << 50 << 30;
    }
    void positionBarRange()
    {
        QFETCH(QStringList, steps);
        QFETCH(int, maximum);
        QFETCH(int, position);
        TJvColorTrkBar bar("JvColorTrkBar", nullptr);
        for (const QString& step : steps) {
            const int value = step.mid(1).toInt();
            if (step.startsWith('M'))
                bar.SetMaximum(value);
            else
                bar.SetPosition(value);
        }
        QCOMPARE(bar.Minimum(), 0);
        QCOMPARE(bar.Maximum(), maximum);
        QCOMPARE(bar.Position(), position);
    }

    void draggingMovesTheMarkerWithinTheRange()
    {
        TJvColorTrkBar bar("JvColorTrkBar", nullptr);
        bar.resize(362, 24);
        bar.SetMaximum(10);
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(bar.width() / 2, 12));
        QCOMPARE(bar.Position(), 5);
        QTest::mouseMove(&bar, QPoint(bar.width() + 50, 12));
        QTest::mouseRelease(&bar, Qt::LeftButton, {}, QPoint(bar.width() + 50, 12));
        QCOMPARE(bar.Position(), 10);
        QTest::mousePress(&bar, Qt::LeftButton, {}, QPoint(-20, 12));
        QCOMPARE(bar.Position(), 0);
    }
};

QTEST_MAIN(TestPlayTimes)
#include "tst_playtimes.moc"
