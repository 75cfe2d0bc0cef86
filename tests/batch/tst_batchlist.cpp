// The list file: what it holds, what the program makes of it when it starts
// again, and the keeper that writes it while the program runs.
#include "batch/BatchListFile.h"
#include "batch/BatchListKeeper.h"
#include "batch/BatchRows.h"

#include <QDir>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TBatchRow Row(const QString& source, TRowState state)
{
    TBatchRow row;
    row.source = source;
    row.type = "avi";
    row.size = "1.2 MB";
    row.playingTime = "00:03:20";
    row.playingTimeRead = true;
    row.state = state;
    return row;
}

// Every field the file keeps, with texts that JSON has to escape.
TBatchRow FullRow()
{
    TBatchRow row = Row("/videos/it's \"my\" clip\n東京\t.avi", TRowState::Completed);
    row.percent = 100;
    row.toolTip = "The output plays 1 s.\nThe source plays 3 s.";
    row.warning = true;
    row.notes = QStringList{"Sound: stereo made mono.", "Subtitles left out."};
    row.output = "/out/clip (2).mp4";
    row.outputExistedBefore = true;
    return row;
}

QByteArray Fields(const TBatchRow& row)
{
    return QStringList{row.source, row.type, row.size, row.playingTime, QString::number(row.playingTimeRead),
                       QString::number(int(row.state)),
                       QString::number(row.percent), row.toolTip, QString::number(row.warning), row.notes.join('|'),
                       row.output, QString::number(row.outputExistedBefore)}
        .join('/')
        .toUtf8();
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(TBatchRow)

class TestBatchList : public QObject {
    Q_OBJECT

private slots:
    void everyStateAndFieldComesBack()
    {
        QList<TBatchRow> rows{FullRow()};
        for (TRowState state : {TRowState::Waiting, TRowState::Converting, TRowState::Failed, TRowState::Stopped})
            rows << Row("/videos/a.avi", state);
        const QList<TBatchRow> read = ReadBatchListJson(BatchListJson(rows));
        QCOMPARE(read.size(), rows.size());
        for (qsizetype index = 0; index < rows.size(); ++index)
            QCOMPARE(Fields(read[index]), Fields(rows[index]));
        QCOMPARE(ReadBatchListJson(BatchListJson({})).size(), 0);
    }

    // Whatever is wrong, the reason is told and nothing half-read comes back.
    void unreadableFilesSayWhy_data()
    {
        QTest::addColumn<QByteArray>("json");
        QTest::addColumn<QString>("reason");
        const QByteArray head = R"({"kind":"Movarin batch list","version":1,"rows":)";
        QTest::newRow("cut off") << BatchListJson({FullRow()}).chopped(7) << "It is not JSON";
        QTest::newRow("empty") << QByteArray() << "It is not JSON";
        QTest::newRow("another file") << QByteArray(R"({"kind":"settings"})") << "It is not a batch list.";
        QTest::newRow("newer version") << QByteArray(R"({"kind":"Movarin batch list","version":2,"rows":[]})")
                                       << "Its version 2 is not one this program reads.";
        QTest::newRow("no rows") << head + "{}}" << "It holds no rows.";
        QTest::newRow("no source") << head + R"([{"state":"waiting"}]})" << "Row 1 has no source.";
        QTest::newRow("unknown state") << head + R"([{"source":"/a","state":"waiting"},{"source":"/b","state":"sleepy"}]})"
                                       << "Row 2 has an unreadable state.";
        QTest::newRow("wrong kind of field") << head + R"([{"source":"/a","state":"waiting","percent":"12"}]})"
                                             << "Row 1 has an unreadable percent.";
    }
    void unreadableFilesSayWhy()
    {
        QFETCH(QByteArray, json);
        QFETCH(QString, reason);
        try {
            ReadBatchListJson(json);
            QFAIL("an unreadable list was read");
        } catch (const std::runtime_error& error) {
            QVERIFY2(QString::fromUtf8(error.what()).startsWith(reason), error.what());
        }
    }

    // What each kept row becomes when the program starts again.
    void restoredRows_data()
    {
        QTest::addColumn<TBatchRow>("kept");
        QTest::addColumn<bool>("sourceExists");
        QTest::addColumn<int>("state");
        QTest::addColumn<QString>("toolTip");
        QTest::addColumn<QStringList>("removed");
        TBatchRow converting = Row("/videos/a.avi", TRowState::Converting);
        converting.output = "/out/a.mp4";
        converting.notes = {"Sound: stereo made mono."};
        TBatchRow convertingOverOldFile = converting;
        convertingOverOldFile.outputExistedBefore = true;
        const QString interrupted = InterruptedToolTip;
        const QString missing = MissingSourceToolTip;
        QTest::newRow("waiting") << Row("/videos/a.avi", TRowState::Waiting) << true << int(TRowState::Waiting)
                                 << QString() << QStringList();
        QTest::newRow("completed, warning and notes kept") << FullRow() << true << int(TRowState::Completed)
                                                           << ShownToolTip(FullRow()) << QStringList();
        QTest::newRow("converting: interrupted, output goes")
            << converting << true << int(TRowState::Failed) << interrupted << QStringList{"/out/a.mp4"};
        QTest::newRow("converting over a file that was there: it stays")
            << convertingOverOldFile << true << int(TRowState::Failed) << interrupted << QStringList();
        QTest::newRow("source gone") << FullRow() << false << int(TRowState::Failed) << missing << QStringList();
        QTest::newRow("both") << converting << false << int(TRowState::Failed) << interrupted + '\n' + missing
                              << QStringList{"/out/a.mp4"};
    }
    void restoredRows()
    {
        QFETCH(TBatchRow, kept);
        QFETCH(bool, sourceExists);
        const TRestoredBatchList restored =
            RestoreBatchRows({kept}, [&](const QString& source) { return source == kept.source && sourceExists; });
        QCOMPARE(restored.rows.size(), 1);
        QTEST(int(restored.rows[0].state), "state");
        QTEST(ShownToolTip(restored.rows[0]), "toolTip");
        QTEST(restored.unfinishedOutputs, "removed");
        QCOMPARE(restored.rows[0].source, kept.source);
    }

    // The file follows the rows; a burst of changes makes one write.
    void keeperWritesWhatTheRowsAreAfterEachEvent()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(BatchListFileName);
        TBatchRows rows;
        TBatchListKeeper keeper(path);
        keeper.Follow(&rows);
        QVERIFY(keeper.TakeLock());
        for (int number = 0; number < 100; ++number)
            rows.Append(Row(QStringLiteral("/videos/%1.avi").arg(number), TRowState::Waiting));
        rows.Start(0);
        rows.SetOutput(0, "/out/0.mp4", false);
        bool kept = false;
        keeper.WhenKept([&] { kept = true; });
        QTRY_VERIFY(kept);
        QList<TBatchRow> read = ReadBatchListJson(ReadAll(path));
        QCOMPARE(read.size(), 100);
        QCOMPARE(read[0].state, TRowState::Converting);
        QCOMPARE(read[0].output, QString("/out/0.mp4"));

        // Progress is no change to keep; the end of the row is.
        rows.ReportLine(0, "frame= 1 time=00:01:40.00", true);
        rows.Finish(0, TRowOutcome{TRowOutcome::TKind::Completed, {}, std::nullopt, false});
        rows.Remove(99);
        QTRY_COMPARE(ReadBatchListJson(ReadAll(path)).size(), 99);
        read = ReadBatchListJson(ReadAll(path));
        QCOMPARE(read[0].state, TRowState::Completed);
        QCOMPARE(read[0].percent, qint64(100));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden),
                 (QStringList{BatchListFileName, QString(BatchListFileName) + ".lock"}));
    }

    // Changes made just before the program ends are written as it ends.
    void keeperWritesTheLastChangesWhenItGoes()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(BatchListFileName);
        TBatchRows rows;
        {
            TBatchListKeeper keeper(path);
            keeper.Follow(&rows);
            QVERIFY(keeper.TakeLock());
            rows.Append(Row("/videos/a.avi", TRowState::Waiting));
        }
        QCOMPARE(ReadBatchListJson(ReadAll(path)).size(), 1);
        TBatchListKeeper again(path);
        QVERIFY(again.TakeLock());
        QCOMPARE(again.Read().size(), 1);
    }

    // One copy of the program keeps a folder's list; a second one neither
    // reads nor writes it, and waits for nothing.
    void secondKeeperOfAFolderKeepsNothing()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(BatchListFileName);
        TBatchListKeeper first(path);
        QVERIFY(first.TakeLock());
        TBatchRows rows;
        TBatchListKeeper second(path);
        second.Follow(&rows);
        QVERIFY(!second.TakeLock());
        QVERIFY(second.HeldElsewhere());
        rows.Append(Row("/videos/a.avi", TRowState::Waiting));
        bool kept = false;
        second.WhenKept([&] { kept = true; });
        QTRY_VERIFY(kept);
        QVERIFY(!QFile::exists(path));
    }

    // The folder went away under the program (even root cannot write into
    // a file): the write fails, says why, and waits hold up nothing.
    void failedWriteIsReported()
    {
        QTemporaryDir folder;
        const QString gone = folder.filePath("gone");
        QVERIFY(QDir().mkpath(gone));
        TBatchRows rows;
        TBatchListKeeper keeper(gone + '/' + BatchListFileName);
        keeper.Follow(&rows);
        QVERIFY(keeper.TakeLock());
        QVERIFY(QDir(gone).removeRecursively());
        QFile blocking(gone);
        QVERIFY(blocking.open(QIODevice::WriteOnly));
        blocking.close();
        QSignalSpy failed(&keeper, &TBatchListKeeper::WriteFailed);
        rows.Append(Row("/videos/a.avi", TRowState::Waiting));
        bool kept = false;
        keeper.WhenKept([&] { kept = true; });
        QTRY_VERIFY(kept);
        QCOMPARE(failed.count(), 1);
        QVERIFY(!failed.at(0).at(0).toString().isEmpty());
    }

    // An unreadable file is kept under a name of its own and never read
    // again.
    void unreadableFileIsMovedAside()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(BatchListFileName);
        QFile damaged(path);
        QVERIFY(damaged.open(QIODevice::WriteOnly));
        damaged.write("{\"kind\":\"Movarin batch list\",\"vers");
        damaged.close();
        TBatchListKeeper keeper(path);
        QVERIFY(keeper.TakeLock());
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, keeper.Read());
        const QString aside = keeper.MoveAside();
        QVERIFY(!QFile::exists(path));
        QVERIFY2(QFileInfo(aside).fileName().startsWith("BatchList.unreadable-") && aside.endsWith(".json"),
                 qPrintable(aside));
        QCOMPARE(ReadAll(aside), QByteArray("{\"kind\":\"Movarin batch list\",\"vers"));
        QCOMPARE(keeper.Read().size(), 0);
    }
};

QTEST_GUILESS_MAIN(TestBatchList)
#include "tst_batchlist.moc"
