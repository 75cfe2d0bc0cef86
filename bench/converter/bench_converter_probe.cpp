// What learning the installed ffmpeg's abilities costs. Prints:
//  - cold cache: the interface thread's time inside Start, then the wall time
//    until the encoders and hardware trials are known and until the source
//    extensions are, for each number of runs at once given;
//  - warm cache: the interface thread's time inside Start when everything is
//    remembered (target: well under 1 ms), over many starts.
// Usage: bench_converter_probe [ffmpeg] [warm starts] [runs at once ...]
// Defaults: ffmpeg from PATH, 2000 starts, the probe's own choice of runs.
// The cache goes to a temporary folder; the user's own is not touched.

#include "converter/AbilitiesCache.h"
#include "converter/ConverterProbe.h"
#include "converter/InParallel.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

using namespace std::chrono_literals;

namespace {

// The catalogue's codec entries, and hardware entries as a catalogue would
// hold them.
const QStringList Catalogue = {
    "-c:v libx264 -pix_fmt yuv420p", "-c:v libx265 -pix_fmt yuv420p -tag:v hvc1", "-c:v mpeg4", "-c:v libsvtav1",
    "-c:v copy", "-c:a aac", "-c:a libmp3lame", "-c:a ac3", "-c:a libopus", "-c:a copy",
    "-vaapi_device /dev/dri/renderD128 -vf format=nv12,hwupload -c:v h264_vaapi", "-c:v h264_nvenc",
    "-c:v h264_qsv"};

double Percentile(std::vector<double> values, double share)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(share * double(values.size())))];
}

void ColdProbe(const QString& ffmpeg, int parallel)
{
    QFile::remove(DefaultAbilitiesFile());
    TConverterProbe probe;
    probe.SetLimits(5s, parallel);
    QElapsedTimer clock;
    double encodersKnownMs = -1;
    QObject::connect(&probe, &TConverterProbe::AbilitiesChanged, [&](const TConverterAbilities& abilities) {
        if (encodersKnownMs < 0 && abilities.encoders)
            encodersKnownMs = double(clock.nsecsElapsed()) / 1e6;
    });
    QString failure;
    QObject::connect(&probe, &TConverterProbe::ProbeFailed, [&](const QString& message) { failure = message; });
    clock.start();
    probe.Start(ffmpeg, Catalogue);
    const double startMs = double(clock.nsecsElapsed()) / 1e6;
    while (probe.IsProbing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const double allKnownMs = double(clock.nsecsElapsed()) / 1e6;
    if (!failure.isEmpty()) {
        std::printf("  probe failed: %s\n", qPrintable(failure));
        return;
    }
    const TConverterAbilities& abilities = probe.Abilities();
    int trialsWorked = 0;
    for (bool worked : abilities.trials)
        trialsWorked += worked ? 1 : 0;
    std::printf("cold cache, %d run(s) at once:\n", parallel);
    std::printf("  interface thread inside Start      : %9.3f ms\n", startMs);
    std::printf("  encoders and %d hardware trials     : %9.0f ms (%d worked)\n", int(abilities.trials.size()),
                encodersKnownMs, trialsWorked);
    std::printf("  source extensions too, remembered  : %9.0f ms\n", allKnownMs);
    std::printf("  %lld video, %lld audio encoders; %lld source extensions; cache file %lld bytes\n",
                abilities.encoders->video.size(), abilities.encoders->audio.size(),
                abilities.SourceExtensions().size(), QFileInfo(DefaultAbilitiesFile()).size());
}

void WarmStarts(const QString& ffmpeg, int starts)
{
    std::vector<double> microseconds;
    microseconds.reserve(size_t(starts));
    int probing = 0;
    for (int i = 0; i < starts; ++i) {
        TConverterProbe probe;
        QElapsedTimer clock;
        clock.start();
        probe.Start(ffmpeg, Catalogue);
        microseconds.push_back(double(clock.nsecsElapsed()) / 1e3);
        probing += probe.IsProbing() ? 1 : 0;
    }
    std::printf("warm cache, %d starts (each a new probe; %d started a worker):\n", starts, probing);
    std::printf("  interface thread inside Start: median %.1f us, 95th percentile %.1f us, worst %.1f us"
                "   (target well under 1000 us)\n",
                Percentile(microseconds, 0.5), Percentile(microseconds, 0.95), Percentile(microseconds, 1.0));
}

} // namespace

int main(int argc, char** argv)
{
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toUtf8());
    QCoreApplication application(argc, argv);
    const QStringList arguments = application.arguments();
    const QString ffmpeg = arguments.size() > 1 ? arguments[1] : QStandardPaths::findExecutable("ffmpeg");
    const int starts = arguments.size() > 2 ? arguments[2].toInt() : 2000;
    std::vector<int> parallels;
    for (qsizetype i = 3; i < arguments.size(); ++i)
        parallels.push_back(std::max(1, arguments[i].toInt()));
    if (parallels.empty())
        parallels.push_back(ProbeParallelism());
    if (ffmpeg.isEmpty() || starts < 1) {
        std::fprintf(stderr, "usage: bench_converter_probe [ffmpeg] [warm starts] [runs at once ...]\n");
        return 2;
    }
    std::printf("%s\n", qPrintable(QFileInfo(ffmpeg).canonicalFilePath()));
    for (int parallel : parallels)
        ColdProbe(ffmpeg, parallel);
    WarmStarts(ffmpeg, starts);
    return 0;
}
