// What must keep holding while a batch runs: outputs named after their
// sources and never written over any file, and a sound end when the user closes,
// quits or changes the options, or when the settings cannot be read. The
// converter is the scripted stand-in beside the test program.
#include "ProgramFixture.h"
#include "Clips.h"
#include "engine/FFmpegFunc.h"
#include "batch/BatchRows.h"
#include "components/CursorEdit.h"
#include "components/JvComboBox.h"
#include "components/JvTrayIcon.h"
#include "process/JvCreateProcess.h"
#include "BatchWindowSetup.h"
#include "tst_batch_support.h"

#include <QCheckBox>
#include <QMenu>
#include <QTimer>
#include <QtTest>

#include <unistd.h>

namespace {

const QByteArray Progress = "frame=   75 fps= 25 q=2.0 size=     384kB time=00:00:03.00 bitrate= 838.9kbits/s";

void ChooseOutputFolder(TFFmpegFrm* window, const QString& folder)
{
    DialogSeam::AnswerNext(folder);
    window->findChild<QToolButton*>("JvBtnSltDir")->click();
}

} // namespace

class TestBatchGuards : public QObject, BatchWindowSetup {
    Q_OBJECT


    void addSources(const QStringList& names)
    {
        for (const QString& name : names)
            AddRow(window, MakeFile(files->path(), name, "not really a video"));
    }
    QString folder(const QString& name) const
    {
        QDir().mkpath(files->filePath(name));
        return files->filePath(name);
    }
    QString output(int run) const { return QString::fromUtf8(converter->Arguments(run).constLast()); }

    // Starts a batch of three rows and waits until row 0 reports progress.
    void startThreeRows()
    {
        addSources({"a.avi", "b.avi", "c.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(window->JvEditCmdMsg->text(), QString(Progress));
    }

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void init()
    {
        StartWindow();
        ChooseOutputFolder(window, folder("out"));
        converter->Put("progress", Progress + '\r');
    }

    void cleanup() { EndWindow(); }

    // Each output is named after its source letter for letter, whatever the
    // media-information library makes of the name, and gets a number only
    // where something is already there, also a hard link of a source.
    void outputsKeepTheSourcesOwnNames()
    {
        converter->Put("release");
        const QStringList names{"line\nfeed.avi", "%1 %2 %L1.avi", "a/%1.avi", "b/%1.avi", ".hidden", "clip.avi"};
        for (const QString& name : names) {
            const QFileInfo file("src/" + name);
            AddRow(window, MakeFile(folder(file.path()), file.fileName(), "not really a video"));
        }
        const QByteArray source = QFile::encodeName(files->filePath("src/clip.avi"));
        const QByteArray link = QFile::encodeName(folder("out") + "/clip.mp4");
        QVERIFY2(::link(source.constData(), link.constData()) == 0, strerror(errno));

        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), names.size());
        QStringList outputs;
        for (int run = 1; run <= names.size(); ++run)
            outputs << output(run).mid(folder("out").size() + 1);
        QCOMPARE(outputs, (QStringList{"line\nfeed.mp4", "%1 %2 %L1.mp4", "%1.mp4", "%1 (2).mp4", ".hidden.mp4",
                                       "clip (2).mp4"}));
        QCOMPARE(Marks(window), QList<int>(names.size(), TImageList::Converted));
    }

