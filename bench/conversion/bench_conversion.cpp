// Conversion quality: the corpus (Corpus.cpp) converted by the
// real program with its default choices, and, when HandBrakeCLI is on PATH,
// by the peer with its "Fast 1080p30" preset, one clip at a time; per clip
// and in total: completed rows, output size against source size, SSIM of
// output against source, display-aspect error and wall time.
//   bench_conversion <corpus folder> [results folder]
// The corpus folder is filled with the clips that are missing; outputs go to
// <results folder>/movarin and <results folder>/handbrake (default: the
// corpus folder's name with "-results"), the peer's logs beside its outputs.
#include "Corpus.h"
#include "Measure.h"
#include "ProgramRun.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>

namespace {

const char* const PeerPreset = "Fast 1080p30";

struct Result {
    bool completed = false;
    QString why; // of a failure, or a completed row's warning
    QString output;
    ClipFacts facts;
    double sizeRatio = -1;
    double ssim = -1;
    double aspectError = -1;
    double seconds = -1;
    double cpuSeconds = -1; // of the converter: steadier than wall time on a shared machine
    qint64 bytes = 0;
};

struct Clip {
    CorpusClip corpus;
    ClipFacts facts;
    qint64 bytes = 0;
    Result ours, peer;
};

QString BaseName(const QString& path) { return QFileInfo(path).completeBaseName(); }

// Removes what an earlier run left for this clip, so that a missing output
// means this run wrote none.
void ClearOutputs(const QString& folder, const QString& base)
{
    QDir dir(folder);
    for (const QString& name : dir.entryList({base + ".mp4", base + " (*).mp4", base + ".log"}, QDir::Files))
        dir.remove(name);
}

void Measure(const Clip& clip, Result& result)
{
    if (!result.completed || !QFileInfo(result.output).isFile())
        return;
    result.bytes = QFileInfo(result.output).size();
    result.facts = Probe(result.output);
    result.sizeRatio = clip.bytes > 0 ? double(result.bytes) / clip.bytes : -1;
    result.aspectError = DisplayAspectErrorPercent(clip.facts, result.facts);
    QString failure;
    result.ssim = Ssim(clip.corpus.path, clip.facts, result.output, result.facts, &failure);
    if (result.ssim < 0)
        result.why += (result.why.isEmpty() ? "" : " | ") + QStringLiteral("no SSIM: ") + failure.simplified();
}

Result RunPeer(const QString& peer, const Clip& clip, const QString& folder)
{
    Result result;
    result.output = folder + "/" + BaseName(clip.corpus.path) + ".mp4";
    QProcess process;
    process.setStandardOutputFile(folder + "/" + BaseName(clip.corpus.path) + ".log");
    process.setStandardErrorFile(folder + "/" + BaseName(clip.corpus.path) + ".log", QIODevice::Append);
    process.setStandardInputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    const double cpuBefore = ChildrenCpuSeconds();
    process.start(peer, {"-i", clip.corpus.path, "-o", result.output, "--preset", PeerPreset});
    process.waitForFinished(-1);
    result.seconds = clock.nsecsElapsed() / 1e9;
    result.cpuSeconds = ChildrenCpuSeconds() - cpuBefore;
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    result.completed = exitCode == 0 && QFileInfo(result.output).size() > 0 && Probe(result.output).readable;
    if (!result.completed)
        result.why = QStringLiteral("exit code %1, see %2.log").arg(exitCode).arg(BaseName(clip.corpus.path));
    return result;
}

QString Figure(double value, int decimals, const char* unit = "")
{
    return value < 0 ? QStringLiteral("–") : QString::number(value, 'f', decimals) + unit;
}

QString Megabytes(qint64 bytes) { return QString::number(bytes / 1e6, 'f', 2); }

void Row(const QStringList& cells) { std::printf("| %s |\n", qPrintable(cells.join(" | "))); }

void Header(const QStringList& cells)
{
    Row(cells);
    QStringList rule;
    for (qsizetype i = 0; i < cells.size(); ++i)
        rule << "---";
    Row(rule);
}

struct Totals {
    int completed = 0;
    qint64 outputBytes = 0, sourceBytes = 0;
    double ssimSum = 0, ssimMin = 2, aspectMax = 0, seconds = 0, cpuSeconds = 0;
    int ssimCount = 0;
    double SizeRatio() const { return sourceBytes > 0 ? double(outputBytes) / sourceBytes : -1; }
    double SsimMean() const { return ssimCount > 0 ? ssimSum / ssimCount : -1; }
};

// Totals of one side over the clips for which include says yes.
template <typename Side, typename Include> Totals Sum(const QList<Clip>& clips, Side side, Include include)
{
    Totals totals;
    for (const Clip& clip : clips) {
        if (!include(clip))
            continue;
        const Result& result = side(clip);
        if (result.seconds > 0)
            totals.seconds += result.seconds;
        if (result.cpuSeconds > 0)
            totals.cpuSeconds += result.cpuSeconds;
        if (!result.completed)
            continue;
        ++totals.completed;
        totals.outputBytes += result.bytes;
        totals.sourceBytes += clip.bytes;
        if (result.ssim >= 0) {
            totals.ssimSum += result.ssim;
            totals.ssimMin = std::min(totals.ssimMin, result.ssim);
            ++totals.ssimCount;
        }
        totals.aspectMax = std::max(totals.aspectMax, result.aspectError);
    }
    if (totals.ssimCount == 0)
        totals.ssimMin = -1;
    return totals;
}

void PrintSide(const char* title, const QList<Clip>& clips, const Result Clip::*side)
{
    std::printf("\n### %s\n\n", title);
    Header({"clip", "result", "output picture", "size MB", "size / source", "SSIM", "DAR error", "wall s", "CPU s"});
    for (const Clip& clip : clips) {
        const Result& result = clip.*side;
        Row({BaseName(clip.corpus.path), result.completed ? "completed" : "**failed**", result.facts.Describe(),
             result.completed ? Megabytes(result.bytes) : "–", Figure(result.sizeRatio, 3), Figure(result.ssim, 4),
             Figure(result.aspectError, 2, " %"), Figure(result.seconds, 2), Figure(result.cpuSeconds, 2)});
    }
}

void PrintTotals(const char* name, const Totals& totals, int clipCount, double batchSeconds)
{
    std::printf("%s: %d of %d completed; output %s MB of source %s MB (ratio %s); SSIM mean %s, min %s; "
                "largest DAR error %s; wall time %s s, converters' CPU time %s s\n",
                name, totals.completed, clipCount, qPrintable(Megabytes(totals.outputBytes)),
                qPrintable(Megabytes(totals.sourceBytes)), qPrintable(Figure(totals.SizeRatio(), 3)),
                qPrintable(Figure(totals.SsimMean(), 4)), qPrintable(Figure(totals.ssimMin, 4)),
                qPrintable(Figure(totals.aspectMax, 2, " %")), qPrintable(Figure(batchSeconds, 1)),
                qPrintable(Figure(totals.cpuSeconds, 1)));
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_conversion <corpus folder> [results folder]\n");
        return 2;
    }
    try {
        const QString corpusFolder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
        const QString results
            = argc > 2 ? QDir(QString::fromLocal8Bit(argv[2])).absolutePath() : corpusFolder + "-results";
        const QString ours = results + "/movarin", theirs = results + "/handbrake";
        QDir().mkpath(ours);
        QDir().mkpath(theirs);

        std::fprintf(stderr, "corpus in %s\n", qPrintable(corpusFolder));
        QElapsedTimer generation;
        generation.start();
        QList<Clip> clips;
        for (const CorpusClip& corpusClip : MakeCorpus(corpusFolder)) {
            Clip clip;
            clip.corpus = corpusClip;
            clip.facts = Probe(corpusClip.path);
            clip.bytes = QFileInfo(corpusClip.path).size();
            ClearOutputs(ours, BaseName(corpusClip.path));
            ClearOutputs(theirs, BaseName(corpusClip.path));
            clips << clip;
        }
        std::fprintf(stderr, "%d clips ready after %.1f s\n", int(clips.size()), generation.nsecsElapsed() / 1e9);

        // Movarin: the whole corpus added at once, converted as one batch.
        double ourBatchSeconds = 0;
        int rowsAdded = 0;
        {
            ProgramRun program;
            QStringList paths;
            for (const Clip& clip : clips)
                paths << clip.corpus.path;
            rowsAdded = program.AddFiles(paths);
            std::fprintf(stderr, "%d rows added; converting with the default choices\n", rowsAdded);
            ourBatchSeconds = program.RunBatch(ours);
            for (const RowResult& row : program.Rows())
                for (Clip& clip : clips)
                    if (clip.corpus.path == row.source) {
                        clip.ours.completed = row.completed;
                        clip.ours.why = row.toolTip.simplified();
                        clip.ours.seconds = row.seconds;
                        clip.ours.cpuSeconds = row.cpuSeconds;
                        clip.ours.output = ours + "/" + BaseName(clip.corpus.path) + ".mp4";
                    }
        }

        const QString peer = QStandardPaths::findExecutable("HandBrakeCLI");
        double peerSeconds = 0;
        if (!peer.isEmpty()) {
            std::fprintf(stderr, "the peer: %s --preset \"%s\"\n", qPrintable(peer), PeerPreset);
            for (Clip& clip : clips) {
                clip.peer = RunPeer(peer, clip, theirs);
                peerSeconds += clip.peer.seconds;
                std::fprintf(stderr, "  %s %.1f s\n", qPrintable(BaseName(clip.corpus.path)), clip.peer.seconds);
            }
        }
        std::fprintf(stderr, "measuring\n");
        for (Clip& clip : clips) {
            Measure(clip, clip.ours);
            Measure(clip, clip.peer);
        }

        // ------------------------------------------------------------------
        std::printf("## Conversion benchmark\n\n");
        std::printf("Movarin with its default choices; ");
        if (peer.isEmpty())
            std::printf("HandBrakeCLI is not installed, so only Movarin's figures follow.\n");
        else
            std::printf("the peer is HandBrakeCLI --preset \"%s\", run on each clip in turn.\n", PeerPreset);
        std::printf("SSIM: ffmpeg's ssim filter (All), output scaled back to the source's frame size, "
                    "interlaced sources deinterlaced with bwdif, both at the source's frame rate.\n");
        std::printf("\n### Corpus (%d clips, %s MB)\n\n", int(clips.size()),
                    qPrintable(Megabytes(std::accumulate(clips.begin(), clips.end(), qint64(0),
                                                         [](qint64 sum, const Clip& c) { return sum + c.bytes; }))));
        Header({"clip", "picture", "audio", "subtitles", "size MB", "covers"});
        for (const Clip& clip : clips)
            Row({clip.corpus.name, clip.facts.videoCodec + " " + clip.facts.Describe(),
                 clip.facts.audioTracks.isEmpty() ? "none" : clip.facts.audioTracks.join(", "),
                 clip.facts.subtitleTracks.isEmpty() ? "none" : clip.facts.subtitleTracks.join(", "),
                 Megabytes(clip.bytes), clip.corpus.covers});

        PrintSide("Movarin, default choices", clips, &Clip::ours);
        if (!peer.isEmpty())
            PrintSide("HandBrakeCLI, Fast 1080p30", clips, &Clip::peer);

        std::printf("\n### Why rows failed or warned\n\n");
        bool anyWhy = false;
        for (const Clip& clip : clips) {
            if (!clip.ours.why.isEmpty()) {
                std::printf("- Movarin %s: %s\n", qPrintable(BaseName(clip.corpus.path)), qPrintable(clip.ours.why));
                anyWhy = true;
            }
            if (!clip.peer.why.isEmpty() && !peer.isEmpty()) {
                std::printf("- HandBrakeCLI %s: %s\n", qPrintable(BaseName(clip.corpus.path)),
                            qPrintable(clip.peer.why));
                anyWhy = true;
            }
        }
        if (!anyWhy)
            std::printf("none\n");

        const auto ourSide = [](const Clip& clip) -> const Result& { return clip.ours; };
        const auto peerSide = [](const Clip& clip) -> const Result& { return clip.peer; };
        const auto everyClip = [](const Clip&) { return true; };
        const Totals ourTotals = Sum(clips, ourSide, everyClip);
        std::printf("\n### Totals\n\n");
        std::printf("rows added: %d of %d\n", rowsAdded, int(clips.size()));
        PrintTotals("Movarin", ourTotals, int(clips.size()), ourBatchSeconds);
        if (peer.isEmpty())
            return 0;
        PrintTotals("HandBrakeCLI", Sum(clips, peerSide, everyClip), int(clips.size()), peerSeconds);

        std::printf("\n### Side by side (clips both completed)\n\n");
        Header({"clip", "size ours / peer", "SSIM ours − peer", "wall time ours / peer", "CPU time ours / peer"});
        const auto both = [](const Clip& clip) { return clip.ours.completed && clip.peer.completed; };
        for (const Clip& clip : clips) {
            if (!both(clip)) {
                Row({BaseName(clip.corpus.path), clip.ours.completed ? "peer failed" : "ours failed", "–", "–", "–"});
                continue;
            }
            const bool ssims = clip.ours.ssim >= 0 && clip.peer.ssim >= 0;
            Row({BaseName(clip.corpus.path), Figure(double(clip.ours.bytes) / clip.peer.bytes, 3),
                 ssims ? QString::asprintf("%+.4f", clip.ours.ssim - clip.peer.ssim) : "–",
                 Figure(clip.ours.seconds / clip.peer.seconds, 2),
                 Figure(clip.ours.cpuSeconds / clip.peer.cpuSeconds, 2)});
        }
        const Totals ourCommon = Sum(clips, ourSide, both), peerCommon = Sum(clips, peerSide, both);
        const double sizeRatio = peerCommon.outputBytes > 0 ? double(ourCommon.outputBytes) / peerCommon.outputBytes : -1;
        const double timeRatio = peerCommon.seconds > 0 ? ourCommon.seconds / peerCommon.seconds : -1;
        const double cpuRatio = peerCommon.cpuSeconds > 0 ? ourCommon.cpuSeconds / peerCommon.cpuSeconds : -1;
        std::printf("\nOn the %d clips both completed: size ours / peer %s; SSIM mean ours %s, peer %s "
                    "(difference %+.4f); min ours %s, peer %s; wall time ours / peer %s (per-row clocks), "
                    "CPU time %s\n",
                    ourCommon.completed, qPrintable(Figure(sizeRatio, 3)), qPrintable(Figure(ourCommon.SsimMean(), 4)),
                    qPrintable(Figure(peerCommon.SsimMean(), 4)), ourCommon.SsimMean() - peerCommon.SsimMean(),
                    qPrintable(Figure(ourCommon.ssimMin, 4)), qPrintable(Figure(peerCommon.ssimMin, 4)),
                    qPrintable(Figure(timeRatio, 2)), qPrintable(Figure(cpuRatio, 2)));
        std::printf("Whole runs: Movarin's batch %.1f s, the peer's %d runs %.1f s (ratio %.2f)\n", ourBatchSeconds,
                    int(clips.size()), peerSeconds, peerSeconds > 0 ? ourBatchSeconds / peerSeconds : -1.0);

        std::printf("\n### Targets\n\n");
        const auto verdict = [](bool holds) { return holds ? "holds" : "**fails**"; };
        const bool allComplete = rowsAdded == clips.size() && ourTotals.completed == clips.size();
        std::printf("- every clip can be added and completes: %s (%d added, %d completed of %d)\n", verdict(allComplete),
                    rowsAdded, ourTotals.completed, int(clips.size()));
        std::printf("- no display aspect changes by more than 1 %%: %s (largest %.2f %%)\n",
                    verdict(ourTotals.aspectMax <= 1.0), ourTotals.aspectMax);
        std::printf("- total size no larger than the peer's: %s (ratio %s on common clips)\n",
                    verdict(sizeRatio >= 0 && sizeRatio <= 1.0), qPrintable(Figure(sizeRatio, 3)));
        std::printf("- SSIM no lower than the peer's minus 0.005: %s (mean %+.4f on common clips)\n",
                    verdict(ourCommon.SsimMean() >= peerCommon.SsimMean() - 0.005),
                    ourCommon.SsimMean() - peerCommon.SsimMean());
        std::printf("- conversion no slower than the peer: %s (wall time ratio %s on common clips, %.2f whole runs; "
                    "CPU time ratio %s)\n",
                    verdict(timeRatio >= 0 && timeRatio <= 1.0 && ourBatchSeconds <= peerSeconds),
                    qPrintable(Figure(timeRatio, 2)), ourBatchSeconds / peerSeconds, qPrintable(Figure(cpuRatio, 2)));
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
