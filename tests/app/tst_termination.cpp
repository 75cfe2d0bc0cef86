// The program ends its children with itself: a termination signal closes it
// like its close box (the converter gets "q", also when the batch was
// paused, the player "quit", the exit status is 0), and a program killed
// outright takes its children along.

#include "../player/ScriptedPlayer.h"
#include "ProcessState.h"
#include "tst_batch_support.h"

#include <QProcess>
#include <QtTest>

#include <csignal>

namespace {

// True once the process is gone; an ended process that its new parent has
// not yet waited for counts as gone.
bool Gone(const QByteArray& pid)
{
    QFile stat("/proc/" + pid.trimmed() + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype state = text.lastIndexOf(')') + 2;
    return state < text.size() && text[state] == 'Z';
}

class Probe {
public:
    explicit Probe(const QString& mode)
    {
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        m_process.start(QCoreApplication::applicationDirPath() + "/termination_probe", {mode});
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    void Signal(int signal) { QCOMPARE(::kill(pid_t(m_process.processId()), signal), 0); }
    bool Ended() { return m_process.state() == QProcess::NotRunning || m_process.waitForFinished(50); }
    QProcess& Process() { return m_process; }

private:
    QProcess m_process;
};

void AddSignalRows()
{
    QTest::addColumn<int>("signal");
    QTest::newRow("SIGTERM") << SIGTERM;
    QTest::newRow("SIGINT") << SIGINT;
    QTest::newRow("SIGHUP") << SIGHUP;
}

} // namespace

class TestTermination : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void signalStopsTheConverterAndEndsTheProgram_data()
    {
        QTest::addColumn<int>("signal");
        QTest::addColumn<QString>("mode");
        for (const auto& [name, signal] : {std::pair{"SIGTERM", SIGTERM}, {"SIGINT", SIGINT}, {"SIGHUP", SIGHUP}}) {
            QTest::newRow(name) << signal << "convert";
            QTest::addRow("%s, paused", name) << signal << "pause";
        }
    }
    void signalStopsTheConverterAndEndsTheProgram()
    {
        QFETCH(int, signal);
        QFETCH(QString, mode);
        ScriptedConverter converter;
        Probe probe(mode);
        QTRY_VERIFY_WITH_TIMEOUT(converter.Has("args.1"), 30000);
        const QByteArray pid = converter.Read("pid.1");
        if (mode == "pause")
            QTRY_VERIFY_WITH_TIMEOUT(GroupSuspended(pid.trimmed().toLongLong()), 10000);

        probe.Signal(signal);

        QTRY_VERIFY_WITH_TIMEOUT(probe.Ended(), 10000);
        QCOMPARE(probe.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.Process().exitCode(), 0);
        QCOMPARE(converter.Read("input.1"), QByteArray("q"));
        QVERIFY(Gone(pid));
    }

    void signalAsksThePlayerToQuit_data() { AddSignalRows(); }
    void signalAsksThePlayerToQuit()
    {
        QFETCH(int, signal);
        ScriptedPlayer player({}, ScriptedPlayer::Ending::QuitOnRequest);
        Probe probe("play");
        QTRY_VERIFY_WITH_TIMEOUT(player.Started(), 30000);

        probe.Signal(signal);

        QTRY_VERIFY_WITH_TIMEOUT(probe.Ended(), 10000);
        QCOMPARE(probe.Process().exitStatus(), QProcess::NormalExit);
        QCOMPARE(probe.Process().exitCode(), 0);
        QCOMPARE(player.Received(), QStringList{"quit"});
    }

    // No chance to clean up: the converter, which would go on until it
    // is told to stop, ends with the program all the same.
    void killedProgramTakesTheConverterAlong()
    {
        ScriptedConverter converter;
        converter.Put("ignore-q");
        Probe probe("convert");
        QTRY_VERIFY_WITH_TIMEOUT(converter.Has("args.1"), 30000);
        const QByteArray pid = converter.Read("pid.1");
        QVERIFY(!Gone(pid));

        probe.Signal(SIGKILL);

        QTRY_VERIFY_WITH_TIMEOUT(probe.Ended(), 10000);
        QElapsedTimer sinceKill;
        sinceKill.start();
        QTRY_VERIFY_WITH_TIMEOUT(Gone(pid), 1000);
        QVERIFY(sinceKill.elapsed() < 1000);
    }
};

QTEST_GUILESS_MAIN(TestTermination)
#include "tst_termination.moc"