    // Whatever is in the output folder when a row starts keeps its name and
    // its contents: the user's own file, and what an earlier batch wrote.
    void filesInTheOutputFolderAreNeverReplaced()
    {
        converter->Put("release");
        addSources({"a.avi", "b.avi"});
        const QString usersFile = MakeFile(folder("out"), "b.mp4", "the user's own file");
        for (int batch = 0; batch < 2; ++batch) {
            Press(window, "ConvFileBtn");
            QTRY_COMPARE(ButtonsEnabled(window), Idle);
        }
        QCOMPARE(converter->Runs(), 4);
        QStringList outputs;
        for (int run = 1; run <= 4; ++run)
            outputs << output(run).mid(folder("out").size() + 1);
        QCOMPARE(outputs, (QStringList{"a.mp4", "b (2).mp4", "a (2).mp4", "b (3).mp4"}));
        QFile kept(usersFile);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("the user's own file"));
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
    }

    // A saved output folder with a NUL in its name would give every output
    // name to the file system cut at the NUL. It is refused like an empty
    // one: the window answers, every row fails with the reason, nothing runs.
    void savedFolderWithANulCharacterIsRefused()
    {
        const QString beforeNul = folder("x");
        fixture->Stop();
        fixture->PrepareDatabase({"update savedir_videofile set dir_name = '" + beforeNul.toUtf8()
                                  + "' || char(0) || 'y' where dir_numb = '001'"});
        window = fixture->Start();
        QCOMPARE(window->JvEditDir->text(), beforeNul + QChar(0) + 'y');
        addSources({"a.avi", "b.avi"});
        Press(window, "ConvFileBtn");
        QCOMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::ConversionFailed));
        const QString reason = "The output folder \"" + beforeNul
                               + "\\0y\" cannot be used: its name holds a NUL character (shown as \\0), which no file "
                                 "name may contain. Choose the output folder again.";
        for (int row = 0; row < 2; ++row)
            QCOMPARE(window->FileListView->topLevelItem(row)->toolTip(0), reason);
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
        QTest::qWait(50);
        QCOMPARE(converter->Runs(), 0);
    }

    // The window goes away while the converter still runs: the "q" queued on
    // closing must still reach it, or it would go on writing unseen.
    void closingAndDestroyingAtOnceStillStopsTheConverter()
    {
        startThreeRows();
        window->close();
        powerOff.reset();
        fixture->Stop();
        window = nullptr;
        QTRY_COMPARE(converter->Read("input.1"), QByteArray("q"));
        QCOMPARE(converter->Runs(), 1);
    }

    // Every way of quitting ends a running batch as the close box does: the
    // converter is asked to quit, no later row starts, the machine stays on
    // and the program leaves its event loop.
    void quittingDuringABatchIsClosing_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("close box") << "close box";
        QTest::newRow("tool bar") << "tool bar";
        QTest::newRow("tray menu") << "tray menu";
    }
    void quittingDuringABatchIsClosing()
    {
        QFETCH(QString, how);
        window->JvCheckBox->setChecked(true);
        startThreeRows();
        QTimer::singleShot(0, window, [this, how] {
            if (how == "close box")
                window->close();
            else if (how == "tool bar")
                Press(window, "QuitBtn");
            else
                window->JvPopupMenu->findChild<QAction*>("Quit1")->trigger();
        });
        QTimer::singleShot(20000, qApp, [] { QCoreApplication::exit(3); });
        QCOMPARE(QCoreApplication::exec(), 0);
        QVERIFY(!window->isVisible());
        QCOMPARE(ButtonsEnabled(window), Idle);
        QTRY_COMPARE(converter->Read("input.1"), QByteArray("q"));
        QTRY_VERIFY(IsIdle(window));
        QCOMPARE(converter->Runs(), 1);
        QCOMPARE(Marks(window).mid(1), (QList<int>{TImageList::Added, TImageList::Added}));
        QCOMPARE(powerOff->asked, 0);
        QVERIFY(powerOff->calls.isEmpty());
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }

    // The row being converted keeps the command line it started with; the
    // rows after it get the new choice.
    void changesDuringABatchReachOnlyLaterRows()
    {
        TJvComboBox* codec = window->findChild<TJvComboBox*>("JvCmbVdo1");
        const QByteArray codecBefore = TFFmpegFunc().GetVdoCodecCmd();
        startThreeRows();
        QCOMPARE(converter->Runs(), 1);

        QTest::keyClick(codec, Qt::Key_Down);
        const QByteArray codecAfter = TFFmpegFunc().GetVdoCodecCmd();
        QVERIFY(codecAfter != codecBefore);
        ChooseOutputFolder(window, folder("elsewhere"));
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 3);

        const auto hasWords = [](const QList<QByteArray>& arguments, const QByteArray& fragment) {
            const QList<QByteArray> words = fragment.split(' ');
            for (qsizetype at = 0; at + words.size() <= arguments.size(); ++at)
                if (arguments.mid(at, words.size()) == words)
                    return true;
            return false;
        };
        QVERIFY(hasWords(converter->Arguments(1), codecBefore));
        QVERIFY(!hasWords(converter->Arguments(1), codecAfter));
        QVERIFY(hasWords(converter->Arguments(2), codecAfter));
        QVERIFY(hasWords(converter->Arguments(3), codecAfter));
        QCOMPARE((QStringList{output(1), output(2), output(3)}),
                 (QStringList{folder("out") + "/a.mp4", folder("elsewhere") + "/b.mp4", folder("elsewhere") + "/c.mp4"}));
        QCOMPARE(window->BatchRows->At(0).output, folder("out") + "/a.mp4");
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
    }

    // The settings cannot be read when a row's command line is built: that
    // row fails with the reason, the batch ends there and the window is
    // ready for the next try.
    void settingsErrorWhileBuildingEndsTheBatch_data()
    {
        QTest::addColumn<int>("failingRow");
        QTest::newRow("first row") << 0;
        QTest::newRow("later row") << 1;
    }
    void settingsErrorWhileBuildingEndsTheBatch()
    {
        QFETCH(int, failingRow);
        window->JvCheckBox->setChecked(true);
        {
            std::unique_ptr<ForeignLock> lock;
            if (failingRow == 0) {
                lock = std::make_unique<ForeignLock>(fixture->Folder());
                addSources({"a.avi", "b.avi", "c.avi"});
                Press(window, "ConvFileBtn");
            } else {
                startThreeRows();
                lock = std::make_unique<ForeignLock>(fixture->Folder());
                converter->Put("release.1");
            }
            QTRY_COMPARE(ButtonsEnabled(window), Idle);
        }
        QList<int> marks(3, TImageList::Added);
        for (int row = 0; row < failingRow; ++row)
            marks[row] = TImageList::Converted;
        marks[failingRow] = TImageList::ConversionFailed;
        QCOMPARE(Marks(window), marks);
        QCOMPARE(window->FileListView->topLevelItem(failingRow)->toolTip(0), QString("database is locked"));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList{"database is locked."});
        QCOMPARE(converter->Runs(), failingRow);
        QVERIFY(!window->JvTimer->isActive());
        QCOMPARE(window->JvTrayIcon->IconIndex(), int(TImageList::Added));
        QCOMPARE(window->JvEditNumb->text(), QString::number(failingRow));
        QVERIFY(IsIdle(window));
        QVERIFY(powerOff->calls.isEmpty());

        // With the settings readable again the next batch runs the rows left.
        converter->Put("release");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(converter->Runs(), 3);
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        QCOMPARE(window->FileListView->topLevelItem(failingRow)->toolTip(0), QString());
    }
};

QTEST_MAIN(TestBatchGuards)
#include "tst_batch_guards.moc"
