#include "LineAssemblyCases.h"
#include "ProcessState.h"

#include "process/JvCreateProcess.h"
#include "process/JvReadThread.h"
#include "process/JvSpawn.h"
#include "process/ShellWords.h"

#include <QFile>
#include <QPointer>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/wait.h>

#include <memory>
#include <stdexcept>
#include <thread>

namespace {

QByteArray ShellCommand(const QByteArray& script)
{
    return "/bin/sh -c " + QuoteShellWord(script);
}

// What a runner reported during a test.
struct TEvents {
    QByteArrayList reads;
    QList<quint32> exitCodes;
    bool readAfterTerminate = false;
    // Runs after each read is recorded: a test's reaction to the output.
    std::function<void(TJvCreateProcess* sender, const QByteArray& line)> afterRead;

    void Attach(TJvCreateProcess& runner)
    {
        runner.OnRead = [this](TJvCreateProcess* sender, const QByteArray& line, bool startsOnNewLine) {
            readAfterTerminate = readAfterTerminate || !exitCodes.isEmpty();
            reads.append(Reported(line, startsOnNewLine));
            if (afterRead)
                afterRead(sender, line);
        };
        runner.OnTerminate = [this](TJvCreateProcess*, quint32 exitCode) { exitCodes.append(exitCode); };
    }

    // The console text as a consumer that keeps lines sees it.
    QByteArrayList KeptLines() const
    {
        QByteArrayList lines;
        for (const QByteArray& read : reads) {
            if (read.startsWith("T:"))
                lines.append(read.mid(2));
            else
                lines.last() = read.mid(2);
        }
        while (!lines.isEmpty() && lines.last().isEmpty())
            lines.removeLast();
        return lines;
    }

    // Output the child wrote before it was stopped may still be on its way
    // through the pipe and the reading thread; wait until none has come for
    // a while.
    void WaitUntilQuiet(int quietMs)
    {
        for (int waited = 0; waited < 10000;) {
            const qsizetype before = reads.size();
            QTest::qWait(quietMs);
            waited += quietMs;
            if (reads.size() == before)
                return;
        }
    }
};

bool IsZombieOrGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}

pid_t ReadPid(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? pid_t(file.readAll().trimmed().toInt()) : 0;
}

} // namespace

class TestJvCreateProcess : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void init();

    void lineAssemblyThroughAChild_data() { AddLineAssemblyRows(); }
    void lineAssemblyThroughAChild();
    void oneWriteIsDeliveredInPiecesOf1024();
    void standardErrorSharesTheStream();
    void childInheritsOnlyItsStandardStreams();
    void exitCode_data();
    void exitCode();
    void descendantHoldingTheOutputDelaysTheEnd();
    void startFromInsideOnTerminate();
    void startWhileWatchingLeavesTheRunAlone();
    void startFailure_data();
    void startFailure();
    void writeInputWhileIdle();
    void writeInputQueuesBytesUnchanged();
    void writeInputAfterTheChildClosedItsInput();
    void handlerErrorsGoToTheErrorDisplay();
    void destructionDetachesFromTheChild();
    void pauseHoldsTheWholeGroupUntilResumed();
    void pauseNeedsARunningChild();
    void destroyingAPausedRunnerLetsTheChildGoOn();
    void childOutlivesTheThreadThatStartedIt();
    void floodKeepsBufferedOutputBounded();

private:
    QTemporaryDir dir_;
    QList<QByteArray> displayedErrors_;
};

void TestJvCreateProcess::initTestCase()
{
    QVERIFY(dir_.isValid());
    TJvCreateProcess::SetErrorDisplay(
        [this](const std::exception& error) { displayedErrors_.append(error.what()); });
}

void TestJvCreateProcess::init()
{
    displayedErrors_.clear();
}

