// The list file: the rows come back when the program starts again.
#include "batch/BatchListFile.h"
#include "batch/BatchListKeeper.h"
#include "batch/BatchRows.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "media/MediaInfoDll.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>

namespace {

const char* const HeldElsewhereMessage =
    "Another copy of Movarin keeps the file list of this folder: this one neither restores nor saves it.";
const char* const CannotLockMessage =
    "The file list cannot be kept in this folder (%1): this copy neither restores nor saves it.";
const char* const UnreadableMessage = "The saved file list could not be read (%1) and was kept as %2; the list starts empty.";
const char* const NotSavedMessage = "The file list could not be saved: %1";

} // namespace

void TFFmpegFunc::RestoreBatchList()
{
    TBatchListKeeper& keeper = *FFmpegFrm->BatchList;
    if (!keeper.TakeLock()) {
        JvEditCmdMsg->setText(keeper.HeldElsewhere() ? QString(HeldElsewhereMessage)
                                                     : QString(CannotLockMessage).arg(keeper.LockProblem()));
        return;
    }
    QList<TBatchRow> kept;
    try {
        kept = keeper.Read();
    } catch (const std::exception& unreadable) {
        const QString aside = keeper.MoveAside();
        JvEditCmdMsg->setText(QString(UnreadableMessage).arg(QString::fromUtf8(unreadable.what()), QFileInfo(aside).fileName()));
        return;
    }
    if (kept.isEmpty())
        return;
    // Facts come from the file: asking the library about every source would
    // make a long list slow to come back.
    const TRestoredBatchList restored =
        RestoreBatchRows(std::move(kept), [](const QString& source) { return QFileInfo::exists(source); });
    for (const QString& output : restored.unfinishedOutputs)
        QFile::remove(output);
    BatchRows.Restore(restored.rows);
    // Restored rows carry their facts, so nothing has loaded the information
    // library yet; the first file of the next batch would otherwise wait for
    // it on the interface thread.
    PreloadMediaInfo(MediaInfoLibraryName);
}

void TFFmpegFunc::ReportListWriteFailure(const QString& message)
{
    JvEditCmdMsg->setText(QString(NotSavedMessage).arg(message));
}
