// The batch through the real window, with a scripted converter beside the
// test program.
#include "ProgramFixture.h"
#include "Clips.h"
#include "engine/FFmpegFunc.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/JvTrayIcon.h"
#include "process/JvCreateProcess.h"
#include "process/ShellWords.h"
#include "tst_batch_support.h"

#include <QCheckBox>
#include <QTimer>
#include <QtTest>

namespace {

const QByteArray FirstProgress = "frame=   25 fps= 25 q=2.0 size=     128kB time=00:00:01.00 bitrate= 838.9kbits/s";
const QByteArray LastProgress = "frame=   75 fps= 25 q=2.0 size=     384kB time=00:00:03.00 bitrate= 838.9kbits/s";

} // namespace

class TestBatch : public QObject {
    Q_OBJECT

    std::unique_ptr<ProgramFixture> fixture;
    std::unique_ptr<ScriptedConverter> converter;
    std::unique_ptr<RecordingPowerOff> powerOff;
    TFFmpegFrm* window = nullptr;
    std::unique_ptr<QTemporaryDir> files;

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
    void initTestCase() { ScriptedConverter::Install(); }

    void init()
    {
        fixture = std::make_unique<ProgramFixture>();
        converter = std::make_unique<ScriptedConverter>();
        window = fixture->Start();
        powerOff = std::make_unique<RecordingPowerOff>(window);
        files = std::make_unique<QTemporaryDir>();
        QDir().mkpath(outputFolder());
        window->JvEditDir->setText(outputFolder());
        converter->Put("progress", FirstProgress + '\r' + LastProgress + '\r');
    }

    void cleanup()
    {
        converter->Put("release");
        QTRY_VERIFY(!window || IsIdle(window));
        powerOff.reset();
        fixture.reset();
        converter.reset();
        files.reset();
        window = nullptr;
    }

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
        QCOMPARE(Column(window, 4), QStringList{"75%"});
        QCOMPARE(window->JvEditCmdMsg->text(), QString());
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QCOMPARE(window->JvEditNumb->text(), QString("0"));
        QVERIFY(powerOff->calls.isEmpty());
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());

        // The converter beside the program, the source and the options in
        // table order, the output in the chosen folder.
        TFFmpegFunc controller;
        const QList<QByteArray> fragments = SplitShellWords(
            controller.GetVdoCodecCmd() + ' ' + controller.GetVdoBitrateCmd() + ' ' + controller.GetVdoSizeCmd() + ' '
            + controller.GetVdoFpsCmd() + ' ' + controller.GetVdoAspectCmd() + ' ' + controller.GetAdoCodecCmd() + ' '
            + controller.GetAdoBitrateCmd() + ' ' + controller.GetAdoChannelsCmd() + ' ' + controller.GetAdoFreqCmd());
        QVERIFY(!fragments.isEmpty());
        const QList<QByteArray> expected = QList<QByteArray>{ScriptedConverter::Path().toUtf8(), "-y", "-i",
                                                             sources[0].toUtf8()}
                                           + fragments + QList<QByteArray>{(outputFolder() + "/trip.mp4").toUtf8()};
        QCOMPARE(converter->Arguments(1), expected);
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
        QCOMPARE(window->FileListView->topLevelItem(1)->toolTip(0),
                 QString("b.avi: Invalid data found when processing input\nThe converter ended with exit code 1."));
        QCOMPARE(window->FileListView->topLevelItem(0)->toolTip(0), QString());
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());

        // Converted again successfully, the row loses its failure.
        converter->Remove("exit.2");
        converter->Remove("message.2");
        converter->Put("release.5");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        QCOMPARE(window->FileListView->topLevelItem(1)->toolTip(0), QString());
    }

    void stopDuringRow1()
    {
        converter->Put("release.1");
        addSources({"a.avi", "b.avi", "c.avi"});
        window->JvCheckBox->setChecked(true);
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 2);
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        Press(window, "StopConvBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Converted, TImageList::Added}));
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QCOMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        QCOMPARE(window->JvEditNumb->text(), QString("1"));

        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(converter->Read("input.2"), QByteArray("q"));
        QCOMPARE(converter->Runs(), 2);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Converted, TImageList::Added}));
        QVERIFY(powerOff->calls.isEmpty());

        // Stop again, with no batch running, changes nothing.
        Press(window, "StopConvBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 2);
    }

    void convertWhileAStoppedConverterStillFinishes()
    {
        addSources({"a.avi", "b.avi"});
        converter->Put("ignore-q");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(LastProgress));
        Press(window, "StopConvBtn");
        QTRY_COMPARE(converter->Read("input.1"), QByteArray("q"));

        Press(window, "ConvFileBtn");
        QCOMPARE(window->JvEditCmdMsg->text(),
                 QString("The stopped conversion is still finishing. Press Convert again once it has ended."));
        QCOMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(!window->JvTimer->isActive());

        converter->Remove("ignore-q");
        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Added}));

        converter->Put("release");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 3);
        QCOMPARE(converter->Arguments(2).at(3), converter->Arguments(1).at(3));
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
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
        QVERIFY2(errors[0].startsWith("System Error.  Code: 2."), qPrintable(errors[0]));
        QCOMPARE(Marks(window), (QList<int>{TImageList::ConversionFailed, TImageList::Added}));
        QVERIFY(window->FileListView->topLevelItem(0)->toolTip(0).startsWith("System Error.  Code: 2."));
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
        QCOMPARE(Column(window, 4), (QStringList{"25%", "75%"}));
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

        // The batch ends inside the event loop, where a quit can end it.
        QTimer watch;
        connect(&watch, &QTimer::timeout, this, [this] {
            if (window->AddFileBtn->isEnabled())
                QMetaObject::invokeMethod(qApp, [] { QCoreApplication::exit(2); }, Qt::QueuedConnection);
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
        for (const QByteArray& line : lines) {
            TFFmpegFunc controller;
            controller.HandleConverterOutput(line);
        }
        QCOMPARE(Column(window, 4), QStringList{percent});
        QCOMPARE(window->JvEditCmdMsg->text(), statusLine);
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }
};

QTEST_MAIN(TestBatch)
#include "tst_batch.moc"
