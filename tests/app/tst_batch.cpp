// The batch through the real window, with a scripted converter beside the
// test program.
#include "ProgramFixture.h"
#include "Clips.h"
#include "engine/FFmpegFunc.h"
#include "components/CursorEdit.h"
#include "components/JvTrayIcon.h"
#include "process/JvCreateProcess.h"
#include "process/ShellWords.h"
#include "BatchWindowSetup.h"
#include "tst_batch_support.h"

#include <QCheckBox>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray FirstProgress = "frame=   25 fps= 25 q=2.0 size=     128kB time=00:00:01.00 bitrate= 838.9kbits/s";
const QByteArray LastProgress = "frame=   75 fps= 25 q=2.0 size=     384kB time=00:00:03.00 bitrate= 838.9kbits/s";

QString ToolTip(TFFmpegFrm* window, int row) { return window->FileListView->topLevelItem(row)->toolTip(0); }

} // namespace

class TestBatch : public QObject, BatchWindowSetup {
    Q_OBJECT

    QByteArray playableOutput; // what the scripted converter writes by default

    // Source files named as given, in folders of their own when the name
    // holds a "/".
    QStringList addSources(const QStringList& names)
    {
        QStringList paths;
        for (const QString& name : names) {
            const QString path = files->filePath(name);
            QDir().mkpath(QFileInfo(path).path());
            paths << MakeFile(QFileInfo(path).path(), QFileInfo(path).fileName(), "not really a video");
            AddRow(window, paths.last());
        }
        return paths;
    }
    QString outputFolder() const { return files->filePath("out"); }

private slots:
    void initTestCase()
    {
        ScriptedConverter::Install();
        playableOutput = ScriptedConverter::PlayableOutput();
    }

    void init()
    {
        StartWindow();
        QDir().mkpath(outputFolder());
        window->JvEditDir->setText(outputFolder());
        converter->Put("progress", FirstProgress + '\r' + LastProgress + '\r');
    }

    void cleanup() { EndWindow(); }