void TestJvCreateProcess::lineAssemblyThroughAChild()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(TPieceReports, expected);

    // The child writes each piece with one write and waits for a line on
    // its input before the next, so the runner sees exactly these pieces.
    QByteArray script;
    QList<qsizetype> reportsBeforeNextPiece;
    QByteArrayList expectedReads;
    for (qsizetype i = 0; i < pieces.size(); ++i) {
        const QString path = dir_.filePath(QStringLiteral("%1-piece-%2").arg(QTest::currentDataTag()).arg(i));
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(pieces[i]);
        file.close();
        if (i > 0)
            script += "read x; ";
        script += "cat " + QuoteShellWord(path.toUtf8()) + "; ";
        expectedReads += expected[i];
        reportsBeforeNextPiece.append(expectedReads.size());
    }
    if (!expectedReads.isEmpty() && expectedReads.last() != "F:" && expectedReads.last() != "T:")
        expectedReads.append("F:" + expectedReads.last().mid(2)); // the unfinished line once more
    script += "exit 0";

    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    events.afterRead = [&](TJvCreateProcess* sender, const QByteArray&) {
        if (reportsBeforeNextPiece.contains(events.reads.size()))
            sender->WriteInput("\n");
    };
    runner.CommandLine = ShellCommand(script);
    runner.Start();
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    QCOMPARE(events.reads, expectedReads);
}

void TestJvCreateProcess::oneWriteIsDeliveredInPiecesOf1024()
{
    const QByteArray line(1500, 'x');
    const QString path = dir_.filePath("long-line");
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(line + "\n");
    file.close();

    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = "cat " + QuoteShellWord(path.toUtf8());
    runner.Start();
    QTRY_COMPARE(events.exitCodes.size(), 1);
    QCOMPARE(events.reads, (QByteArrayList{T(line.left(1024)), F(line), T("")}));
}

void TestJvCreateProcess::standardErrorSharesTheStream()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = ShellCommand("echo out1; echo err1 >&2; echo out2; printf err2 >&2");
    runner.Start();
    QTRY_COMPARE(events.exitCodes.size(), 1);
    QCOMPARE(events.KeptLines(), (QByteArrayList{"out1", "err1", "out2", "err2"}));
}

void TestJvCreateProcess::childInheritsOnlyItsStandardStreams()
{
    // Another runner's pipes are open in this program meanwhile.
    TJvCreateProcess other;
    other.CommandLine = ShellCommand("read x");
    other.Start();

    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = "ls /proc/self/fd";
    runner.Start();
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    // 3 is the listing's own handle on the folder.
    QCOMPARE(events.KeptLines(), (QByteArrayList{"0", "1", "2", "3"}));
    QVERIFY(other.WriteInput("\n"));
}

void TestJvCreateProcess::exitCode_data()
{
    QTest::addColumn<QByteArray>("script");
    QTest::addColumn<quint32>("exitCode");
    QTest::newRow("success") << QByteArray("exit 0") << 0u;
    QTest::newRow("failure") << QByteArray("exit 3") << 3u;
    QTest::newRow("terminated by SIGTERM") << QByteArray("kill -TERM $$") << quint32(128 + SIGTERM);
    QTest::newRow("killed by SIGKILL") << QByteArray("kill -KILL $$") << quint32(128 + SIGKILL);
}

void TestJvCreateProcess::exitCode()
{
    QFETCH(QByteArray, script);
    QFETCH(quint32, exitCode);
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = ShellCommand(script);
    runner.Start();
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Watching);
    QTRY_COMPARE(events.exitCodes, QList<quint32>{exitCode});
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Idle);
    QVERIFY(events.reads.isEmpty());
}

void TestJvCreateProcess::descendantHoldingTheOutputDelaysTheEnd()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    // The shell ends at once; its background child keeps the output pipe.
    runner.CommandLine = ShellCommand("(sleep 1; echo late) & echo early; exit 4");
    runner.Start();
    QTRY_COMPARE_WITH_TIMEOUT(events.exitCodes, QList<quint32>{4}, 10000);
    QCOMPARE(events.KeptLines(), (QByteArrayList{"early", "late"}));
    QVERIFY(!events.readAfterTerminate);
}

void TestJvCreateProcess::startFromInsideOnTerminate()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.OnTerminate = [&](TJvCreateProcess* sender, quint32 exitCode) {
        events.exitCodes.append(exitCode);
        if (events.exitCodes.size() == 1) {
            QCOMPARE(sender->State(), TJvCreateProcess::TState::Idle);
            sender->CommandLine = ShellCommand("echo two; exit 5");
            sender->Start();
        }
    };
    runner.CommandLine = ShellCommand("echo one");
    runner.Start();
    QTRY_COMPARE(events.exitCodes, (QList<quint32>{0, 5}));
    QCOMPARE(events.reads, (QByteArrayList{T("one"), T(""), T("two"), T("")}));
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Idle);
}

