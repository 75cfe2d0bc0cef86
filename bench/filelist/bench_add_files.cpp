// Adding many files at once: the time per file (the media information of
// every file is read) and the longest time the interface thread went
// without handling its events meanwhile.
//   bench_add_files [files] [rounds]
#include "bench/batch/BenchProgram.h"
#include "app/FFmpegGUI.h"
#include "components/Dialogs.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>
#include <cstdio>

namespace {

// One short clip made by ffmpeg, copied under many names.
QStringList MakeSources(const QString& folder, int count)
{
    const QString first = folder + "/clip 0.mp4";
    QProcess ffmpeg;
    ffmpeg.start("ffmpeg", {"-v", "error", "-y", "-f", "lavfi", "-i", "testsrc=size=160x120:rate=25:duration=2",
                            "-f", "lavfi", "-i", "sine=duration=2", "-shortest", "-c:v", "libx264", "-c:a", "aac",
                            first});
    if (!ffmpeg.waitForFinished(60000) || ffmpeg.exitCode() != 0)
        throw std::runtime_error("ffmpeg could not make the clip");
    QStringList sources{first};
    for (int index = 1; index < count; ++index) {
        sources << QStringLiteral("%1/clip %2.mp4").arg(folder).arg(index);
        QFile::copy(first, sources.last());
    }
    return sources;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const int count = argc > 1 ? atoi(argv[1]) : 500;
    const int rounds = argc > 2 ? atoi(argv[2]) : 5;
    try {
        const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        BenchProgram program(ffmpeg);
        const QStringList sources = MakeSources(program.Folder(), count);
        DialogSeam::Enable([](const DialogSeam::Shown&) {});
        QList<double> perFileMs, longestGapMs;
        for (int round = 0; round < rounds; ++round) {
            program.Window()->FileListView->clear();
            // A timer due every 10 ms: the gaps between its ticks are the
            // times the window could not react.
            QElapsedTimer sinceTick;
            double longest = 0;
            QTimer ticker;
            QObject::connect(&ticker, &QTimer::timeout, [&] {
                longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
                sinceTick.restart();
            });
            ticker.start(10);
            QCoreApplication::processEvents();
            DialogSeam::AnswerNextFiles(sources);
            QElapsedTimer took;
            took.start();
            sinceTick.start();
            program.Window()->AddFileBtn->click();
            const double total = took.nsecsElapsed() / 1e6;
            longest = std::max(longest, sinceTick.nsecsElapsed() / 1e6);
            if (program.Window()->FileListView->topLevelItemCount() != count)
                throw std::runtime_error("not every file became a row");
            perFileMs << total / count;
            longestGapMs << longest;
            std::printf("round %d: %d files in %.0f ms, %.2f ms per file, longest gap %.0f ms\n", round + 1, count,
                        total, total / count, longest);
        }
        std::printf("median: %.2f ms per file, longest gap %.0f ms (%d files, %d rounds)\n", Median(perFileMs),
                    Median(longestGapMs), count, rounds);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
