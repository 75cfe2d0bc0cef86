#include "settings/DataModule.h"
#include "settings/SqliteError.h"
#include "settings/Statements.h"

#include <QTemporaryDir>
#include <QtTest>

namespace {

void run(TSqliteQuery& query, const QByteArray& statement)
{
    query.SQL().clear();
    query.SQL() = statement;
    query.Execute();
}

QByteArray errorOf(TSqliteQuery& query, const QByteArray& statement)
{
    try {
        run(query, statement);
    } catch (const ESqliteError& error) {
        return error.what();
    }
    return "no error";
}

} // namespace

class TestSqliteQuery : public QObject {
    Q_OBJECT
    QTemporaryDir m_folder;
    std::unique_ptr<TSqlDatMod> m_data;

private slots:
    void init()
    {
        QVERIFY(m_folder.isValid());
        QDir::setCurrent(m_folder.path());
        QFile::remove("LibFFmpeg.Dat");
        m_data = std::make_unique<TSqlDatMod>();
        run(m_data->SqliteQuery, "create table savedir_videofile (dir_numb text, dir_name text)");
        run(m_data->SqliteQuery, "insert into savedir_videofile values ('001', '')");
        run(m_data->SqliteQuery, "create table t (n integer, s text)");
        run(m_data->SqliteQuery, "insert into t values (1, 'one'), (2, null), (null, 'three'), ('12abc', 4)");
    }
    void cleanup() { m_data.reset(); }

    void missingFileIsCreatedEmptyInTheCurrentFolder()
    {
        m_data.reset();
        QFile::remove("LibFFmpeg.Dat");
        TSqlDatMod fresh;
        QVERIFY(QFileInfo("LibFFmpeg.Dat").exists());
        QCOMPARE(errorOf(fresh.SqliteQuery, Statements::SelectOptionList("cmbex_vdocodec")),
                 QByteArray("no such table: cmbex_vdocodec"));
    }

    void fileThatCannotBeOpenedStopsTheDataModule()
    {
        try {
            TSqlDatMod broken(TSqlDatMod::DefaultClientLibrary, "no-such-folder/LibFFmpeg.Dat");
            QFAIL("opened a file in a missing folder");
        } catch (const ESqliteError& error) {
            QCOMPARE(QByteArray(error.what()), QByteArray("unable to open database file"));
        }
    }

    void rowsAreWalkedAndReadAsIntegerOrText()
    {
        TSqliteQuery& query = m_data->SqliteQuery;
        run(query, "select n, s from t order by rowid");
        QCOMPARE(query.RecordCount(), 4);
        QList<int> numbers;
        QList<QByteArray> texts;
        query.First();
        for (int row = 0; row < query.RecordCount(); ++row) {
            numbers << query.FieldAsInteger(0);
            texts << query.FieldAsString(1);
            query.Next();
        }
        QCOMPARE(numbers, (QList<int>{1, 2, 0, 12}));
        QCOMPARE(texts, (QList<QByteArray>{"one", "", "three", "4"}));
        QCOMPARE(query.FieldAsInteger(0), 0); // walked past the end
        QCOMPARE(query.FieldAsString(1), QByteArray());
    }

    void missingRowsAreNoError()
    {
        TSqliteQuery& query = m_data->SqliteQuery;
        run(query, "select n, s from t where n = 99");
        QCOMPARE(query.RecordCount(), 0);
        QCOMPARE(query.FieldAsInteger(0), 0);
        QCOMPARE(query.FieldAsString(1), QByteArray());
        run(query, "update savedir_videofile set dir_name = 'x' where dir_numb = '002'");
        run(query, Statements::SelectOutputDir());
        QCOMPARE(query.FieldAsString(0), QByteArray());
    }

    void quotedFolderReadsBackUnchanged()
    {
        const QByteArray folder = "/home/o'neil/it''s \"here\"/clips ü";
        TSqliteQuery& query = m_data->SqliteQuery;
        run(query, Statements::UpdateOutputDir(folder));
        run(query, Statements::SelectOutputDir());
        QCOMPARE(query.FieldAsString(0), folder);
    }

    void failedStatementLeavesTheQueryUsable_data()
    {
        QTest::addColumn<QByteArray>("statement");
        QTest::addColumn<QByteArray>("message");
        QTest::newRow("missing table") << QByteArray("select cmbex_cmd from cmbex_vdocodec where cmbex_index = 0")
                                       << QByteArray("no such table: cmbex_vdocodec");
        QTest::newRow("missing column") << QByteArray("select dir_path from savedir_videofile")
                                        << QByteArray("no such column: dir_path");
        QTest::newRow("syntax") << QByteArray("selec 1") << QByteArray("near \"selec\": syntax error");
    }
    void failedStatementLeavesTheQueryUsable()
    {
        QFETCH(QByteArray, statement);
        QFETCH(QByteArray, message);
        TSqliteQuery& query = m_data->SqliteQuery;
        run(query, "select n from t where n = 1");
        QCOMPARE(errorOf(query, statement), message);
        QCOMPARE(query.RecordCount(), 0); // the earlier result is gone
        run(query, "select s from t where n = 1");
        QCOMPARE(query.FieldAsString(0), QByteArray("one"));
    }

    void writesFailOnAReadOnlyFile()
    {
        m_data.reset();
        QFile::setPermissions("LibFFmpeg.Dat", QFileDevice::ReadOwner | QFileDevice::ReadGroup);
        // Root ignores permission bits; the immutable flag binds root too.
        const bool immutable = QProcess::execute("chattr", {"+i", "LibFFmpeg.Dat"}) == 0;
        auto writable = qScopeGuard([&] {
            if (immutable)
                QProcess::execute("chattr", {"-i", "LibFFmpeg.Dat"});
            QFile::setPermissions("LibFFmpeg.Dat", QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        });
        if (!immutable && QFileInfo("LibFFmpeg.Dat").isWritable())
            QSKIP("the file cannot be made read-only here");
        TSqlDatMod readOnly;
        QCOMPARE(errorOf(readOnly.SqliteQuery, Statements::UpdateOutputDir("/elsewhere")),
                 QByteArray("attempt to write a readonly database"));
        run(readOnly.SqliteQuery, Statements::SelectOutputDir()); // reading still works
        QCOMPARE(readOnly.SqliteQuery.FieldAsString(0), QByteArray());
    }

    void lockHeldElsewhereFailsAtOnce()
    {
        TSqlDatMod other; // a second copy of the program on the same file
        run(other.SqliteQuery, "begin exclusive");
        QCOMPARE(errorOf(m_data->SqliteQuery, Statements::UpdateOutputDir("/x")), QByteArray("database is locked"));
        run(other.SqliteQuery, "rollback");
        run(m_data->SqliteQuery, Statements::UpdateOutputDir("/x"));
        run(other.SqliteQuery, Statements::SelectOutputDir());
        QCOMPARE(other.SqliteQuery.FieldAsString(0), QByteArray("/x")); // in the file at once
    }
};

QTEST_GUILESS_MAIN(TestSqliteQuery)
#include "tst_sqlitequery.moc"