void TestJvCreateProcess::startWhileWatchingLeavesTheRunAlone()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = ShellCommand("read x; echo got $x");
    runner.Start();
    runner.CommandLine = ShellCommand("echo intruder");
    try {
        runner.Start();
        QFAIL("Start while watching must fail");
    } catch (const EJvProcessError& error) {
        QCOMPARE(QByteArray(error.what()), QByteArray("Cannot perform this operation when process is running"));
    }
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Watching);
    QVERIFY(runner.WriteInput("it\n"));
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    QCOMPARE(events.KeptLines(), QByteArrayList{"got it"});
}

void TestJvCreateProcess::startFailure_data()
{
    QTest::addColumn<QByteArray>("commandLine");
    QTest::addColumn<QByteArray>("message");

    // The system's text, then the program as the command line names it.
    const QByteArray missing = "System Error.  Code: 2.\nNo such file or directory";
    QTest::newRow("missing path") << QByteArray("/nonexistent/movarin-test-program -y")
                                  << missing + "\nProgram: \"/nonexistent/movarin-test-program\"";
    QTest::newRow("missing on PATH") << QByteArray("movarin-test-no-such-program")
                                     << missing + "\nProgram: \"movarin-test-no-such-program\"";
    QTest::newRow("empty command line") << QByteArray(" ") << missing;

    const QString notExecutable = dir_.filePath("not executable");
    QFile file(notExecutable);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("#!/bin/sh\necho never\n");
    file.close();
    QTest::newRow("not executable") << QuoteShellWord(notExecutable.toUtf8())
                                    << "System Error.  Code: 13.\nPermission denied\nProgram: \"" + notExecutable.toUtf8() + '"';
}

void TestJvCreateProcess::startFailure()
{
    QFETCH(QByteArray, commandLine);
    QFETCH(QByteArray, message);
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = commandLine;
    try {
        runner.Start();
        QFAIL("Start must fail");
    } catch (const EJvProcessError& error) {
        QCOMPARE(QByteArray(error.what()), message);
    }
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Idle);
    QVERIFY(!runner.WriteInput("q"));
    QTest::qWait(200);
    QVERIFY(events.reads.isEmpty());
    QVERIFY(events.exitCodes.isEmpty());

    // The runner is usable again.
    runner.CommandLine = "true";
    runner.Start();
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
}

void TestJvCreateProcess::writeInputWhileIdle()
{
    TJvCreateProcess runner;
    QVERIFY(!runner.WriteInput(""));
    QVERIFY(!runner.WriteInput("q"));

    TEvents events;
    events.Attach(runner);
    runner.CommandLine = "true";
    runner.Start();
    QTRY_COMPARE(events.exitCodes.size(), 1);
    QVERIFY(!runner.WriteInput(""));
    QVERIFY(!runner.WriteInput("q"));
}

void TestJvCreateProcess::writeInputQueuesBytesUnchanged()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    // One read of whatever arrives first, shown byte by byte in hex.
    runner.CommandLine = ShellCommand("dd bs=4096 count=1 2>/dev/null | od -An -tx1");
    runner.Start();
    QVERIFY(runner.WriteInput(""));
    QVERIFY(!runner.WriteInput(QByteArray(1025, 'x')));
    QVERIFY(runner.WriteInput("q"));
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    QCOMPARE(events.KeptLines(), QByteArrayList{" 71"});
}

void TestJvCreateProcess::writeInputAfterTheChildClosedItsInput()
{
    const QString stopFile = dir_.filePath("stop-after-closed-input");
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    // The loop also ends when the test's folder is gone, so a failed test leaves nothing running.
    runner.CommandLine = ShellCommand("exec 0<&-; echo closed; while [ ! -e " + QuoteShellWord(stopFile.toUtf8()) +
                                      " ] && [ -d " + QuoteShellWord(dir_.path().toUtf8()) + " ]; do sleep 0.05; done");
    runner.Start();
    QTRY_COMPARE(events.KeptLines(), QByteArrayList{"closed"});
    // The first writes may still be queued; once the watcher has met the
    // closed pipe every later one is refused, and the program lives on.
    QTRY_VERIFY(!runner.WriteInput("x"));
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Watching);
    QVERIFY(!runner.WriteInput(QByteArray(1000, 'y')));
    QVERIFY(runner.WriteInput(""));

    QFile(stopFile).open(QIODevice::WriteOnly);
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
}

