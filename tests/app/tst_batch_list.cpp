// The list through the real window: Convert does what is left, the list's
// menu, and the list coming back when the program starts again.
#include "BatchWindowSetup.h"
#include "ProcessState.h"
#include "batch/BatchListFile.h"
#include "components/CursorEdit.h"
#include "engine/FFmpegFunc.h"
#include "tst_batch_support.h"

#include <QAction>
#include <QLockFile>
#include <QtTest>

namespace {

QAction* ListAction(TFFmpegFrm* window, const char* name)
{
    for (QAction* action : window->FileListView->actions())
        if (action->objectName() == name)
            return action;
    qFatal("no action %s", name);
}

QString ToolTip(TFFmpegFrm* window, int row) { return window->FileListView->topLevelItem(row)->toolTip(0); }

void Select(TFFmpegFrm* window, const QList<int>& rows)
{
    window->FileListView->clearSelection();
    for (const int row : rows)
        window->FileListView->topLevelItem(row)->setSelected(true);
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestBatchList : public QObject, BatchWindowSetup {
    Q_OBJECT

    QStringList sources;

    void addSources(const QStringList& names)
    {
        for (const QString& name : names) {
            sources << MakeFile(files->path(), name, "not really a video");
            AddRow(window, sources.constLast());
        }
    }
    QString output(const QString& name) const { return files->filePath("out/" + name); }
    // The source each run of the converter was given, in order.
    QStringList convertedSources() const
    {
        QStringList inputs;
        for (int run = 1; run <= converter->Runs(); ++run)
            inputs << QFileInfo(QString::fromUtf8(converter->Arguments(run).at(3))).fileName();
        return inputs;
    }
    void restart()
    {
        powerOff.reset();
        fixture->Stop();
        window = fixture->Start();
        powerOff = std::make_unique<RecordingPowerOff>(window);
    }
    QString listFile() const { return fixture->Folder() + '/' + BatchListFileName; }

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void init()
    {
        sources.clear();
        StartWindow();
        QDir().mkpath(files->filePath("out"));
        window->JvEditDir->setText(files->filePath("out"));
        converter->Put("release");
    }

    void cleanup() { EndWindow(); }

    // Convert converts what is not completed, in list order, and once all
    // is done, all of it again.
    void convertDoesWhatIsLeft()
    {
        converter->Put("exit.2", "1");
        addSources({"a.avi", "b.avi", "c.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::ConversionFailed, TImageList::Converted}));

        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(convertedSources(), (QStringList{"a.avi", "b.avi", "c.avi", "b.avi"}));
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        QCOMPARE(window->JvEditNumb->text(), QString("1"));

        // Everything done: all again, and every row waits until reached.
        converter->Remove("release");
        converter->Put("release.5");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 6);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Converting, TImageList::Added}));
        QCOMPARE(Column(window, 4).mid(1), (QStringList{"0%", "0%"}));
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(convertedSources().mid(4), (QStringList{"a.avi", "b.avi", "c.avi"}));
    }

    // The list's menu acts on every selected row; while a batch runs it
    // changes nothing, as the batch reads the rows by their place.
    void listMenuConvertsAgainAndRemoves()
    {
        addSources({"a.avi", "b.avi", "c.avi", "d.avi"});
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);

