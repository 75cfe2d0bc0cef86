// Ten generated clips converted through the window with the real ffmpeg,
// against the same ten ffmpeg commands run back to back without the
// program, alternating within one run so that both see the same machine.
//   bench_batch_ratio [rounds] [seconds per clip]
#include "BenchProgram.h"
#include "app/FFmpegGUI.h"
#include "process/ShellWords.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QProcess>
#include <QStandardPaths>
#include <cstdio>
#include <sys/resource.h>
#include <numeric>
#include <stdexcept>

namespace {

constexpr int ClipCount = 10;

double CpuSeconds(int who)
{
    rusage usage{};
    getrusage(who, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// CPU time used so far by this process itself, and by it together with its
// ended children (the converters). Unlike wall time on a shared machine,
// these do not swing with what else runs.
double OwnCpuSeconds() { return CpuSeconds(RUSAGE_SELF); }
double AllCpuSeconds() { return CpuSeconds(RUSAGE_SELF) + CpuSeconds(RUSAGE_CHILDREN); }

QString MakeClip(const QString& folder, int index, int seconds)
{
    const QString path = QStringLiteral("%1/clip %2.mp4").arg(folder).arg(index);
    QProcess ffmpeg;
    ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
    ffmpeg.start("ffmpeg", {"-v", "error", "-nostdin", "-y", "-f", "lavfi", "-i",
                            QStringLiteral("testsrc=size=320x240:rate=25"), "-f", "lavfi", "-i",
                            "sine=frequency=440:sample_rate=44100", "-t", QString::number(seconds), "-c:v",
                            "libx264", "-pix_fmt", "yuv420p", "-c:a", "aac", path});
    if (!ffmpeg.waitForFinished(120000) || ffmpeg.exitCode() != 0)
        throw std::runtime_error("cannot make a clip: " + ffmpeg.readAll().toStdString());
    return path;
}

// The converter runs with -n and the program never replaces a file: every
// run starts from an empty output folder, so that both write the same files.
void EmptyFolder(const QString& folder)
{
    QDir(folder).removeRecursively();
    QDir().mkpath(folder);
}

double RunDirectly(const QList<QByteArray>& commandLines)
{
    QElapsedTimer clock;
    clock.start();
    for (const QByteArray& commandLine : commandLines) {
        QList<QByteArray> words = SplitShellWords(commandLine);
        QStringList arguments;
        for (qsizetype i = 1; i < words.size(); ++i)
            arguments << QString::fromUtf8(words[i]);
        QProcess ffmpeg;
        ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
        ffmpeg.start(QString::fromUtf8(words[0]), arguments);
        // Its output is read and dropped, as the program reads it.
        while (!ffmpeg.waitForFinished(50))
            ffmpeg.readAll();
        if (ffmpeg.exitCode() != 0)
            throw std::runtime_error("the direct run failed");
    }
    return clock.nsecsElapsed() / 1e9;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const int rounds = argc > 1 ? std::atoi(argv[1]) : 8;
    const int seconds = argc > 2 ? std::atoi(argv[2]) : 5;
    try {
        BenchProgram program(QStandardPaths::findExecutable("ffmpeg"));
        const QString clips = program.Folder() + "/clips";
        QDir().mkpath(clips);
        QDir().mkpath(program.Folder() + "/out");
        program.Window()->JvEditDir->setText(program.Folder() + "/out");
        for (int index = 0; index < ClipCount; ++index)
            program.AddRow(MakeClip(clips, index, seconds), QStringLiteral("00:00:%1").arg(seconds, 2, 10, QChar('0')));

        program.RunBatch(); // warms the caches and records the ten commands
        const QList<QByteArray> commands = program.CommandLines;
        double windowCpu = 0, windowAllCpu = 0, directAllCpu = 0;
        const auto runWindow = [&] {
            QElapsedTimer clock;
            clock.start();
            EmptyFolder(program.Folder() + "/out");
            const double ownBefore = OwnCpuSeconds(), allBefore = AllCpuSeconds();
            program.RunBatch();
            windowCpu += OwnCpuSeconds() - ownBefore;
            windowAllCpu += AllCpuSeconds() - allBefore;
            return clock.nsecsElapsed() / 1e9;
        };
        const auto runDirect = [&] {
            EmptyFolder(program.Folder() + "/out");
            const double allBefore = AllCpuSeconds();
            const double seconds = RunDirectly(commands);
            directAllCpu += AllCpuSeconds() - allBefore;
            return seconds;
        };
        // Each round runs both, in turns of order, and gives one ratio.
        QList<double> window, direct, ratios;
        for (int round = 0; round < rounds; ++round) {
            if (round % 2 == 0) {
                window << runWindow();
                direct << runDirect();
            } else {
                direct << runDirect();
                window << runWindow();
            }
            ratios << window.last() / direct.last();
            std::printf("round %d: window %.3f s, direct %.3f s, ratio %.4f\n", round + 1, window.last(),
                        direct.last(), ratios.last());
        }
        std::printf("%d clips of %d s, %d rounds, platform %s\n", ClipCount, seconds, rounds,
                    qPrintable(QGuiApplication::platformName()));
        std::printf("window: median %.3f s, total %.3f s; direct: median %.3f s, total %.3f s\n", Median(window),
                    std::accumulate(window.begin(), window.end(), 0.0), Median(direct),
                    std::accumulate(direct.begin(), direct.end(), 0.0));
        std::printf("the program's own CPU time per window batch: %.3f s\n", windowCpu / rounds);
        std::printf("CPU time, program and converters, against the converters run directly: %.4f\n",
                    windowAllCpu / directAllCpu);
        std::printf("ratio: median of rounds %.4f, of totals %.4f\n", Median(ratios),
                    std::accumulate(window.begin(), window.end(), 0.0)
                        / std::accumulate(direct.begin(), direct.end(), 0.0));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