void TestJvCreateProcess::handlerErrorsGoToTheErrorDisplay()
{
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    events.afterRead = [&](TJvCreateProcess* sender, const QByteArray& line) {
        if (line == "a") {
            sender->WriteInput("\n"); // let the child write its second piece
            throw std::runtime_error("read handler failed");
        }
    };
    runner.OnTerminate = [&](TJvCreateProcess*, quint32 exitCode) {
        events.exitCodes.append(exitCode);
        throw std::runtime_error("terminate handler failed");
    };
    runner.CommandLine = ShellCommand("printf 'a\\nlost'; read x; printf 'c\\n'");
    runner.Start();
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    // The rest of the failed piece is lost; the next piece starts a fresh line.
    QCOMPARE(events.reads, (QByteArrayList{T("a"), T("c"), T("")}));
    QCOMPARE(displayedErrors_, (QByteArrayList{"read handler failed", "terminate handler failed"}));
    QCOMPARE(runner.State(), TJvCreateProcess::TState::Idle);
}

void TestJvCreateProcess::destructionDetachesFromTheChild()
{
    const QByteArray pidFile = dir_.filePath("detached.pid").toUtf8();
    const QByteArray eofFile = dir_.filePath("detached.eof").toUtf8();
    const QByteArray stopFile = dir_.filePath("detached.stop").toUtf8();
    const QByteArray doneFile = dir_.filePath("detached.done").toUtf8();

    auto runner = std::make_unique<TJvCreateProcess>();
    TEvents events;
    events.Attach(*runner);
    runner->CommandLine = ShellCommand("echo $$ > " + QuoteShellWord(pidFile) + "; echo started; cat >/dev/null; touch " +
                                       QuoteShellWord(eofFile) + "; while [ ! -e " + QuoteShellWord(stopFile) + " ] && [ -d " +
                                       QuoteShellWord(dir_.path().toUtf8()) + " ]; do sleep 0.05; done; touch " +
                                       QuoteShellWord(doneFile));
    runner->Start();
    QTRY_COMPARE(events.KeptLines(), QByteArrayList{"started"});
    QFile pidText(QString::fromUtf8(pidFile));
    QVERIFY(pidText.open(QIODevice::ReadOnly));
    const pid_t pid = pidText.readAll().trimmed().toInt();
    QVERIFY(pid > 0);
    const qsizetype readsBefore = events.reads.size();

    runner.reset();

    // The child sees the end of its input and goes on running.
    QTRY_VERIFY(QFile::exists(QString::fromUtf8(eofFile)));
    QVERIFY(!IsZombieOrGone(pid));
    QFile(QString::fromUtf8(stopFile)).open(QIODevice::WriteOnly);
    QTRY_VERIFY(QFile::exists(QString::fromUtf8(doneFile)));
    // Reaped once it ends, and nothing was reported after the detach.
    QTRY_VERIFY(!QFile::exists(QStringLiteral("/proc/%1").arg(pid)));
    QCOMPARE(events.reads.size(), readsBefore);
    QVERIFY(events.exitCodes.isEmpty());
}

// The child and the helper it started both stand still while paused; once
// resumed they go on where they were and nothing of the output is lost.
// Input written meanwhile waits for them.
void TestJvCreateProcess::pauseHoldsTheWholeGroupUntilResumed()
{
    const QString pidFile = dir_.filePath("paused.pid");
    const QString helperFile = dir_.filePath("paused.helper");
    TJvCreateProcess runner;
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = ShellCommand("echo $$ > " + QuoteShellWord(pidFile.toUtf8()) + "; sleep 30 & echo $! > "
                                      + QuoteShellWord(helperFile.toUtf8())
                                      + "; i=0; while [ $i -lt 30 ]; do echo $i; i=$((i+1)); sleep 0.02; done;"
                                        " read answer; echo \"answer $answer\"; kill $!");
    runner.Start();
    QTRY_VERIFY(events.KeptLines().size() >= 3);
    const pid_t child = ReadPid(pidFile);
    QTRY_VERIFY(ReadPid(helperFile) > 0);
    const pid_t helper = ReadPid(helperFile);

    QVERIFY(runner.Pause());
    QVERIFY(runner.Paused());
    // The shell may be caught while it waits for a command it has just
    // started: GroupSuspended counts that as standing still.
    QTRY_VERIFY(GroupSuspended(child));
    QCOMPARE(ProcessState(helper), 'T');
    QVERIFY(runner.WriteInput("q\n"));
    events.WaitUntilQuiet(150);
    const qsizetype readsWhenPaused = events.reads.size();
    QTest::qWait(300);
    QCOMPARE(events.reads.size(), readsWhenPaused);
    QVERIFY(GroupSuspended(child));

    QVERIFY(runner.Resume());
    QVERIFY(!runner.Paused());
    QVERIFY(ProcessState(child) != 'T');
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    QByteArrayList expected;
    for (int number = 0; number < 30; ++number)
        expected << QByteArray::number(number);
    expected << "answer q";
    QCOMPARE(events.KeptLines(), expected);
}