    void oneRowRunsAndCompletesTheBatch()
    {
        const QStringList sources = addSources({"trip.avi"});
        Press(window, "ConvFileBtn");
        QCOMPARE(ButtonsEnabled(window), Running);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converting});
        QCOMPARE(window->JvEditNumb->text(), QString("0"));
        QVERIFY(window->JvTimer->isActive());
        QCOMPARE(window->JvTimer->interval(), 1000);
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Console));
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        QCOMPARE(Column(window, 4), QStringList{"75%"});

        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        QCOMPARE(Column(window, 4), QStringList{"100%"});
        QCOMPARE(ToolTip(window, 0), QString());
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QCOMPARE(window->JvEditNumb->text(), QString("0"));
        QVERIFY(powerOff->calls.isEmpty());
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());

        // The converter beside the program, the source, the options with the
        // codecs in table order, the output in the chosen folder.
        TFFmpegFunc controller;
        const QList<QByteArray> arguments = converter->Arguments(1);
        QCOMPARE(arguments.mid(0, 4),
                 (QList<QByteArray>{ScriptedConverter::Path().toUtf8(), "-n", "-i", sources[0].toUtf8()}));
        QCOMPARE(arguments.constLast(), (outputFolder() + "/trip.mp4").toUtf8());
        const QByteArray options = arguments.mid(4).join(' ');
        const qsizetype video = options.indexOf(controller.GetVdoCodecCmd());
        const qsizetype sound = options.indexOf(controller.GetAdoCodecCmd());
        QVERIFY2(video > 0 && sound > video, options.constData());
        QCOMPARE(converter->Runs(), 1);
    }

    // Outputs of one batch never replace each other or a source; names are
    // quoted whole whatever they hold.
    void everyRowInTurnWithItsOwnOutput()
    {
        converter->Put("release");
        const QStringList sources =
            addSources({"a/clip.avi", "b/clip.mkv", "it's \"my\" clip 東京.avi", "out/clip.mp4"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 4);
        QStringList inputs, outputs;
        for (int run = 1; run <= 4; ++run) {
            inputs << QString::fromUtf8(converter->Arguments(run).at(3));
            outputs << QString::fromUtf8(converter->Arguments(run).constLast());
        }
        QCOMPARE(inputs, sources);
        const QString out = outputFolder();
        // out/clip.mp4 is a source of the list: no output may replace it.
        QCOMPARE(outputs, (QStringList{out + "/clip (2).mp4", out + "/clip (3).mp4",
                                       out + "/it's \"my\" clip 東京.mp4", out + "/clip (4).mp4"}));
        QCOMPARE(Marks(window), QList<int>(4, TImageList::Converted));
        QCOMPARE(window->JvEditNumb->text(), QString("3"));
    }

    void failedRowIsMarkedAndTheBatchGoesOn()
    {
        converter->Put("release");
        converter->Put("exit.2", "1");
        converter->Put("message.2", "b.avi: Invalid data found when processing input\n");
        converter->Put("exit.3", "0");
        addSources({"a.avi", "b.avi", "c.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window),
                 (QList<int>{TImageList::Converted, TImageList::ConversionFailed, TImageList::Converted}));
        QCOMPARE(ToolTip(window, 1),
                 QString("b.avi: Invalid data found when processing input\nThe converter ended with exit code 1."));
        QCOMPARE(ToolTip(window, 0), QString());
        QCOMPARE(Column(window, 4), (QStringList{"100%", "75%", "100%"}));
        // The failed row's output is gone, the others stay.
        QCOMPARE(QDir(outputFolder()).entryList(QDir::Files), (QStringList{"a.mp4", "c.mp4"}));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());

        // Converted again successfully, the row loses its failure.
        converter->Remove("exit.2");
        converter->Remove("message.2");
        converter->Put("release.5");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        QCOMPARE(ToolTip(window, 1), QString());
    }

    // A converter that writes on and on without a line end: the row keeps
    // the newest part of its message only.
    void endlessMessageKeepsItsNewestPart()
    {
        QByteArray message;
        for (int number = 0; message.size() < 200'000; ++number)
            message += QByteArray::number(number) + '-';
        converter->Put("release");
        converter->Put("exit.1", "1");
        converter->Put("message.1", message);
        addSources({"a.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(window->FileListView->topLevelItem(0)->toolTip(0),
                 QString::fromUtf8(message.right(4096)) + "\nThe converter ended with exit code 1.");
    }

    // A converter that writes its cause, then ten of the closing lines, each
    // line on its own, and ends at once. However its output falls into
    // pieces on the way, every one of 200 rows names the cause first.
    void causeComesFirstEveryTime()
    {
        const QByteArray cause = "[libx264 @ 0x1] height not divisible by 2 (160x121)";
        QByteArray script = "#!/bin/sh\nprintf '%s\\n' '" + cause + "' >&2\n";
        for (const char* closing :
             {"Error initializing output stream 0:0 -- Error while opening encoder for output stream #0:0",
              "Error while filtering: Invalid argument", "Failed to inject frame into filter network: Invalid argument",
              "Error while processing the decoded data for stream #0:0", "Error opening output files: Invalid argument",
              "Could not write header for output file #0 (incorrect codec parameters ?): Invalid argument",
              "Error marking filters as finished", "Error initializing output stream 0:1 -- ",
              "Error while processing the decoded data for stream #0:1", "Conversion failed!"})
            script += "printf '%s\\n' '" + QByteArray(closing) + "' >&2\n";
        script += "exit 1\n";
        QFile::remove(ScriptedConverter::Path());
        const auto restore = qScopeGuard([] { ScriptedConverter::Install(); });
        MakeFile(QFileInfo(ScriptedConverter::Path()).path(), "ffmpeg", script);
        QVERIFY(QFile::setPermissions(ScriptedConverter::Path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));

        const int rows = 200;
        for (int row = 0; row < rows; ++row)
            AddRow(window, MakeFile(files->path(), QStringLiteral("%1.avi").arg(row), "not really a video"));
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 300000);
        for (int row = 0; row < rows; ++row)
            QVERIFY2(ToolTip(window, row).startsWith(cause + '\n'), qPrintable(QStringLiteral("row %1:\n%2").arg(row).arg(ToolTip(window, row))));
        QCOMPARE(Marks(window), QList<int>(rows, TImageList::ConversionFailed));
    }

    // Where a piece of output ends just after a line end, the runner reports
    // an empty line, and the next line comes as a rewrite of it: the line
    // that ended must stay among the row's messages all the same.
    void lineThatEndedWithAPieceStays()
    {
        addSources({"a.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        {
            TFFmpegFunc controller;
            controller.HandleConverterOutput("[mp4 @ 0x1] Could not find tag for codec msvideo1", true);
            controller.HandleConverterOutput("", true);
            controller.HandleConverterOutput("Conversion failed!", false);
        }
        QCOMPARE(window->BatchRows->Messages(0),
                 (QStringList{"[mp4 @ 0x1] Could not find tag for codec msvideo1", "Conversion failed!"}));
    }

    // The stopped row is marked as such, and the part of it that the
    // converter wrote goes: it would pass for the whole file. What was in
    // the folder before stays.
    void stopDuringRow1()
    {
        converter->Put("release.1");
        addSources({"a.avi", "b.avi", "c.avi"});
        MakeFile(outputFolder(), "b.mp4", "the user's own file");
        window->JvCheckBox->setChecked(true);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 2);
        QTRY_COMPARE(Column(window, 4).at(1), QString("75%"));
        MakeFile(outputFolder(), "b (2).mp4", "what the converter wrote so far");
        Press(window, "StopConvBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        const QList<int> marks{TImageList::Converted, TImageList::Stopped, TImageList::Added};
        QCOMPARE(Marks(window), marks);
        QVERIFY(!QFile::exists(outputFolder() + "/b (2).mp4"));
        QCOMPARE(Column(window, 4), (QStringList{"100%", "75%", "0%"}));
        QCOMPARE(ToolTip(window, 0), QString());
        QCOMPARE(ToolTip(window, 1), QString("Stopped at 75%."));
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QCOMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        QCOMPARE(window->JvEditNumb->text(), QString("1"));

        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(converter->Read("input.2"), QByteArray("q"));
        QCOMPARE(converter->Runs(), 2);
        QCOMPARE(Marks(window), marks);
        QCOMPARE(ToolTip(window, 1), QString("Stopped at 75%."));
        // Also what the converter wrote while it finished is gone.
        QCOMPARE(QDir(outputFolder()).entryList(QDir::Files), (QStringList{"a.mp4", "b.mp4"}));
        QFile kept(outputFolder() + "/b.mp4");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the user's own file"));
        QCOMPARE(window->BatchRows->Tally().completed, 1);
        QVERIFY(powerOff->calls.isEmpty());

        // Stop again, with no batch running, changes nothing.
        Press(window, "StopConvBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 2);
    }

    // Convert pressed while a stopped converter finishes waits for its end
    // and then starts the new batch; meanwhile that converter's output
    // changes neither the status line nor any row.
    void convertWhileAStoppedConverterStillFinishes()
    {
        addSources({"a.avi", "b.avi"});
        converter->Put("ignore-q");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        Press(window, "StopConvBtn");
        QTRY_COMPARE(converter->Read("input.1"), QByteArray("q"));

        Press(window, "ConvFileBtn");
        const QString waiting("The stopped conversion is still finishing; the new batch starts as soon as it has ended.");
        QCOMPARE(window->JvEditCmdMsg->text(), waiting);
        QCOMPARE(ButtonsEnabled(window), Running);
        const QByteArray lateProgress = "frame=   99 fps= 25 q=2.0 size=     512kB time=00:00:02.00 bitrate= 838.9kbits/s";
        {
            TFFmpegFunc controller; // what the stopped converter still writes
            controller.HandleConverterOutput(lateProgress, true);
            controller.HandleConverterOutput("Exiting normally, received signal 2.", true);
        }
        QCOMPARE(window->JvEditCmdMsg->text(), waiting);
        QCOMPARE(Column(window, 4), (QStringList{"75%", "0%"}));
        QCOMPARE(ToolTip(window, 0), QString("Stopped at 75%."));
        QCOMPARE(converter->Runs(), 1);

        converter->Remove("ignore-q");
        converter->Put("release.2");
        converter->Put("release.3");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 3);
        QCOMPARE(converter->Arguments(2).at(3), converter->Arguments(1).at(3));
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        QCOMPARE(Column(window, 4), (QStringList{"100%", "100%"}));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // Stop while the new batch only waits cancels it; nothing starts.
    void stopWhileWaitingForTheStoppedConverter()
    {
        addSources({"a.avi"});
        converter->Put("ignore-q");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        Press(window, "StopConvBtn");
        Press(window, "ConvFileBtn");
        QCOMPARE(ButtonsEnabled(window), Running);
        Press(window, "StopConvBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(ToolTip(window, 0), QString("Stopped at 75%."));
        converter->Remove("ignore-q");
        QTRY_VERIFY(IsIdle(window));
        QTest::qWait(50);
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(ButtonsEnabled(window), Idle);
    }

    // Output the converter claims but did not write counts as a failure,
    // and only what this row wrote is removed.
    void brokenOutputFailsTheRow()
    {
        converter->Put("release");
        converter->Put("output", playableOutput.left(1500)); // cut off while the trailer was written
        converter->Put("message.1", "Error writing trailer of a.mp4: No space left on device\n");
        addSources({"a.avi", "b.avi"});
        MakeFile(outputFolder(), "b.mp4", "the user's own file");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::ConversionFailed));
        QCOMPARE(ToolTip(window, 0), QString("Error writing trailer of a.mp4: No space left on device\n"
                                             "The output file cannot be read back: it has no playing time.\n"
                                             "The converter ended with exit code 0."));
        QCOMPARE(Column(window, 4), (QStringList{"75%", "75%"}));
        QVERIFY(!QFile::exists(outputFolder() + "/a.mp4"));
        // b.mp4 was there before the batch: the row wrote "b (2).mp4", which
        // goes, and b.mp4 stays as it was.
        QCOMPARE(QDir(outputFolder()).entryList(QDir::Files), QStringList{"b.mp4"});
        QFile kept(outputFolder() + "/b.mp4");
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the user's own file"));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // A damaged settings file can leave the folder field empty; the output
    // would then go to the root folder.
    void noOutputFolderConvertsNothing()
    {
        addSources({"a.avi", "b.avi"});
        window->JvEditDir->clear();
        Press(window, "ConvFileBtn");
        QCOMPARE(Marks(window), QList<int>(2, TImageList::ConversionFailed));
        QCOMPARE(ToolTip(window, 0), QString("No output folder is set."));
        QCOMPARE(ToolTip(window, 1), QString("No output folder is set."));
        QCOMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
        QTest::qWait(50);
        QCOMPARE(converter->Runs(), 0);
    }

    void closingDuringABatchAsksTheConverterToQuit()
    {
        addSources({"a.avi", "b.avi"});
        window->JvCheckBox->setChecked(true);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        window->close();
        QCOMPARE(ButtonsEnabled(window), Idle);
        QTRY_COMPARE(converter->Read("input.1"), QByteArray("q"));
        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(converter->Runs(), 1);
        // The row was cut short: its part of a file goes.
        QCOMPARE(QDir(outputFolder()).entryList(QDir::Files), QStringList());
        QVERIFY(powerOff->calls.isEmpty());
    }

    void missingConverterReturnsToIdle()
    {
        QVERIFY(QFile::rename(ScriptedConverter::Path(), ScriptedConverter::Path() + ".away"));
        const auto restore = qScopeGuard([] {
            QFile::rename(ScriptedConverter::Path() + ".away", ScriptedConverter::Path());
        });
        addSources({"a.avi", "b.avi"});
        Press(window, "ConvFileBtn");
        const QStringList errors = ErrorTexts(fixture->Shown);
        QCOMPARE(errors.size(), 1);
        const QString named = "System Error.  Code: 2.\nNo such file or directory\nProgram: \"" + ScriptedConverter::Path() + '"';
        QCOMPARE(errors[0], named);
        QCOMPARE(Marks(window), (QList<int>{TImageList::ConversionFailed, TImageList::Added}));
        QCOMPARE(ToolTip(window, 0), named);
        QCOMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QVERIFY(IsIdle(window));
    }

    void emptyListConvertsNothing()
    {
        Press(window, "ConvFileBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(converter->Runs(), 0);
    }

    // Marks and percentages stay until the new batch reaches the row.
    void newBatchStartsAtRow0KeepingLaterRows()
    {
        converter->Put("release");
        addSources({"a.avi", "b.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        converter->Remove("release");
        converter->Put("progress", FirstProgress + '\r');
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(FirstProgress));
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converting, TImageList::Converted}));
        QCOMPARE(Column(window, 4), (QStringList{"25%", "100%"}));
    }

    void powerOffAfterTheLastRow_data()
    {
        QTest::addColumn<bool>("ticked");
        QTest::addColumn<bool>("allowed");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<int>("calls");
        QTest::addColumn<bool>("quits");
        QTest::newRow("unticked") << false << true << true << 0 << false;
        QTest::newRow("ticked") << true << true << true << 1 << false;
        QTest::newRow("not allowed: quits and still asks") << true << false << true << 1 << true;
        QTest::newRow("refused: quits") << true << true << false << 1 << true;
    }
    void powerOffAfterTheLastRow()
    {
        QFETCH(bool, ticked);
        QFETCH(bool, allowed);
        QFETCH(bool, accepted);
        QFETCH(int, calls);
        QFETCH(bool, quits);
        converter->Put("release.1");
        addSources({"a.avi", "b.avi"});
        powerOff->allowed = allowed;
        powerOff->accepted = accepted;
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 2);
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        QVERIFY(powerOff->calls.isEmpty()); // not after row 0
        window->JvCheckBox->setChecked(ticked); // read only when the last row ends

        // The batch ends inside the event loop, where a quit can end it. A
        // quit passes through the window system first, so the loop is given
        // a moment after the batch has ended before it counts as not quit.
        QTimer notQuit;
        notQuit.setSingleShot(true);
        connect(&notQuit, &QTimer::timeout, this, [] { QCoreApplication::exit(2); });
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [this, &notQuit] {
            if (window->AddFileBtn->isEnabled() && !notQuit.isActive())
                notQuit.start(300);
        });
        watch.start(10);
        QTimer::singleShot(0, this, [this] { converter->Put("release.2"); });
        QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(3); });
        const int exitCode = QCoreApplication::exec();
        QCOMPARE(exitCode, quits ? 0 : 2);
        QCOMPARE(powerOff->calls.size(), calls);
        if (calls) {
            QCOMPARE(powerOff->calls[0].flags, 8);
            QVERIFY(powerOff->calls[0].buttonsUnlocked);
            QCOMPARE(powerOff->calls[0].statusLine, QString(LastProgress));
        }
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
    }

    void blinksWhileTheBatchRuns()
    {
        addSources({"a.avi"});
        QList<int> images;
        Press(window, "ConvFileBtn");
        images << window->JvTrayIcon->IconIndex();
        QTRY_COMPARE_WITH_TIMEOUT(window->JvTrayIcon->IconIndex(), int(TImageList::Added), 1500);
        images << window->JvTrayIcon->IconIndex();
        QTRY_COMPARE_WITH_TIMEOUT(window->JvTrayIcon->IconIndex(), int(TImageList::Console), 1500);
        images << window->JvTrayIcon->IconIndex();
        QCOMPARE(images, (QList<int>{TImageList::Console, TImageList::Added, TImageList::Console}));
        Press(window, "StopConvBtn");
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QVERIFY(!window->JvTimer->isActive());
    }

    // Reports straight to the controller, as the runner hands them over.
    void progressReportsReachTheRow_data()
    {
        QTest::addColumn<QString>("playingTime");
        QTest::addColumn<QByteArrayList>("lines");
        QTest::addColumn<QString>("percent");
        QTest::addColumn<QString>("statusLine");
        const QByteArray worked = "frame=  250 fps= 25 q=2.0 size=    1024kB time=00:01:05.32 bitrate= 838.9kbits/s";
        QTest::newRow("worked example") << "00:03:20" << QByteArrayList{worked} << "32%" << QString(worked);
        QTest::newRow("past the playing time")
            << "00:03:20" << QByteArrayList{"frame=  5 time=00:03:22.40"} << "101%" << "frame=  5 time=00:03:22.40";
        QTest::newRow("unknown length") << "02:50:00" << QByteArrayList{"frame=1 time=01:25:00.00"} << "50%"
                                        << "frame=1 time=01:25:00.00";
        QTest::newRow("cut short") << "00:03:20" << QByteArrayList{"frame=  250 fps= 25 q=2.0 size=    1024kB time=00:0"}
                                   << "0%" << "";
        QTest::newRow("unreadable time keeps the last good one")
            << "00:03:20" << QByteArrayList{worked, "frame=  251 time=N/A bitrate=N/A", "frame=1 time=-00:00:00.04", "frame= 2"}
            << "32%" << QString(worked);
        QTest::newRow("zero playing time shows the line only")
            << "00:00:00" << QByteArrayList{"frame=1 time=00:00:00.50"} << "0%" << "frame=1 time=00:00:00.50";
        QTest::newRow("leading blank changes nothing")
            << "00:03:20" << QByteArrayList{" frame=  250 time=00:01:05.32"} << "0%" << "";
        QTest::newRow("audio only")
            << "00:00:04" << QByteArrayList{"size=      27kB time=00:00:03.01 bitrate=  73.3kbits/s"} << "75%"
            << "size=      27kB time=00:00:03.01 bitrate=  73.3kbits/s";
        QTest::newRow("exact whole percentage")
            << "00:01:40" << QByteArrayList{"frame=1 time=00:00:29.00"} << "29%" << "frame=1 time=00:00:29.00";
        QTest::newRow("other lines change nothing")
            << "00:03:20" << QByteArrayList{"Input #0, avi, from 'a.avi':", "", "Press [q] to stop"} << "0%" << "";
    }
    void progressReportsReachTheRow()
    {
        QFETCH(QString, playingTime);
        QFETCH(QByteArrayList, lines);
        QFETCH(QString, percent);
        QFETCH(QString, statusLine);
        AddRow(window, files->filePath("a.avi"), playingTime);
        window->JvEditNumb->setText("0");
        TFFmpegFunc().LockButtons(); // a batch runs
        for (const QByteArray& line : lines) {
            TFFmpegFunc controller;
            controller.HandleConverterOutput(line, true);
        }
        TFFmpegFunc().UnlockButtons();
        QCOMPARE(Column(window, 4), QStringList{percent});
        QCOMPARE(window->JvEditCmdMsg->text(), statusLine);
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