        Select(window, {1, 3});
        ListAction(window, "ConvertAgain1")->trigger();
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::Added, TImageList::Converted,
                                            TImageList::Added}));
        QCOMPARE(Column(window, 4), (QStringList{"100%", "0%", "100%", "0%"}));
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(convertedSources().mid(4), (QStringList{"b.avi", "d.avi"}));

        Select(window, {0, 2});
        ListAction(window, "RemoveFile1")->trigger();
        QCOMPARE(Column(window, 0), (QStringList{sources[1], sources[3]}));

        converter->Remove("release");
        converter->Put("progress", "frame= 1 time=00:00:01.00\r");
        Select(window, {0, 1});
        ListAction(window, "ConvertAgain1")->trigger(); // everything was done: all again
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 7);
        QVERIFY(!ListAction(window, "ConvertAgain1")->isEnabled());
        QVERIFY(!ListAction(window, "RemoveFile1")->isEnabled());
        QVERIFY(ListAction(window, "StopAfterFile1")->isEnabled());
        TFFmpegFunc().DeleteSelectedFile();
        TFFmpegFunc().ConvertSelectedAgain();
        QCOMPARE(window->FileListView->topLevelItemCount(), 2);
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converting, TImageList::Added}));
        converter->Put("release");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QVERIFY(ListAction(window, "ConvertAgain1")->isEnabled());
    }

    // After a restart the rows come back as they were left, facts and all;
    // a conversion the end of the program cut off is marked and its output
    // gone; a source that has gone is marked too.
    void listComesBackWhenTheProgramStartsAgain()
    {
        converter->Put("exit.2", "1");
        converter->Put("message.2", "b.avi: Invalid data found when processing input\n");
        addSources({"a.avi", "b.avi", "c.avi", "d.avi", "e.avi"});
        converter->Remove("release");
        converter->Put("release.1");
        converter->Put("release.2");
        converter->Put("partial", "unfinished");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(converter->Runs(), 3);
        QTRY_COMPARE(ReadAll(output("c.mp4")), QByteArray("unfinished"));
        const QString failedToolTip = ToolTip(window, 1);
        QVERIFY(QFile::remove(sources[3]));

        // The program ends during row 2 without closing, as a crash would:
        // the converter is never asked to finish its file.
        const qint64 cutOff = converter->Read("pid.3").trimmed().toLongLong();
        restart();

        QCOMPARE(Column(window, 0), sources);
        QCOMPARE(Column(window, 1), QStringList(5, "AVI")); // from the file: the library would not say so
        QCOMPARE(Marks(window), (QList<int>{TImageList::Converted, TImageList::ConversionFailed,
                                            TImageList::ConversionFailed, TImageList::ConversionFailed,
                                            TImageList::Added}));
        QCOMPARE(Column(window, 4).at(0), QString("100%"));
        QCOMPARE(ToolTip(window, 1), failedToolTip);
        QCOMPARE(ToolTip(window, 2), QString("Interrupted: the program ended during this conversion."));
        QCOMPARE(ToolTip(window, 3), QString("The source file no longer exists."));
        QTRY_VERIFY(IsIdle(window));
        QVERIFY(!QFile::exists(output("c.mp4")));
        QVERIFY(QFile::exists(output("a.mp4")));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());

        // Convert goes on with what is left.
        converter->Remove("partial");
        converter->Put("release");
        QTRY_VERIFY(ProcessEnded(cutOff));
        const int runsBefore = converter->Runs();
        Press(window, "ConvFileBtn");
        QTRY_COMPARE(ButtonsEnabled(window), Idle);
        QCOMPARE(convertedSources().mid(runsBefore), (QStringList{"b.avi", "c.avi", "d.avi", "e.avi"}));
    }

    // A second copy of the program in the same folder must not restore a
    // list the first one is converting, nor write over it.
    void secondCopyNeitherRestoresNorSaves()
    {
        addSources({"a.avi"});
        restart();
        QCOMPARE(window->BatchRows->Count(), 1);
        fixture->Stop();
        const QByteArray kept = ReadAll(listFile());
        QLockFile firstCopy(listFile() + ".lock");
        QVERIFY(firstCopy.tryLock(0));
        restart();
        QCOMPARE(window->BatchRows->Count(), 0);
        QCOMPARE(window->JvEditCmdMsg->text(),
                 QString("Another copy of Movarin keeps the file list of this folder: this one neither restores nor "
                         "saves it."));
        addSources({"b.avi"});
        fixture->Stop();
        QCOMPARE(ReadAll(listFile()), kept);
        firstCopy.unlock();
        restart();
        QCOMPARE(Column(window, 0), QStringList{sources[0]});
    }

    // A damaged list is kept for whoever wants to look at it, and the
    // program starts with an empty list.
    void unreadableListIsMovedAside()
    {
        fixture->Stop();
        QFile damaged(listFile());
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"kind\":\"Movarin batch list\",\"version\":1,\"rows\":[{\"sour");
        damaged.close();
        restart();
        QCOMPARE(window->BatchRows->Count(), 0);
        const QStringList aside = QDir(fixture->Folder()).entryList({"BatchList.unreadable-*.json"});
        QCOMPARE(aside.size(), 1);
        QCOMPARE(ReadAll(fixture->Folder() + '/' + aside[0]).left(20), QByteArray("{\"kind\":\"Movarin bat"));
        QVERIFY2(window->JvEditCmdMsg->text().startsWith("The saved file list could not be read (It is not JSON"),
                 qPrintable(window->JvEditCmdMsg->text()));
        QVERIFY(window->JvEditCmdMsg->text().endsWith("was kept as " + aside[0] + "; the list starts empty."));
        QCOMPARE(ErrorTexts(fixture->Shown), QStringList());
    }
};

QTEST_MAIN(TestBatchList)
#include "tst_batch_list.moc"
