// Keeping the list file of a long batch:
//  - one list of many rows saved again and again, as each row's start and
//    end makes it: the time from the change to the file being on disk
//    (written, synced, renamed), the part of it spent making the JSON, and
//    what the interface thread itself spends on each save;
//  - a batch through the real window over the rows of such a list that are
//    left, each start and end saving the whole list: the longest stall of
//    the event loop meanwhile, as the lateness of a 1 ms timer (target: at
//    most 16 ms), with the press of Convert that starts it apart.
//   bench_list_save [rows] [saves] [rows converted]
#include "bench/batch/BenchProgram.h"
#include "app/FFmpegGUI.h"
#include "batch/BatchListFile.h"
#include "batch/BatchListKeeper.h"
#include "batch/BatchRows.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <cstdio>
#include <ctime>

namespace {

// Rows as a real list has them: long paths, facts, finished tool tips.
QList<TBatchRow> MakeRows(int count, int left, const QString& videos = QStringLiteral("/home/someone/Videos"))
{
    QList<TBatchRow> rows;
    rows.reserve(count);
    for (int index = 0; index < count; ++index) {
        TBatchRow row;
        row.source = QStringLiteral("%1/Holidays 2023/Camera %2/clip number %3.avi")
                         .arg(videos)
                         .arg(index % 7)
                         .arg(index);
        row.type = "avi";
        row.size = "312.45 MB";
        row.playingTime = "00:12:34";
        const bool done = index < count - left;
        row.state = done ? TRowState::Completed : TRowState::Waiting;
        row.percent = done ? 100 : 0;
        row.output = done ? QStringLiteral("%1/Movarin/clip number %2.mp4").arg(videos).arg(index) : QString();
        if (done && index % 10 == 0) {
            row.warning = true;
            row.toolTip = "The output plays 12:30, the source 12:34.";
            row.notes = {"Sound: 5.1 made stereo."};
        }
        rows << row;
    }
    return rows;
}

struct TSaveFigures {
    QList<double> savedMs;      // change to file on disk
    QList<double> jsonMs;       // making the JSON alone
    QList<double> interfaceMs;  // the interface thread's share
    qint64 bytes = 0;
};

TSaveFigures MeasureSaves(int rowCount, int saves, const QString& folder)
{
    TSaveFigures figures;
    TBatchRows rows;
    rows.Restore(MakeRows(rowCount, rowCount / 2));
    TBatchListKeeper keeper(folder + '/' + BatchListFileName);
    keeper.Follow(&rows);
    if (!keeper.TakeLock())
        throw std::runtime_error("the list file is locked");
    for (int save = 0; save < saves; ++save) {
        QElapsedTimer clock;
        clock.start();
        QElapsedTimer onInterface;
        onInterface.start();
        // A row ends: the model changes (sharing the rows with the last
        // save, it copies them first) and the save is handed over.
        const int row = rowCount / 2 + save % (rowCount / 2);
        rows.Start(row);
        rows.Finish(row, TRowOutcome{TRowOutcome::TKind::Completed, {}, std::nullopt, false});
        QEventLoop loop;
        keeper.WhenKept([&] { loop.quit(); });
        figures.interfaceMs << onInterface.nsecsElapsed() / 1e6;
        loop.exec();
        figures.savedMs << clock.nsecsElapsed() / 1e6;

        QElapsedTimer json;
        json.start();
        figures.bytes = BatchListJson(rows.All()).size();
        figures.jsonMs << json.nsecsElapsed() / 1e6;
    }
    return figures;
}

// The sources the rows name, empty: a restored row whose source has gone
// counts as failed and is not converted again.
void CreateSources(const QList<TBatchRow>& rows)
{
    for (const TBatchRow& row : rows) {
        QDir().mkpath(QFileInfo(row.source).path());
        QFile source(row.source);
        if (!source.open(QIODevice::WriteOnly))
            throw std::runtime_error("cannot create a source file");
    }
}

double ThreadCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

// The lateness of a 1 ms timer on the interface thread, and how much of each
// late stretch that thread itself ran: a stretch in which it hardly ran was
// the machine's scheduling, not the program's work. The first stretch after
// Start is the press of Convert, which runs before the batch's event loop.
struct TStallWatch {
    struct TStretch {
        double wallMs = 0;
        double cpuMs = 0;
    };
    TStretch press, longest, busiest;
    QElapsedTimer sinceTick;
    double cpuAtTick = 0;
    bool pressed = false;

