#include "batch/RowOutcome.h"

#include "media/MediaInfoDll.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace {

QString OutputProblem(const QString& path, const std::optional<qint64>& playingTime)
{
    const QFileInfo output(path);
    if (!output.exists())
        return QStringLiteral("The converter wrote no output file.");
    if (output.size() == 0)
        return QStringLiteral("The output file is empty.");
    if (!playingTime)
        return QStringLiteral("The output file cannot be read back: it has no playing time.");
    return {};
}

// The converter's own words when it leaves a file at its output path alone.
bool RefusedToReplace(const TRowEnd& end)
{
    return end.messages.contains(QStringLiteral("File '%1' already exists. Exiting.").arg(end.outputPath));
}

} // namespace

TRowOutcome DecideRowOutcome(const TRowEnd& end)
{
    if (end.stopped)
        return {TRowOutcome::TKind::Stopped, QStringLiteral("Stopped at %1.").arg(end.percent), std::nullopt};
    const std::optional<qint64> playingTime = ReadPlayingTimeMs(end.outputPath);
    const QString problem = OutputProblem(end.outputPath, playingTime);
    if (end.exitCode == 0 && problem.isEmpty())
        return {TRowOutcome::TKind::Completed, {}, playingTime};
    QStringList lines = end.messages;
    // With a failing exit code the converter's own words are the cause.
    if (end.exitCode == 0)
        lines << problem;
    lines << QStringLiteral("The converter ended with exit code %1.").arg(end.exitCode);
    return {TRowOutcome::TKind::Failed, lines.join('\n'), playingTime};
}

QString RemoveUnfinishedOutput(const TRowEnd& end)
{
    if (end.outputPath.isEmpty() || end.outputExistedBefore || RefusedToReplace(end))
        return {};
    QFile::remove(end.outputPath);
    return end.outputPath;
}

TRowOutcome NotStartedOutcome(const QString& cause) { return {TRowOutcome::TKind::Failed, cause, std::nullopt}; }

std::optional<qint64> ReadPlayingTimeMs(const QString& path)
{
    if (path.isEmpty())
        return std::nullopt;
    const std::optional<QByteArray> duration = ReadWithMediaInfo(
        path.toUtf8(), [](MediaInfoQuery& query) { return query.Get(MediaInfoStream::General, "Duration"); });
    bool isNumber = false;
    const double milliseconds = duration.value_or(QByteArray()).toDouble(&isNumber);
    if (!isNumber || !(milliseconds > 0))
        return std::nullopt;
    return qint64(milliseconds);
}

bool IsClosingFailureLine(const QString& line)
{
    // Newer converters put the stream or file in brackets before the words.
    QStringView words(line);
    if (words.startsWith('[') && words.contains(QStringLiteral("] ")))
        words = words.mid(words.indexOf(QStringLiteral("] ")) + 2);
    for (const char* closing :
         {"Conversion failed!", "Error initializing output stream", "Error while opening encoder",
          "Error while filtering", "Failed to inject frame into filter network", "Error while processing the decoded data",
          "Error opening output file", "Could not write header for output file", "Error marking filters as finished"})
        if (words.startsWith(QLatin1String(closing)))
            return true;
    return false;
}

QStringList AddMessageLine(QStringList messages, const QString& line)
{
    const QString trimmed = line.trimmed();
    if (trimmed.isEmpty())
        return messages;
    messages.removeAll(trimmed);
    messages << trimmed;
    while (messages.size() > KeptMessageLines) {
        const auto closing = std::find_if(messages.begin(), messages.end(), IsClosingFailureLine);
        messages.erase(closing != messages.end() ? closing : messages.begin());
    }
    return messages;
}

bool IsListingLine(const QByteArray& line)
{
    if (line.isEmpty() || line.front() == ' ' || line.front() == '\t')
        return true; // indented: build options, metadata, streams
    for (const char* heading : {"ffmpeg version ", "Input #", "Output #", "Stream mapping:", "Press [q]"})
        if (line.startsWith(heading))
            return true;
    // The interlace detector's counts at the end of every conversion.
    return line.startsWith("[Parsed_idet_");
}
