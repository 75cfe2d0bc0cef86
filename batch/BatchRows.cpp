#include "batch/BatchRows.h"
#include "batch/ConversionProgress.h"

#include <algorithm>
#include <exception>

QString ShownToolTip(const TBatchRow& row)
{
    QStringList lines = row.notes;
    if (!row.toolTip.isEmpty())
        lines.prepend(row.toolTip);
    return lines.join('\n');
}

namespace {

// A converter's message is a line or two; a child writing on without a line
// end must not make the row (and its tool tip) hold more than this.
constexpr qsizetype MessageKeptSize = 4096;

TRowState StateOf(TRowOutcome::TKind kind)
{
    switch (kind) {
    case TRowOutcome::TKind::Completed:
        return TRowState::Completed;
    case TRowOutcome::TKind::Stopped:
        return TRowState::Stopped;
    case TRowOutcome::TKind::Failed:
        break;
    }
    return TRowState::Failed;
}

// Read for every later row on every progress line: a malformed playing time
// must not raise an error each time.
std::optional<int> KnownPlayingSecs(const TBatchRow& row)
{
    if (!row.playingTimeRead)
        return std::nullopt;
    try {
        return PlayingTimeSecs(row.playingTime);
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

} // namespace

void TBatchRows::Append(TBatchRow row)
{
    m_rows.append(std::move(row));
    emit Appended(Count() - 1);
}

void TBatchRows::Remove(int index)
{
    m_rows.removeAt(index);
    emit Removed(index);
}

void TBatchRows::Clear()
{
    m_rows.clear();
    emit Cleared();
}

void TBatchRows::Start(int index)
{
    TBatchRow& row = Row(index);
    row.state = TRowState::Converting;
    row.percent = 0;
    row.toolTip.clear();
    row.warning = false;
    row.messages.clear();
    row.openMessage.clear();
    row.notes.clear();
    emit Changed(index);
}

void TBatchRows::SetNotes(int index, const QStringList& notes)
{
    Row(index).notes = notes;
    emit Changed(index);
}

void TBatchRows::SetOutput(int index, const QString& path, bool existedBefore)
{
    Row(index).output = path;
    Row(index).outputExistedBefore = existedBefore;
}

std::optional<int> TBatchRows::ReportLine(int index, const QByteArray& line, bool startsOnNewLine)
{
    TBatchRow& row = Row(index);
    if (startsOnNewLine)
        row.messages = Messages(index);
    const bool isMessage = !IsProgressLine(line) && !IsListingLine(line);
    row.openMessage = isMessage ? QString::fromUtf8(line.right(MessageKeptSize)) : QString();
    if (!IsProgressLine(line))
        return std::nullopt;
    const std::optional<int> position = ProgressTimeSecs(line);
    if (!position)
        return std::nullopt;
    const std::optional<qint64> percent = ProgressPercent(*position, PlayingTimeSecs(row.playingTime));
    if (percent && *percent != row.percent) {
        row.percent = *percent;
        emit Changed(index);
    }
    return position;
}

void TBatchRows::SetToolTip(int index, const QString& toolTip)
{
    if (At(index).toolTip == toolTip)
        return;
    Row(index).toolTip = toolTip;
    emit Changed(index);
}

void TBatchRows::Finish(int index, const TRowOutcome& outcome)
{
    TBatchRow& row = Row(index);
    row.state = StateOf(outcome.kind);
    row.toolTip = outcome.toolTip;
    row.warning = outcome.warning;
    // Whole seconds of progress stop short of the end; a verified output is
    // the whole file.
    if (outcome.kind == TRowOutcome::TKind::Completed)
        row.percent = 100;
    emit Changed(index);
}

QStringList TBatchRows::Messages(int index) const
{
    return AddMessageLine(At(index).messages, At(index).openMessage);
}

TRowEnd TBatchRows::EndOf(int index, quint32 exitCode) const
{
    const TBatchRow& row = At(index);
    return {false, exitCode, row.output, row.outputExistedBefore, Messages(index), PercentText(row.percent)};
}

TRowEnd TBatchRows::StoppedEndOf(int index) const
{
    TRowEnd end = EndOf(index, 0);
    end.stopped = true;
    return end;
}

TBatchRows::TSecsLeft TBatchRows::SecsLeft(int index, int positionSecs) const
{
    TSecsLeft left;
    if (const std::optional<int> secs = KnownPlayingSecs(At(index)))
        left.row = left.batch = std::max(0, *secs - positionSecs);
    for (int later = index + 1; later < Count(); ++later)
        if (const std::optional<int> secs = KnownPlayingSecs(At(later)))
            left.batch = left.batch.value_or(0) + *secs;
    return left;
}

TBatchRows::TTally TBatchRows::Tally() const
{
    TTally tally;
    for (const TBatchRow& row : m_rows) {
        tally.completed += row.state == TRowState::Completed ? 1 : 0;
        tally.failed += row.state == TRowState::Failed ? 1 : 0;
        tally.warnings += row.state == TRowState::Completed && row.warning ? 1 : 0;
    }
    return tally;
}
