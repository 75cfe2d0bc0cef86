// Runs in a process of its own: the engine must not have been bound yet.
#include "ProgramFixture.h"
#include "app/Startup.h"

#include <QApplication>
#include <QtTest>

class TestStartupFailure : public QObject {
    Q_OBJECT
private slots:
    void missingEngineEndsStartupWithoutAWindow()
    {
        ProgramFixture fixture;
        int exitCode = 0;
        try {
            const auto program = CreateProgram("libsqlite3-absent.so.0");
            QFAIL("the program started without its database engine");
        } catch (const std::exception& error) {
            exitCode = ReportStartupError(error);
        }
        QCOMPARE(exitCode, 1);
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"Cannot load client DLL: libsqlite3-absent.so.0."});
        QCOMPARE(fixture.Shown.constFirst().title, QString("Movarin"));
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }
};

QTEST_MAIN(TestStartupFailure)
#include "tst_startup_failure.moc"
