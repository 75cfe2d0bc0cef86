// One console program run to its end or its time limit, as the probe runs
// ffmpeg.
#include "converter/ToolRun.h"

#include "process/JvProcessError.h"

#include <QtTest>

using namespace std::chrono_literals;

class TestToolRun : public QObject {
    Q_OBJECT

private slots:
    void runs_data();
    void runs();
    void programThatIsNotThere();
};

void TestToolRun::runs_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<bool>("ended");
    QTest::addColumn<quint32>("exitCode");
    QTest::addColumn<QByteArray>("outputStart");
    QTest::addColumn<qsizetype>("outputSize");
    QTest::newRow("answers") << QByteArray("echo listed; echo warned >&2; exit 3") << true << 3u
                             << QByteArray("listed\nwarned\n") << qsizetype(14);
    QTest::newRow("reads no input") << QByteArray("cat; echo after") << true << 0u << QByteArray("after\n")
                                    << qsizetype(6);
    QTest::newRow("ended by a signal") << QByteArray("kill -TERM $$") << true << 143u << QByteArray() << qsizetype(0);
    // The first part is kept, the rest read and dropped: the program is
    // never left blocked on a full pipe.
    QTest::newRow("floods") << QByteArray("head -c 3000000 /dev/zero | tr '\\0' x") << true << 0u << QByteArray("xxx")
                            << MaxToolOutput;
    QTest::newRow("overruns") << QByteArray("echo started; sleep 30") << false << 0u << QByteArray("started\n")
                              << qsizetype(8);
}

void TestToolRun::runs()
{
    QFETCH(QByteArray, script);
    QFETCH(bool, ended);
    QFETCH(quint32, exitCode);
    QFETCH(QByteArray, outputStart);
    QFETCH(qsizetype, outputSize);
    const TToolRun run = RunTool({"/bin/sh", "-c", script}, 2000ms);
    QCOMPARE(run.ended, ended);
    QCOMPARE(run.exitCode, exitCode);
    QVERIFY2(run.output.startsWith(outputStart), run.output.left(100).constData());
    QCOMPARE(run.output.size(), outputSize);
}

void TestToolRun::programThatIsNotThere()
{
    try {
        RunTool({"/nonexistent/ffmpeg", "-encoders"}, 2000ms);
        QFAIL("ran a program that is not there");
    } catch (const EJvProcessError& error) {
        QVERIFY2(QByteArray(error.what()).contains("No such file or directory"), error.what());
    }
}

QTEST_APPLESS_MAIN(TestToolRun)
#include "tst_tool_run.moc"
