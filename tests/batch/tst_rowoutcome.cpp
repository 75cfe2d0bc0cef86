// What the end of a row means, decided on real files read back with the
// real media-information library.
#include "Clips.h"
#include "engine/RowMarks.h"
#include "engine/RowOutcome.h"
#include "media/MediaInfoDll.h"

#include <QFile>
#include <QTreeWidgetItem>
#include <QtTest>

using Kind = TRowOutcome::TKind;
Q_DECLARE_METATYPE(Kind)

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Report {
    QByteArray line;
    bool startsOnNewLine;
};

} // namespace

Q_DECLARE_METATYPE(QList<Report>)

class TestRowOutcome : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString clip;

private slots:
    void initTestCase()
    {
        QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
        ClipOptions options;
        options.seconds = 2;
        options.width = 160;
        options.height = 120;
        clip = MakeClip(folder.path(), options);
    }

    void decidesFromExitCodeAndOutput_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<quint32>("exitCode");
        QTest::addColumn<QString>("output"); // how the output file is made
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("toolTip");
        const QString messages = "Error writing trailer of out.mp4: No space left on device\nConversion failed!\n";
        QTest::newRow("playable output, exit 0") << false << 0u << "clip" << Kind::Completed << "";
        QTest::newRow("cut-off output, exit 0")
            << false << 0u << "cut" << Kind::Failed
            << messages + "The output file cannot be read back: it has no playing time.\n"
                          "The converter ended with exit code 0.";
        QTest::newRow("empty output, exit 0") << false << 0u << "empty" << Kind::Failed
                                              << messages + "The output file is empty.\n"
                                                            "The converter ended with exit code 0.";
        QTest::newRow("no output, exit 0") << false << 0u << "none" << Kind::Failed
                                           << messages + "The converter wrote no output file.\n"
                                                         "The converter ended with exit code 0.";
        QTest::newRow("playable output, exit 1")
            << false << 1u << "clip" << Kind::Failed << messages + "The converter ended with exit code 1.";
        QTest::newRow("no output, exit 255")
            << false << 255u << "none" << Kind::Failed << messages + "The converter ended with exit code 255.";
        QTest::newRow("stopped, whatever the output") << true << 0u << "cut" << Kind::Stopped << "Stopped at 42%.";
    }
    void decidesFromExitCodeAndOutput()
    {
        QFETCH(bool, stopped);
        QFETCH(quint32, exitCode);
        QFETCH(QString, output);
        QFETCH(Kind, kind);
        QFETCH(QString, toolTip);
        QTemporaryDir out;
        const QString path = out.filePath("out.mp4");
        if (output == "clip")
            QVERIFY(QFile::copy(clip, path));
        else if (output == "cut")
            MakeFile(out.path(), "out.mp4", ReadAll(clip).left(2048));
        else if (output == "empty")
            MakeFile(out.path(), "out.mp4");
        TRowEnd end;
        end.stopped = stopped;
        end.exitCode = exitCode;
        end.outputPath = path;
        end.messages = QStringList{"Error writing trailer of out.mp4: No space left on device", "Conversion failed!"};
        end.percent = "42%";
        const TRowOutcome outcome = DecideRowOutcome(end);
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(outcome.toolTip, toolTip);
        if (kind == Kind::Completed) {
            QVERIFY(outcome.outputPlayingTimeMs);
            QVERIFY2(qAbs(*outcome.outputPlayingTimeMs - 2000) < 100, qPrintable(QString::number(*outcome.outputPlayingTimeMs)));
        }
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
        QTest::newRow("a message rewritten into progress is gone")
            << QList<Report>{{"cause", true}, {"Last message repea", true}, {"frame=  1 time=00:00:01.00", false}}
            << QStringList{"cause"};
    }
    void keepsTheLastDistinctMessages()
    {
        QFETCH(QList<Report>, reports);
        QFETCH(QStringList, messages);
        QTreeWidgetItem row(QStringList{"a.avi", "AVI", "1 KiB", "00:00:04", "0%"});
        for (const Report& report : reports)
            RowMarks::RememberLine(&row, report.line, report.startsOnNewLine);
        QCOMPARE(RowMarks::Messages(&row), messages);
    }
};

QTEST_MAIN(TestRowOutcome)
#include "tst_rowoutcome.moc"
