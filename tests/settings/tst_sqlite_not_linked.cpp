// Runs in a process of its own: once an engine is bound it stays bound.
#include "settings/DataModule.h"
#include "settings/SqliteError.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSqliteNotLinked : public QObject {
    Q_OBJECT
private slots:
    void missingFunctionsFailWhenFirstCalled()
    {
        QTemporaryDir folder;
        QDir::setCurrent(folder.path());
        const QByteArray library = (QCoreApplication::applicationDirPath() + "/libpartial_sqlite.so").toUtf8();
        const Sqlite::Api& engine = Sqlite::BindClientLibrary(library); // binding itself succeeds
        QCOMPARE(QByteArray(engine.sqlite3_libversion()), QByteArray("0.0.0-partial"));
        try {
            TSqlDatMod dataModule(library);
            QFAIL("opened a database without an open function");
        } catch (const ESqliteError& error) {
            QCOMPARE(QByteArray(error.what()), QByteArray("SQLite function is not linked"));
        }
    }
};

QTEST_GUILESS_MAIN(TestSqliteNotLinked)
#include "tst_sqlite_not_linked.moc"
