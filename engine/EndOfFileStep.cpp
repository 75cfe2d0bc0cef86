#include "engine/EndOfFileStep.h"
#include "engine/ConversionProgress.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/RowMarks.h"
#include "engine/RowOutcome.h"
#include "engine/ShortOutput.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/ImageList.h"
#include "engine/components/JvTimer.h"
#include "engine/components/JvTrayIcon.h"

#include <QCheckBox>
#include <QFile>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace RowMarks;

namespace {

// A failed row leaves no half-written output behind, unless the file was
// there before the converter started: that one is never removed.
void ShowRowEnd(QTreeWidgetItem* row, const TImageList& images, const TRowOutcome& outcome)
{
    ShowOutcome(row, images, outcome);
    if (outcome.kind == TRowOutcome::TKind::Failed && !OutputExistedBefore(row) && !Output(row).isEmpty())
        QFile::remove(Output(row));
}

// The source's playing time is read only for an output that plays.
TRowOutcome RowOutcomeOf(const QTreeWidgetItem* row, quint32 exitCode)
{
    const TRowOutcome outcome = DecideRowOutcome(RowEnd(row, exitCode));
    if (outcome.kind != TRowOutcome::TKind::Completed)
        return outcome;
    return FlagShortOutput(outcome, ReadPlayingTimeMs(row->text(SourceColumn)));
}

} // namespace

void RunEndOfFileStep(TFFmpegFrmComponents& window, quint32 exitCode)
{
    if (window.StartWhenStoppedConverterEnds) {
        TFFmpegFunc().StartFirstRow();
        return;
    }
    if (window.AddFileBtn->isEnabled())
        return;
    const int row = StrToInt(window.JvEditNumb->text());
    if (QTreeWidgetItem* item = RowAt(window.FileListView, row))
        ShowRowEnd(item, *window.ImageList, RowOutcomeOf(item, exitCode));
    if (row < window.FileListView->topLevelItemCount() - 1) {
        window.JvEditNumb->Assign(QString::number(row + 1));
        return;
    }
    TFFmpegFunc().EndBatch(TFFmpegFunc::TBatchEnd::Completed);
}
