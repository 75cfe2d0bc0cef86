// The batch run: command line, progress, stop, power-off.
#include "batch/BatchListKeeper.h"
#include "batch/BatchRows.h"
#include "batch/SourceReader.h"
#include "desktop/BatchNotifier.h"
#include "batch/CommandLine.h"
#include "batch/ConversionProgress.h"
#include "engine/EndOfFileStep.h"
#include "engine/RowStart.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "batch/OutputNames.h"
#include "desktop/PowerOff.h"
#include "engine/ProgramFolder.h"
#include "desktop/SleepInhibitor.h"
#include "batch/TimeLeft.h"
#include "components/CursorEdit.h"
#include "components/ImageList.h"
#include "components/JvTimer.h"
#include "components/JvTrayIcon.h"
#include "process/JvCreateProcess.h"

#include <QAction>
#include <QCheckBox>
#include <QCoreApplication>
#include <QPointer>
#include <QFileInfo>
#include <QLineEdit>
#include <QToolButton>
#include <QWidget>

namespace {

const char* const WaitingForStoppedMessage =
    "The stopped conversion is still finishing; the new batch starts as soon as it has ended.";
const char* const NotKeptAwakeMessage =
    "The system did not agree to stay awake; it may go to sleep during this batch.";

void PostQuit()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace

QByteArray TFFmpegFunc::BuildCommandLine(const TSourceFacts& sourceFacts)
{
    const int row = StrToInt(JvEditNumb->text());
    const QByteArray source = BatchRows.At(row).source.toUtf8();
    const QString output = FreeOutputPath(QString::fromUtf8(MakeOutputFileName(source)));
    BatchRows.SetOutput(row, output, QFileInfo::exists(output));
    const TConversionPlan plan =
        PlanConversion(sourceFacts, GetChosenOptions(),
                       [this](const QByteArray& level, const QString& encoder) { return GetQualityCmd(level, encoder); });
    BatchRows.SetNotes(row, plan.notes);
    return JoinCommandLine(ConverterPath(ProgramFolder()), source, plan.arguments, output.toUtf8());
}

QByteArray TFFmpegFunc::MakeOutputFileName(const QByteArray& sourcePath)
{
    const QString folder = JvEditDir->text();
    if (const std::optional<QString> problem = OutputFolderProblem(folder))
        throw std::runtime_error(problem->toStdString());
    return OutputPath(folder.toUtf8(), SourceBaseName(QString::fromUtf8(sourcePath)).toUtf8());
}

int TFFmpegFunc::GetCurrentDurationSecs()
{
    return PlayingTimeSecs(BatchRows.At(StrToInt(JvEditNumb->text())).playingTime);
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
    const int row = StrToInt(JvEditNumb->text());
    if (!BatchRows.Contains(row))
        return;
    BatchRows.Start(row);
    const quint64 start = ++FFmpegFrm->StartsMade;
    FFmpegFrm->PendingStart = start;
    FFmpegFrm->SourceReader->Read(BatchRows.At(row).source,
                                  [start](const TSourceReading& source) { PrepareConverterOnceRead(start, source); });
}

void TFFmpegFunc::PrepareConverter(quint64 start, const TSourceReading& source)
{
    const int row = StrToInt(JvEditNumb->text());
    if (FFmpegFrm->PendingStart != start || !BatchRows.Contains(row))
        return;
    if (source.panel)
        ShowInfoPanelValues(*source.panel);
    try {
        JvCreateProcess->CommandLine = BuildCommandLine(source.facts);
    } catch (const EChoiceConflict& conflict) {
        // A choice that cannot work for this source fails this row only.
        FFmpegFrm->PendingStart = 0;
        BatchRows.Finish(row, NotStartedOutcome(QString::fromUtf8(conflict.what())));
        // The next row starts from the event loop, as after a converter's
        // end, so that a long run of refused rows never nests.
        QMetaObject::invokeMethod(FFmpegFrm->Form, [] { ContinueAfterRefusedRow(); }, Qt::QueuedConnection);
        return;
    } catch (const std::exception& error) {
        // No converter runs for this row: the batch ends here, visibly failed.
        BatchRows.Finish(row, NotStartedOutcome(QString::fromUtf8(error.what())));
        EndBatch(TBatchEnd::NotStarted);
        throw;
    }
    FFmpegFrm->BatchList->WhenKept([start] { StartConverterOnceKept(start); });
}

void TFFmpegFunc::StartKeptConverter(quint64 start)
{
    // Stopped, closed or started anew meanwhile: this start is not wanted
    // any more, or another one does it.
    if (FFmpegFrm->PendingStart != start)
        return;
    FFmpegFrm->PendingStart = 0;
    const int row = StrToInt(JvEditNumb->text());
    try {
        JvCreateProcess->Start();
    } catch (const std::exception& error) {
        // No converter runs for this row: the batch ends here, visibly failed.
        BatchRows.Finish(row, NotStartedOutcome(QString::fromUtf8(error.what())));
        EndBatch(TBatchEnd::NotStarted);
        throw;
    }
    if (FFmpegFrm->BatchPaused)
        JvCreateProcess->Pause();
}

void TFFmpegFunc::StartConversion()
{
    if (BatchRows.Count() == 0 || !AddFileBtn->isEnabled())
        return;
    if (const std::optional<QString> problem = OutputFolderProblem(JvEditDir->text())) {
        for (int row = 0; row < BatchRows.Count(); ++row)
            BatchRows.Finish(row, NotStartedOutcome(*problem));
        return;
    }
    // Convert does what is left; once everything is done, all of it again.
    if (BatchRows.AllCompleted())
        for (int row = 0; row < BatchRows.Count(); ++row)
            BatchRows.Requeue(row);
    LockButtons();
    KeepAwake();
    // A stopped converter still finishing would have its end taken for the
    // end of the first row; the batch starts from that end instead.
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
    FFmpegFrm->BatchClock->Start(SteadyClockMs());
    if (FFmpegFrm->BatchPaused)
        FFmpegFrm->BatchClock->Pause(SteadyClockMs());
    const int first = BatchRows.NextToConvert(-1);
    if (first < 0) {
        EndBatch(TBatchEnd::NotStarted);
        return;
    }
    JvEditNumb->Assign(QString::number(first));
    if (!AddFileBtn->isEnabled() && !FFmpegFrm->BatchPaused) // the first row could not start
        SetTimerEnabled(JvTimer, true);
}

void TFFmpegFunc::StopConversion()
{
    if (BatchRows.Count() == 0 || AddFileBtn->isEnabled())
        return;
    // A suspended converter would never read the "q".
    if (JvCreateProcess->Paused())
        JvCreateProcess->Resume();
    JvCreateProcess->WriteInput("q");
    // Convert pressed after an earlier Stop only waited: its row is marked.
    const int row = StrToInt(JvEditNumb->text());
    if (!FFmpegFrm->StartWhenStoppedConverterEnds && BatchRows.Contains(row)) {
        BatchRows.Finish(row, DecideRowOutcome(BatchRows.StoppedEndOf(row)));
        // The converter finishes its file, but only part of the source is
        // in it: under the normal name it would pass for the whole.
        FFmpegFrm->UnfinishedOutput = RemoveUnfinishedOutput(BatchRows.StoppedEndOf(row));
    }
    EndBatch(TBatchEnd::Stopped);
}

void TFFmpegFunc::StopOnClose()
{
    if (BatchRows.Count() == 0 || AddFileBtn->isEnabled())
        return;
    if (JvCreateProcess->Paused())
        JvCreateProcess->Resume();
    JvCreateProcess->WriteInput("q");
    // As at Stop, though the program may end before the converter does.
    const int row = StrToInt(JvEditNumb->text());
    if (!FFmpegFrm->StartWhenStoppedConverterEnds && BatchRows.Contains(row))
        FFmpegFrm->UnfinishedOutput = RemoveUnfinishedOutput(BatchRows.StoppedEndOf(row));
    EndBatch(TBatchEnd::Closing);
}

void TFFmpegFunc::EndBatch(TBatchEnd how)
{
    // A paused batch never powers the machine off: the user is there.
    const bool endedByItself = how == TBatchEnd::Completed || how == TBatchEnd::StoppedAfterFile;
    const bool powersOff = how == TBatchEnd::Completed && JvCheckBox->isChecked() && !FFmpegFrm->BatchPaused;
    FFmpegFrm->StartWhenStoppedConverterEnds = false;
    FFmpegFrm->PendingStart = 0;
    FFmpegFrm->BatchPaused = false;
    ShowPauseAction(false);
    FFmpegFrm->StopAfterFile1->setChecked(false);
    UnlockButtons();
    if (endedByItself) {
        if (powersOff)
            ShutdownComputer(8);
        JvEditCmdMsg->clear();
    }
    SetTimerEnabled(JvTimer, false);
    JvTrayIcon->SetIconIndex(TImageList::Added);
    JvTrayIcon->SetHint("Movarin");
    SleepInhibitorBackend().Release();
    // Only a batch that ended by itself is news; before a power-off nobody
    // would read it.
    if (endedByItself && !powersOff)
        AnnounceFinishedBatch();
}

void TFFmpegFunc::HandleConverterOutput(const QByteArray& line, bool startsOnNewLine)
{
    // A stopped converter still finishing speaks for no row.
    if (AddFileBtn->isEnabled() || FFmpegFrm->StartWhenStoppedConverterEnds)
        return;
    const int row = StrToInt(JvEditNumb->text());
    if (!BatchRows.Contains(row))
        return;
    // An empty report counts too: it is how the runner tells that the line
    // before ended where a piece of output ended. Dropped, the next line
    // would take that line's place among the row's messages.
    const std::optional<int> position = BatchRows.ReportLine(row, line, startsOnNewLine);
    if (!position)
        return;
    // Lines read just before a pause must not take "Paused" away.
    if (!FFmpegFrm->BatchPaused)
        ShowTimeLeft(row, *position, line);
    JvEditCmdMsg->setText(QString::fromUtf8(line));
}

void TFFmpegFunc::KeepAwake()
{
    if (!SleepInhibitorBackend().Hold())
        JvEditCmdMsg->setText(NotKeptAwakeMessage);
}

void TFFmpegFunc::ShowTimeLeft(int row, int positionSecs, const QByteArray& line)
{
    const TBatchRows::TSecsLeft left = BatchRows.SecsLeft(row, positionSecs);
    if (const std::optional<double> speed = ProgressSpeed(line))
        BatchRows.SetToolTip(row, RowProgressText(*speed, left.row));
    TBatchClock& clock = *FFmpegFrm->BatchClock;
    clock.Reached(row, positionSecs);
    JvTrayIcon->SetHint(BatchProgressText(row + 1, BatchRows.Count(),
                                          left.batch ? clock.SecondsLeft(*left.batch, SteadyClockMs()) : std::nullopt));
}

void TFFmpegFunc::AnnounceFinishedBatch()
{
    const TBatchRows::TTally tally = BatchRows.Tally();
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
