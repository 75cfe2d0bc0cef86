// Runs in a process of its own: once the engine is bound it stays bound.
#include "settings/DataModule.h"
#include "settings/SqliteError.h"

#include <QTemporaryDir>
#include <QtTest>

class TestSqliteAbsent : public QObject {
    Q_OBJECT
private slots:
    void missingLibraryStopsTheDataModule()
    {
        QTemporaryDir folder;
        QDir::setCurrent(folder.path());
        for (int attempt = 0; attempt < 2; ++attempt) { // a failed bind is tried again
            try {
                TSqlDatMod dataModule("libsqlite3-absent.so.0");
                QFAIL("the data module opened without an engine");
            } catch (const ESqliteError& error) {
                QCOMPARE(QByteArray(error.what()), QByteArray("Cannot load client DLL: libsqlite3-absent.so.0"));
            }
        }
        QVERIFY(!QFile::exists("LibFFmpeg.Dat"));
        TSqlDatMod working; // the real engine still binds afterwards
        QVERIFY(working.DataBase.Connected());
    }
};

QTEST_GUILESS_MAIN(TestSqliteAbsent)
#include "tst_sqlite_absent.moc"
