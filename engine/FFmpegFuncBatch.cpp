// The batch run: command line, progress, stop, power-off.
#include "engine/BatchNotifier.h"
#include "engine/CommandLine.h"
#include "engine/ConversionProgress.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/OutputNames.h"
#include "engine/PowerOff.h"
#include "engine/ProgramFolder.h"
#include "engine/RowMarks.h"
#include "engine/SleepInhibitor.h"
#include "engine/TimeLeft.h"
#include "engine/RowOutcome.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/ImageList.h"
#include "engine/components/JvTimer.h"
#include "engine/components/JvTrayIcon.h"
#include "process/JvCreateProcess.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>
#include <chrono>
#include <QTreeWidget>

using namespace RowMarks;

namespace {

const char* const WaitingForStoppedMessage =
    "The stopped conversion is still finishing; the new batch starts as soon as it has ended.";
const char* const NoOutputFolderMessage = "No output folder is set.";
const char* const NotKeptAwakeMessage =
    "The system did not agree to stay awake; it may go to sleep during this batch.";

// Sources of the list and the outputs the batch wrote before this row: an
// output must replace none of them.
QStringList PathsTakenBefore(QTreeWidget* list, int row)
{
    QStringList taken;
    for (int index = 0; index < list->topLevelItemCount(); ++index) {
        const QTreeWidgetItem* item = list->topLevelItem(index);
        taken << item->text(SourceColumn);
        if (index < row && !Output(item).isEmpty())
            taken << Output(item);
    }
    return taken;
}

// The estimate reads every later row's playing time on every progress line;
// a malformed one must not raise an error box each time.
int PlayingSecsOrNone(const QTreeWidgetItem* row)
{
    try {
        return PlayingTimeSecs(row->text(PlayingTimeColumn));
    } catch (const std::exception&) {
        return 0;
    }
}

// A clock that the wall clock's adjustments do not move.
qint64 NowMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void PostQuit()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace

QByteArray TFFmpegFunc::BuildCommandLine()
{
    const int row = StrToInt(JvEditNumb->text());
    QTreeWidgetItem* item = FileListView->topLevelItem(row);
    const QByteArray source = item->text(SourceColumn).toUtf8();
    const QString output = FreeOutputPath(QString::fromUtf8(MakeOutputFileName(source)),
                                          PathsTakenBefore(FileListView, row));
    RememberOutput(item, output, QFileInfo::exists(output));
    const OptionFragments fragments{GetVdoCodecCmd(),   GetVdoBitrateCmd(), GetVdoSizeCmd(),
                                    GetVdoFpsCmd(),     GetVdoAspectCmd(),  GetAdoCodecCmd(),
                                    GetAdoBitrateCmd(), GetAdoChannelsCmd(), GetAdoFreqCmd()};
    return JoinCommandLine(ConverterPath(ProgramFolder()), source, fragments, output.toUtf8());
}

QByteArray TFFmpegFunc::MakeOutputFileName(const QByteArray& sourcePath)
{
    const QByteArray folder = JvEditDir->text().toUtf8();
    if (folder.isEmpty()) // the output would land in the root folder
        throw std::runtime_error(NoOutputFolderMessage);
    return OutputPath(folder, SourceBaseName(QString::fromUtf8(sourcePath)).toUtf8());
}

int TFFmpegFunc::GetCurrentDurationSecs()
{
    const QTreeWidgetItem* item = FileListView->topLevelItem(StrToInt(JvEditNumb->text()));
    return PlayingTimeSecs(item->text(PlayingTimeColumn));
}

int TFFmpegFunc::ParseTimeSecs(const QByteArray& line) { return ProgressTimeSecs(line).value_or(-1); }

void TFFmpegFunc::ShutdownComputer(int flags)
{
    TPowerOff& powerOff = PowerOffBackend();
    if (!powerOff.MayPowerOff())
        PostQuit();
    if (!powerOff.PowerOff(flags))
        PostQuit();
}

void TFFmpegFunc::ConvertCurrentFile()
{
    QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text()));
    if (!item)
        return;
    ShowFileInfo(item->text(SourceColumn));
    MarkConverting(item, *FFmpegFrm->ImageList);
    try {
        JvCreateProcess->CommandLine = BuildCommandLine();
        JvCreateProcess->Start();
    } catch (const std::exception& error) {
        // No converter runs for this row: the batch ends here, visibly failed.
        ShowOutcome(item, *FFmpegFrm->ImageList, NotStartedOutcome(QString::fromUtf8(error.what())));
        EndBatch(TBatchEnd::NotStarted);
        throw;
    }
}

