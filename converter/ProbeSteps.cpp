#include "converter/ProbeSteps.h"

#include "converter/CodecFragment.h"
#include "converter/ConverterBuild.h"
#include "converter/ConverterError.h"
#include "converter/InParallel.h"
#include "converter/SourceExtensions.h"
#include "converter/ToolRun.h"

#include "process/ShellWords.h"

#include <QFile>

#include <vector>

namespace {

QByteArray ProgramArgument(const QString& ffmpeg)
{
    return QFile::encodeName(ffmpeg);
}

// Why a run that should have answered did not, in the user's words.
QString FailureReason(const TToolRun& run, const TProbeOptions& options)
{
    if (!run.ended)
        return QStringLiteral("no answer within %1 s").arg(double(options.perRun.count()) / 1000.0);
    QByteArrayList lines = run.output.trimmed().split('\n');
    const QString lastWords = QString::fromUtf8(lines.last().trimmed());
    return lastWords.isEmpty() ? QStringLiteral("exit code %1").arg(run.exitCode)
                               : QStringLiteral("exit code %1, %2").arg(run.exitCode).arg(lastWords);
}

// One run whose answer the probe cannot do without.
QByteArray Ask(const QString& ffmpeg, const QByteArray& option, const TProbeOptions& options)
{
    const TToolRun run = RunTool({ProgramArgument(ffmpeg), "-hide_banner", option}, options.perRun);
    if (!run.Succeeded())
        throw EConverterError(QStringLiteral("The converter %1 did not answer %2: %3")
                                  .arg(ffmpeg, QString::fromUtf8(option), FailureReason(run, options))
                                  .toStdString());
    return run.output;
}

} // namespace

QStringList ProbeLibraries(const QString& ffmpeg, const TProbeOptions& options)
{
    // What ldd does, without a shell script in between.
    const TToolRun run =
        RunTool({"/usr/bin/env", "LD_TRACE_LOADED_OBJECTS=1", ProgramArgument(ffmpeg)}, options.perRun);
    return FFmpegLibrariesIn(run.output);
}

TEncoderList ProbeEncoders(const QString& ffmpeg, const TProbeOptions& options)
{
    const TEncoderList encoders = ParseEncoderList(Ask(ffmpeg, "-encoders", options));
    if (encoders.IsEmpty())
        throw EConverterError(
            QStringLiteral("The converter %1 listed no encoders when asked -encoders.").arg(ffmpeg).toStdString());
    return encoders;
}

QList<QByteArray> TrialArguments(const QString& ffmpeg, const QString& fragment)
{
    QList<QByteArray> arguments = {ProgramArgument(ffmpeg), "-hide_banner", "-nostdin", "-loglevel", "error",
                                   "-f", "lavfi", "-i", "color=c=gray:size=320x240:rate=25", "-frames:v", "1"};
    arguments += SplitShellWords(fragment.toUtf8());
    arguments += {"-f", "null", "-"};
    return arguments;
}

QHash<QString, bool> TryHardwareEntries(const QString& ffmpeg, const QStringList& fragments,
                                        const TProbeOptions& options)
{
    // One element per thread to write: no lock, and no bit packing as in
    // std::vector<bool>.
    std::vector<char> worked(size_t(fragments.size()), false);
    ForEachInParallel(fragments.size(), options.parallel, [&](qsizetype i) {
        if (options.abandoned())
            return;
        worked[size_t(i)] = RunTool(TrialArguments(ffmpeg, fragments[i]), options.perRun).Succeeded();
    });
    QHash<QString, bool> outcomes;
    for (qsizetype i = 0; i < fragments.size(); ++i)
        outcomes.insert(NormalFragment(fragments[i]), worked[size_t(i)] != 0);
    return outcomes;
}

QStringList ProbeSourceExtensions(const QString& ffmpeg, const TProbeOptions& options)
{
    const QList<TDemuxer> demuxers = ParseDemuxerList(Ask(ffmpeg, "-demuxers", options));
    if (demuxers.isEmpty())
        throw EConverterError(
            QStringLiteral("The converter %1 listed no demuxers when asked -demuxers.").arg(ffmpeg).toStdString());
    std::vector<QStringList> named(size_t(demuxers.size()));
    ForEachInParallel(demuxers.size(), options.parallel, [&](qsizetype i) {
        if (!IsSourceDemuxer(demuxers[i]) || options.abandoned())
            return;
        const QByteArray option = "demuxer=" + demuxers[i].names.first().toUtf8();
        const TToolRun run = RunTool({ProgramArgument(ffmpeg), "-hide_banner", "-h", option}, options.perRun,
                                     TToolPriority::Background);
        // An answer cut short would be remembered as the whole truth; better
        // to ask again at the next start.
        if (!run.ended)
            throw EConverterError(QStringLiteral("The converter %1 did not answer -h %2: %3")
                                      .arg(ffmpeg, QString::fromUtf8(option), FailureReason(run, options))
                                      .toStdString());
        // A demuxer it does not describe names no extension.
        if (run.exitCode == 0)
            named[size_t(i)] = ParseCommonExtensions(run.output);
    });
    return SourceExtensions(demuxers, QList<QStringList>(named.begin(), named.end()));
}
