// The delay from a progress line written by the converter to the Percent
// cell showing it: a stand-in converter stamps every line with the
// monotonic clock; the delay is taken when the window has handled the line.
//   bench_progress_latency [lines] [pace in microseconds]
#include "BenchProgram.h"
#include "app/FFmpegGUI.h"

#include <QApplication>
#include <QTreeWidget>
#include <cstdio>
#include <ctime>

namespace {

long long Now()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return now.tv_sec * 1000000000LL + now.tv_nsec;
}

long long Stamp(const QByteArray& line)
{
    const qsizetype at = line.indexOf("stamp=");
    return at < 0 ? -1 : line.mid(at + 6, line.indexOf(' ', at) - at - 6).toLongLong();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc > 1)
        qputenv("MOVARIN_PROGRESS_LINES", argv[1]);
    if (argc > 2)
        qputenv("MOVARIN_PROGRESS_PACE_US", argv[2]);
    try {
        BenchProgram program(QCoreApplication::applicationDirPath() + "/progress_writer");
        program.AddRow(program.Folder() + "/none.avi", "01:00:00");
        QTreeWidgetItem* row = program.Window()->FileListView->topLevelItem(0);
        QList<double> delays;
        QString shown;
        program.RunBatch([&](const QByteArray& line) {
            const long long handled = Now();
            if (row->text(4) == shown)
                return; // a report that did not change the cell
            shown = row->text(4);
            if (const long long stamp = Stamp(line); stamp > 0)
                delays << (handled - stamp) / 1e3;
        });
        std::printf("%lld progress lines, platform %s\n", qsizetype(delays.size()),
                    qPrintable(QGuiApplication::platformName()));
        std::printf("delay line written -> Percent cell updated: median %.0f us, 99th percentile %.0f us, max %.0f us\n",
                    Median(delays), Percentile(delays, 0.99), Percentile(delays, 1.0));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
