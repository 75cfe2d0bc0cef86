#include "batch/ShortOutput.h"
#include "batch/RowOutcome.h"

namespace {

constexpr qint64 ToleranceMs = 1000;
constexpr qint64 TolerancePercent = 5;

// Seconds with hundredths for short clips, as the list shows longer ones.
QString PlayingTime(qint64 ms)
{
    if (ms < 60000)
        return QString::number(double(ms) / 1000.0, 'f', 2) + " s";
    const qint64 secs = ms / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(secs / 3600, 2, 10, QChar('0'))
        .arg(secs / 60 % 60, 2, 10, QChar('0'))
        .arg(secs % 60, 2, 10, QChar('0'));
}

} // namespace

bool IsShortOutput(qint64 sourceMs, qint64 outputMs)
{
    const qint64 missing = sourceMs - outputMs;
    return missing > ToleranceMs && missing * 100 > sourceMs * TolerancePercent;
}

QString ShortOutputNote(qint64 sourceMs, qint64 outputMs)
{
    return QStringLiteral("The output plays %1 of the source's %2.").arg(PlayingTime(outputMs), PlayingTime(sourceMs));
}

TRowOutcome FlagShortOutput(TRowOutcome outcome, std::optional<qint64> sourceMs)
{
    if (outcome.kind != TRowOutcome::TKind::Completed || !sourceMs || !outcome.outputPlayingTimeMs
        || !IsShortOutput(*sourceMs, *outcome.outputPlayingTimeMs))
        return outcome;
    outcome.toolTip = ShortOutputNote(*sourceMs, *outcome.outputPlayingTimeMs);
    outcome.warning = true;
    return outcome;
}