    void Start()
    {
        sinceTick.start();
        cpuAtTick = ThreadCpuMs();
    }
    void Tick()
    {
        const double cpuNow = ThreadCpuMs();
        const TStretch stretch{sinceTick.nsecsElapsed() / 1e6 - 1.0, cpuNow - cpuAtTick};
        sinceTick.restart();
        cpuAtTick = cpuNow;
        if (!pressed) {
            press = stretch;
            pressed = true;
            return;
        }
        if (stretch.wallMs > longest.wallMs)
            longest = stretch;
        if (stretch.cpuMs > busiest.cpuMs)
            busiest = stretch;
    }
};

// The converter: one progress line, then it ends at once. Its rows fail for
// want of an output, which changes nothing for the list.
QString WriteConverter(const QString& folder)
{
    const QString path = folder + "/quick-converter";
    QFile script(path);
    if (!script.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write the converter");
    script.write("#!/bin/sh\nprintf 'frame=    1 fps=25 q=2.0 size=  1kB time=00:00:01.00 bitrate=1kbits/s speed=1x\\r'\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    const int rowCount = argc > 1 ? atoi(argv[1]) : 10000;
    const int saves = argc > 2 ? atoi(argv[2]) : 50;
    const int converted = argc > 3 ? atoi(argv[3]) : 100;
    try {
        // On the disk of the current folder, not a memory file system.
        QTemporaryDir folder(QDir::currentPath() + "/bench_list_save-XXXXXX");
        const TSaveFigures figures = MeasureSaves(rowCount, saves, folder.path());
        std::printf("saving a list of %d rows (%.1f MiB), %d saves:\n", rowCount, figures.bytes / 1048576.0, saves);
        std::printf("  change to file on disk : median %.1f ms, max %.1f ms\n", Median(figures.savedMs),
                    Percentile(figures.savedMs, 1.0));
        std::printf("  of which the JSON      : median %.1f ms\n", Median(figures.jsonMs));
        std::printf("  on the interface thread: median %.2f ms, max %.2f ms\n", Median(figures.interfaceMs),
                    Percentile(figures.interfaceMs, 1.0));

        // The rows come back the way they do at a start after an earlier
        // run: from the list file, without asking the information library.
        const QList<TBatchRow> kept = MakeRows(rowCount, converted, folder.filePath("Videos"));
        CreateSources(kept);
        BenchProgram program(WriteConverter(folder.path()), BenchProgram::TAbilities::Unknown, BatchListJson(kept));
        if (program.Window()->BatchRows->Count() != rowCount)
            throw std::runtime_error("the list file did not come back");
        TStallWatch stalls;
        QTimer ticker;
        ticker.setTimerType(Qt::PreciseTimer);
        ticker.setInterval(1);
        QObject::connect(&ticker, &QTimer::timeout, [&] { stalls.Tick(); });
        // What the window does once after its start (learning what the
        // converter can do) is no part of a batch.
        QEventLoop settle;
        QTimer::singleShot(3000, &settle, &QEventLoop::quit);
        settle.exec();
        QElapsedTimer batch;
        batch.start();
        stalls.Start();
        ticker.start();
        program.RunBatch();
        ticker.stop();
        std::printf("a batch of the %d rows left of %d (%d saves of the whole list) in %.1f s, platform %s:\n",
                    converted, rowCount, 2 * converted, batch.nsecsElapsed() / 1e9,
                    qPrintable(QGuiApplication::platformName()));
        std::printf("  pressing Convert (the first row marked as started and a repaint of the list): %.2f ms\n",
                    stalls.press.wallMs);
        std::printf("  longest event-loop stall while the batch runs: %.2f ms   (target <= 16),\n"
                    "    of which the interface thread ran %.2f ms\n",
                    stalls.longest.wallMs, stalls.longest.cpuMs);
        std::printf("  most the interface thread ran between two ticks: %.2f ms\n", stalls.busiest.cpuMs);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