void TestJvCreateProcess::pauseNeedsARunningChild()
{
    TJvCreateProcess runner;
    QVERIFY(!runner.Pause());
    QVERIFY(!runner.Resume());
    TEvents events;
    events.Attach(runner);
    runner.CommandLine = ShellCommand("exit 0");
    runner.Start();
    QTRY_COMPARE(events.exitCodes, QList<quint32>{0});
    QVERIFY(!runner.Pause());
    QVERIFY(!runner.Paused());
}

// A runner that lets go of a paused child lets it go on as well, or it
// would stand still for nobody until the program ends.
void TestJvCreateProcess::destroyingAPausedRunnerLetsTheChildGoOn()
{
    const QString doneFile = dir_.filePath("released.done");
    auto runner = std::make_unique<TJvCreateProcess>();
    TEvents events;
    events.Attach(*runner);
    runner->CommandLine = ShellCommand("echo started; sleep 0.2; touch " + QuoteShellWord(doneFile.toUtf8()));
    runner->Start();
    QTRY_COMPARE(events.KeptLines(), QByteArrayList{"started"});
    QVERIFY(runner->Pause());
    runner.reset();
    QTRY_VERIFY(QFile::exists(doneFile));
}

// A child ends with the program, but not with the thread that asked for it.
void TestJvCreateProcess::childOutlivesTheThreadThatStartedIt()
{
    const QByteArray stopFile = dir_.filePath("outlives.stop").toUtf8();
    TJvChild child;
    std::thread([&] {
        child = SpawnJvChild(SplitShellWords(ShellCommand("while [ ! -e " + QuoteShellWord(stopFile) + " ] && [ -d "
                                                          + QuoteShellWord(dir_.path().toUtf8()) + " ]; do sleep 0.05; done")));
    }).join();
    QVERIFY(child.pid > 0);
    QTest::qWait(300);
    QVERIFY(!IsZombieOrGone(child.pid));

    QFile(QString::fromUtf8(stopFile)).open(QIODevice::WriteOnly);
    int status = -1;
    QCOMPARE(::waitpid(child.pid, &status, 0), child.pid);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
}

void TestJvCreateProcess::floodKeepsBufferedOutputBounded()
{
    TJvCreateProcess runner;
    qsizetype largestCapacity = 0;
    qint64 startedLines = 0;
    qint64 reports = 0;
    QList<quint32> exitCodes;
    bool readAfterTerminate = false;
    runner.OnRead = [&](TJvCreateProcess* sender, const QByteArray&, bool startsOnNewLine) {
        readAfterTerminate = readAfterTerminate || !exitCodes.isEmpty();
        largestCapacity = std::max(largestCapacity, sender->UndeliveredOutputCapacity());
        startedLines += startsOnNewLine;
        // One stall far longer than the reader waits for a full buffer to
        // drain: the waiting output has to go.
        if (++reports == 1)
            std::this_thread::sleep_for(10 * TJvReadThread::DiscardGrace);
    };
    runner.OnTerminate = [&](TJvCreateProcess*, quint32 exitCode) { exitCodes.append(exitCode); };
    const QByteArray line = "frame=  100 fps= 25 q=28.0 size=    1024kB time=00:00:04.00";
    const qint64 floodSize = 64 * 1024 * 1024;
    runner.CommandLine = ShellCommand("yes " + QuoteShellWord(line) + " | head -c " + QByteArray::number(floodSize));
    runner.Start();
    QTRY_COMPARE_WITH_TIMEOUT(exitCodes, QList<quint32>{0}, 120000);
    QVERIFY(!readAfterTerminate);
    QVERIFY(reports > 0);
    QVERIFY2(largestCapacity > 0 && largestCapacity <= 131072, QByteArray::number(largestCapacity));
    QVERIFY(runner.DiscardedOutputBytes() > 0);
    QVERIFY(startedLines < floodSize / (line.size() + 1));
}

QTEST_GUILESS_MAIN(TestJvCreateProcess)
#include "tst_jvcreateprocess.moc"
