// A child writes 64 MiB through the runner until OnTerminate: converter-like
// output, then text that never ends its line. Prints for each, from one run
// of this program:
//  - the time of that, as a ratio to `cat` of the same file through a pipe
//    into /dev/null (target: at most 2);
//  - the longest stall of the interface thread's event loop meanwhile, as
//    the lateness of a 1 ms timer (target: at most 16 ms).

#include "ConverterOutput.h"

#include "process/JvCreateProcess.h"
#include "process/ShellWords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <spawn.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <vector>

extern char** environ;

namespace {

constexpr qsizetype FloodSize = 64 * 1024 * 1024;
constexpr int Rounds = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

double SecondsOfShell(const QByteArray& script)
{
    const char* argv[] = {"/bin/sh", "-c", script.constData(), nullptr};
    QElapsedTimer clock;
    clock.start();
    pid_t pid;
    if (posix_spawn(&pid, "/bin/sh", nullptr, nullptr, const_cast<char**>(argv), environ) != 0)
        qFatal("cannot start /bin/sh");
    int status;
    waitpid(pid, &status, 0);
    return clock.nsecsElapsed() / 1e9;
}

struct TFloodRun {
    double seconds = 0;
    double longestStallMs = 0;
    qint64 endedLines = 0;
    qint64 discarded = 0;
};

TFloodRun RunThroughRunner(const QByteArray& commandLine)
{
    TFloodRun result;
    TJvCreateProcess runner;
    QEventLoop loop;
    QByteArray shownLine;
    runner.OnRead = [&](TJvCreateProcess*, const QByteArray& line, bool startsOnNewLine) {
        shownLine = line; // what the window does with a progress line
        result.endedLines += startsOnNewLine;
    };
    runner.OnTerminate = [&](TJvCreateProcess*, quint32) { loop.quit(); };

    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    ticker.setInterval(1);
    QElapsedTimer sinceTick;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        const double lateMs = sinceTick.nsecsElapsed() / 1e6 - 1.0;
        result.longestStallMs = std::max(result.longestStallMs, lateMs);
        sinceTick.restart();
    });

    QElapsedTimer clock;
    clock.start();
    runner.CommandLine = commandLine;
    runner.Start();
    sinceTick.start();
    ticker.start();
    loop.exec();
    result.seconds = clock.nsecsElapsed() / 1e9;
    result.discarded = runner.DiscardedOutputBytes();
    return result;
}

// Text without a single line end, as a child stuck writing a spinner or a
// binary stream would give.
QByteArray EndlessLine(qsizetype size)
{
    QByteArray text;
    text.reserve(size);
    for (int number = 0; text.size() < size; ++number)
        text += "chunk " + QByteArray::number(number) + ' ';
    text.truncate(size);
    return text;
}

void Measure(const char* title, const QByteArray& output, const QTemporaryDir& dir)
{
    const QByteArray path = dir.filePath("child-output.txt").toUtf8();
    const qint64 linesWritten = output.count('\n') + output.count('\r');
    {
        QFile file(QString::fromUtf8(path));
        if (!file.open(QIODevice::WriteOnly) || file.write(output) != output.size())
            qFatal("cannot write the flood file");
    }

    std::vector<double> catSeconds;
    std::vector<double> runnerSeconds;
    std::vector<double> stalls;
    std::vector<double> discarded;
    qint64 endedLines = 0;
    for (int round = 0; round < Rounds; ++round) {
        catSeconds.push_back(SecondsOfShell("cat " + QuoteShellWord(path) + " | cat > /dev/null"));
        const TFloodRun run = RunThroughRunner("cat " + QuoteShellWord(path));
        runnerSeconds.push_back(run.seconds);
        stalls.push_back(run.longestStallMs);
        endedLines = run.endedLines;
        discarded.push_back(double(run.discarded));
    }

    const double catMedian = Median(catSeconds);
    const double runnerMedian = Median(runnerSeconds);
    const double mebibytes = double(output.size()) / (1024 * 1024);
    std::printf("%s: %.0f MiB, median of %d rounds\n", title, mebibytes, Rounds);
    std::printf("  cat | cat > /dev/null : %8.1f ms\n", catMedian * 1e3);
    std::printf("  through the runner    : %8.1f ms (%.0f MiB/s)\n", runnerMedian * 1e3, mebibytes / runnerMedian);
    std::printf("  ratio runner / cat    : %8.2f   (target <= 2)\n", runnerMedian / catMedian);
    std::printf("  longest event-loop stall: median %.2f ms, worst %.2f ms   (target <= 16)\n", Median(stalls),
                *std::max_element(stalls.begin(), stalls.end()));
    std::printf("  output discarded because the interface fell behind: median %.1f%%, worst %.1f%%\n",
                Median(discarded) * 100.0 / output.size(),
                *std::max_element(discarded.begin(), discarded.end()) * 100.0 / output.size());
    std::printf("  lines started (LF or CR) in the output: %lld; reports starting a new line: %lld\n",
                static_cast<long long>(linesWritten), static_cast<long long>(endedLines));
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication application(argc, argv);
    QTemporaryDir dir;
    Measure("converter output", ConverterOutput(FloodSize), dir);
    Measure("no line end", EndlessLine(FloodSize), dir);
    return 0;
}
