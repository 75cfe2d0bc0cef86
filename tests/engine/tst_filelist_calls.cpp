// The file list's use of the media-information library, seen through a
// stand-in that records every call: no row and no error box while the
// library is missing, only a word on the status line,
// one query per purpose, every handle released.

#include "ProgramFixture.h"
#include "RecordedCalls.h"
#include "app/FFmpegGUI.h"
#include "engine/FFmpegFunc.h"
#include "media/MediaInfoDll.h"

#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <QtTest>

namespace {

QStringList RowTexts(const QTreeWidgetItem* row)
{
    QStringList texts;
    for (int column = 0; column < row->columnCount(); ++column)
        texts << row->text(column);
    return texts;
}

void AddFile(TFFmpegFrm* window, const QString& path)
{
    DialogSeam::AnswerNext(path);
    window->AddFileBtn->click();
}

QList<QByteArray> Query(int handle, const QByteArray& path, const QList<QByteArray>& gets)
{
    const QByteArray number = QByteArray::number(handle);
    QList<QByteArray> calls{"New " + number, "Open " + number + ' ' + path};
    for (const QByteArray& get : gets)
        calls << "Get " + number + ' ' + get.left(1) + " 0 " + get.mid(2) + " 1 0";
    calls << "Close " + number << "Delete " + number;
    return calls;
}

const QList<QByteArray> RowProperties = {"0 FileExtension", "0 FileSize/String4", "0 Duration/String3"};

QList<QByteArray> PanelProperties(bool codecKnown)
{
    QList<QByteArray> gets{"0 FileName", "0 FileExtension", "0 FileExtension", "0 FileSize/String4",
                           "0 Duration/String3", "1 Codec/String"};
    if (!codecKnown)
        gets << "1 Format";
    gets << "1 BitRate/String" << "1 Width" << "1 Height" << "1 FrameRate/String"
         << "1 DisplayAspectRatio/String" << "2 Codec/String";
    if (!codecKnown)
        gets << "2 Format";
    gets << "2 BitRate/String" << "2 Channel(s)/String" << "2 SamplingRate/String";
    return gets;
}

} // namespace

class TestFileListCalls : public QObject {
    Q_OBJECT
private slots:
    // Runs first: until it ends, no library is loaded in this process.
    void withoutTheLibraryNothingChangesAndEachUseTriesAgain()
    {
        QTemporaryDir libraries;
        const QString later = libraries.filePath("libmediainfo-absent.so.0");
        SetMediaInfoLibraryName(later.toUtf8());
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QTreeWidgetItem* nameLine = window->MsgListView->topLevelItem(1);
        nameLine->setText(1, "shown before");

        AddFile(window, "/videos/first.avi");
        // Said once: a later message on the status line is not pushed aside.
        QCOMPARE(window->JvEditCmdMsg->text(), "Cannot load media information library: " + later);
        window->JvEditCmdMsg->setText("later message");
        AddFile(window, "/videos/second.avi");
        TFFmpegFunc().ShowFileInfo("/videos/first.avi");

        QCOMPARE(window->JvEditCmdMsg->text(), QString("later message"));
        QCOMPARE(window->FileListView->topLevelItemCount(), 0);
        QCOMPARE(nameLine->text(1), QString("shown before"));
        QCOMPARE(fixture.Shown.size(), 2); // the two open dialogs, no message
        QVERIFY(!RecordedCalls(RECORDING_MEDIAINFO).LibraryLoaded());

        // The library turns up: the very next use loads it.
        QVERIFY(QFile::link(RECORDING_MEDIAINFO, later));
        AddFile(window, "/videos/third.avi");
        QCOMPARE(window->FileListView->topLevelItemCount(), 1);
        QCOMPARE(nameLine->text(1), QString("value of FileName.value of FileExtension"));
        QVERIFY(RecordedCalls(RECORDING_MEDIAINFO).LibraryLoaded());
    }

    void addingQueriesForTheRowThenForThePanel_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<bool>("readable");
        QTest::addColumn<QStringList>("row");
        QTest::newRow("readable") << "/videos/l'été \"clip\".avi" << true
                                  << QStringList({"/videos/l'été \"clip\".avi", "value of FileExtension",
                                                  "value of FileSize/StriMB", "value of", "0%"});
        QTest::newRow("open fails") << "/videos/unreadable.avi" << false
                                    << QStringList({"/videos/unreadable.avi", "", "MB", "02:50:00", "0%"});
    }
    void addingQueriesForTheRowThenForThePanel()
    {
        QFETCH(QString, path);
        QFETCH(bool, readable);
        QFETCH(QStringList, row);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        const RecordedCalls recorded(RECORDING_MEDIAINFO);
        recorded.Forget();

        AddFile(window, path);

        QCOMPARE(recorded.Calls(),
                 Query(1, path.toUtf8(), RowProperties) + Query(2, path.toUtf8(), PanelProperties(readable)));
        QCOMPARE(recorded.LiveHandles(), 0);
        QCOMPARE(RowTexts(window->FileListView->topLevelItem(0)), row);
    }

    void onlyAShownFileIsQueried()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        AddFile(window, "/videos/a.avi");
        AddFile(window, "/videos/b.avi");
        const RecordedCalls recorded(RECORDING_MEDIAINFO);
        recorded.Forget();

        TFFmpegFunc().ShowSelectedFileInfo(); // nothing selected
        QCOMPARE(recorded.Calls(), QList<QByteArray>());

        window->FileListView->topLevelItem(0)->setSelected(true);
        TFFmpegFunc().ShowSelectedFileInfo();
        QCOMPARE(recorded.Calls(), Query(1, "/videos/a.avi", PanelProperties(true)));

        recorded.Forget();
        window->DelFileBtn->click();
        window->ClearFileBtn->click();
        window->DelFileBtn->click();
        QCOMPARE(recorded.Calls(), QList<QByteArray>());
        QCOMPARE(recorded.LiveHandles(), 0);
    }
};

QTEST_MAIN(TestFileListCalls)
#include "tst_filelist_calls.moc"
