#include "engine/EndOfFileStep.h"
#include "engine/ConversionProgress.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/RowMarks.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/ImageList.h"
#include "engine/components/JvTimer.h"
#include "engine/components/JvTrayIcon.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace RowMarks;

namespace {

void MarkEnded(QTreeWidgetItem* row, const TImageList& images, quint32 exitCode)
{
    if (exitCode == 0) {
        MarkConverted(row, images);
        return;
    }
    const QString ending = QStringLiteral("The converter ended with exit code %1.").arg(exitCode);
    const QString message = LastMessage(row).trimmed();
    MarkFailed(row, images, message.isEmpty() ? ending : message + '\n' + ending);
}

} // namespace

void RunEndOfFileStep(TFFmpegFrmComponents& window, quint32 exitCode)
{
    if (window.AddFileBtn->isEnabled())
        return;
    const int row = StrToInt(window.JvEditNumb->text());
    if (QTreeWidgetItem* item = RowAt(window.FileListView, row))
        MarkEnded(item, *window.ImageList, exitCode);
    if (row < window.FileListView->topLevelItemCount() - 1) {
        window.JvEditNumb->Assign(QString::number(row + 1));
        return;
    }
    TFFmpegFunc().UnlockButtons();
    TFFmpegFunc().EndBatchExtras();
    if (window.JvCheckBox->isChecked())
        TFFmpegFunc().ShutdownComputer(8);
    else
        TFFmpegFunc().AnnounceFinishedBatch();
    window.JvEditCmdMsg->clear();
    SetTimerEnabled(window.JvTimer, false);
    window.JvTrayIcon->SetIconIndex(TImageList::Added);
}
