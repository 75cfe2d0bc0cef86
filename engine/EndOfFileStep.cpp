#include "engine/EndOfFileStep.h"
#include "batch/BatchRows.h"
#include "batch/ShortOutput.h"
#include "batch/StrToInt.h"
#include "components/CursorEdit.h"
#include "engine/ErrorDisplay.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"

#include <QAction>
#include <QFile>
#include <QToolButton>

#include <utility>

namespace {

// A failed row leaves no half-written output behind.
void ShowRowEnd(TBatchRows& rows, int index, quint32 exitCode, const TRowOutcome& outcome)
{
    rows.Finish(index, outcome);
    if (outcome.kind == TRowOutcome::TKind::Failed)
        RemoveUnfinishedOutput(rows.EndOf(index, exitCode));
}

// The source's playing time is read only for an output that plays.
TRowOutcome RowOutcomeOf(const TBatchRows& rows, int index, quint32 exitCode)
{
    const TRowOutcome outcome = DecideRowOutcome(rows.EndOf(index, exitCode));
    if (outcome.kind != TRowOutcome::TKind::Completed)
        return outcome;
    return FlagShortOutput(outcome, ReadPlayingTimeMs(rows.At(index).source));
}

// The next row that is not completed starts, unless the user asked to stop
// after this one; with none left the batch is complete.
void ContinueAfter(TFFmpegFrmComponents& window, int row)
{
    const int next = window.BatchRows->NextToConvert(row);
    if (next >= 0 && !window.StopAfterFile1->isChecked()) {
        window.JvEditNumb->Assign(QString::number(next));
        return;
    }
    TFFmpegFunc().EndBatch(next < 0 ? TFFmpegFunc::TBatchEnd::Completed : TFFmpegFunc::TBatchEnd::StoppedAfterFile);
}

} // namespace

void RunEndOfFileStep(TFFmpegFrmComponents& window, quint32 exitCode)
{
    // Only a stopped converter leaves one; ended, it can write no more.
    if (!window.UnfinishedOutput.isEmpty())
        QFile::remove(std::exchange(window.UnfinishedOutput, QString()));
    if (window.StartWhenStoppedConverterEnds) {
        TFFmpegFunc().StartFirstRow();
        return;
    }
    if (window.AddFileBtn->isEnabled())
        return;
    TBatchRows& rows = *window.BatchRows;
    const int row = StrToInt(window.JvEditNumb->text());
    if (rows.Contains(row))
        ShowRowEnd(rows, row, exitCode, RowOutcomeOf(rows, row, exitCode));
    ContinueAfter(window, row);
}

void ContinueAfterRefusedRow()
{
    Guarded([] {
        if (!FFmpegFrm || FFmpegFrm->AddFileBtn->isEnabled())
            return;
        ContinueAfter(*FFmpegFrm, StrToInt(FFmpegFrm->JvEditNumb->text()));
    });
}
