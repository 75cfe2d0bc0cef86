// Time from process start until the main window is shown with its selectors
// filled, against a bare Qt program showing an empty window of the same size,
// both measured in the same run, alternating so that both see the same machine.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>

namespace {

double startOnce(const QString& probe, const QStringList& arguments, const QString& folder)
{
    QProcess process;
    process.setWorkingDirectory(folder);
    QElapsedTimer clock;
    clock.start();
    process.start(probe, arguments);
    process.waitForReadyRead(30000);
    const double milliseconds = clock.nsecsElapsed() / 1e6;
    const QByteArray said = process.readAll();
    process.waitForFinished(30000);
    if (!said.startsWith("shown")) {
        std::fprintf(stderr, "probe %s failed: %s\n", qPrintable(arguments.join(' ')), said.constData());
        std::exit(1);
    }
    return milliseconds;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    const QString probe = QCoreApplication::applicationDirPath() + "/startup_probe";
    QTemporaryDir folder;
    QFile::copy(MOVARIN_DEFAULT_DATABASE, folder.filePath("LibFFmpeg.Dat"));
    const int runs = argc > 1 ? std::atoi(argv[1]) : 20;

    QList<double> movarin, bare;
    startOnce(probe, {}, folder.path()); // warm the file cache for both
    startOnce(probe, {"bare"}, folder.path());
    for (int run = 0; run < runs; ++run) {
        movarin << startOnce(probe, {}, folder.path());
        bare << startOnce(probe, {"bare"}, folder.path());
    }
    const double ratio = median(movarin) / median(bare);
    std::printf("platform %s, %d runs each\n", qgetenv("QT_QPA_PLATFORM").constData(), runs);
    std::printf("movarin shown with selectors filled: median %.1f ms (min %.1f)\n", median(movarin),
                *std::min_element(movarin.begin(), movarin.end()));
    std::printf("bare Qt window of the same size:     median %.1f ms (min %.1f)\n", median(bare),
                *std::min_element(bare.begin(), bare.end()));
    std::printf("ratio: %.2f\n", ratio);
    return 0;
}