void TFFmpegFunc::StartConversion()
{
    if (FileListView->topLevelItemCount() == 0 || !AddFileBtn->isEnabled())
        return;
    if (JvEditDir->text().isEmpty()) {
        for (int row = 0; row < FileListView->topLevelItemCount(); ++row)
            ShowOutcome(FileListView->topLevelItem(row), *FFmpegFrm->ImageList,
                        NotStartedOutcome(NoOutputFolderMessage));
        return;
    }
    LockButtons();
    KeepAwake();
    // A stopped converter still finishing would have its end taken for the
    // end of row 0; the batch starts from that end instead.
    if (JvCreateProcess->State() == TJvCreateProcess::TState::Watching) {
        FFmpegFrm->StartWhenStoppedConverterEnds = true;
        JvEditCmdMsg->setText(WaitingForStoppedMessage);
        SetTimerEnabled(JvTimer, true);
        return;
    }
    StartFirstRow();
}

void TFFmpegFunc::StartFirstRow()
{
    FFmpegFrm->StartWhenStoppedConverterEnds = false;
    FFmpegFrm->BatchClock->Start(NowMs());
    JvEditNumb->Assign("0");
    if (!AddFileBtn->isEnabled()) // row 0 could not start
        SetTimerEnabled(JvTimer, true);
}

void TFFmpegFunc::StopConversion()
{
    if (FileListView->topLevelItemCount() == 0 || AddFileBtn->isEnabled())
        return;
    JvCreateProcess->WriteInput("q");
    // Convert pressed after an earlier Stop only waited: its row is marked.
    if (!FFmpegFrm->StartWhenStoppedConverterEnds)
        if (QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text())))
            ShowOutcome(item, *FFmpegFrm->ImageList, DecideRowOutcome(StoppedRowEnd(item)));
    EndBatch(TBatchEnd::Stopped);
}

void TFFmpegFunc::StopOnClose()
{
    if (FileListView->topLevelItemCount() == 0 || AddFileBtn->isEnabled())
        return;
    JvCreateProcess->WriteInput("q");
    EndBatch(TBatchEnd::Closing);
}

void TFFmpegFunc::EndBatch(TBatchEnd how)
{
    FFmpegFrm->StartWhenStoppedConverterEnds = false;
    UnlockButtons();
    if (how == TBatchEnd::Completed) {
        if (JvCheckBox->isChecked())
            ShutdownComputer(8);
        JvEditCmdMsg->clear();
    }
    SetTimerEnabled(JvTimer, false);
    JvTrayIcon->SetIconIndex(TImageList::Added);
    JvTrayIcon->SetHint("Movarin");
    SleepInhibitorBackend().Release();
    // Only a batch that ended by itself is news; before a power-off nobody
    // would read it.
    if (how == TBatchEnd::Completed && !JvCheckBox->isChecked())
        AnnounceFinishedBatch();
}

void TFFmpegFunc::HandleConverterOutput(const QByteArray& line, bool startsOnNewLine)
{
    if (line.isEmpty())
        return;
    // A stopped converter still finishing speaks for no row.
    if (AddFileBtn->isEnabled() || FFmpegFrm->StartWhenStoppedConverterEnds)
        return;
    QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text()));
    if (!item)
        return;
    RememberLine(item, line, startsOnNewLine);
    if (!IsProgressLine(line))
        return;
    const int position = ParseTimeSecs(line);
    if (position < 0)
        return;
    if (const std::optional<qint64> percent = ProgressPercent(position, GetCurrentDurationSecs()))
        item->setText(PercentColumn, QString::number(*percent) + '%');
    ShowTimeLeft(item, position, line);
    JvEditCmdMsg->setText(QString::fromUtf8(line));
}

void TFFmpegFunc::KeepAwake()
{
    if (!SleepInhibitorBackend().Hold())
        JvEditCmdMsg->setText(NotKeptAwakeMessage);
}

void TFFmpegFunc::ShowTimeLeft(QTreeWidgetItem* row, int positionSecs, const QByteArray& line)
{
    const int index = FileListView->indexOfTopLevelItem(row);
    const double fileLeft = GetCurrentDurationSecs() - positionSecs;
    if (const std::optional<double> speed = ProgressSpeed(line))
        ShowProgressHint(row, RowProgressText(*speed, fileLeft));
    double batchLeft = std::max(0.0, fileLeft);
    for (int later = index + 1; later < FileListView->topLevelItemCount(); ++later)
        batchLeft += PlayingSecsOrNone(FileListView->topLevelItem(later));
    TBatchClock& clock = *FFmpegFrm->BatchClock;
    clock.Reached(index, positionSecs);
    JvTrayIcon->SetHint(
        BatchProgressText(index + 1, FileListView->topLevelItemCount(), clock.SecondsLeft(batchLeft, NowMs())));
}

void TFFmpegFunc::AnnounceFinishedBatch()
{
    const TOutcomeTally tally = TallyOutcomes(FileListView);
    BatchNotifierBackend().Notify(BatchFinishedSummary, BatchFinishedBody(tally.completed, tally.failed, tally.warnings),
                                  [tray = QPointer<TJvTrayIcon>(JvTrayIcon), form = QPointer<QWidget>(FFmpegFrm->Form)] {
                                      if (!tray || !form)
                                          return;
                                      tray->RestoreFromTray();
                                      // Also when it was merely behind other windows.
                                      form->raise();
                                      form->activateWindow();
                                  });
}
