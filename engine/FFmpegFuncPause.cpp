// Pausing a batch and going on with it.
#include "batch/BatchRows.h"
#include "batch/StrToInt.h"
#include "batch/TimeLeft.h"
#include "components/CursorEdit.h"
#include "components/ImageList.h"
#include "components/JvTimer.h"
#include "components/JvTrayIcon.h"
#include "desktop/SleepInhibitor.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "process/JvCreateProcess.h"

#include <QAction>
#include <QToolButton>
#include <algorithm>

namespace {

const char* const PausedText = "Paused";

} // namespace

void TFFmpegFunc::PauseOrResumeConversion()
{
    if (AddFileBtn->isEnabled()) // no batch runs
        return;
    if (FFmpegFrm->BatchPaused)
        ResumeConversion();
    else
        PauseConversion();
}

void TFFmpegFunc::PauseConversion()
{
    FFmpegFrm->BatchPaused = true;
    // A stopped converter still finishing belongs to no batch; a converter
    // that has yet to start is suspended as it starts.
    if (!FFmpegFrm->StartWhenStoppedConverterEnds)
        JvCreateProcess->Pause();
    FFmpegFrm->BatchClock->Pause(SteadyClockMs());
    const int row = StrToInt(JvEditNumb->text());
    if (BatchRows.Contains(row) && BatchRows.At(row).state == TRowState::Converting)
        BatchRows.SetToolTip(row, PausedText);
    SetTimerEnabled(JvTimer, false);
    JvTrayIcon->SetIconIndex(TImageList::Pause);
    JvTrayIcon->SetHint(QStringLiteral("Movarin\n") + PausedText);
    // Nothing works meanwhile: the machine may sleep.
    SleepInhibitorBackend().Release();
    ShowPauseAction(true);
}

void TFFmpegFunc::ResumeConversion()
{
    FFmpegFrm->BatchPaused = false;
    if (JvCreateProcess->Paused())
        JvCreateProcess->Resume();
    FFmpegFrm->BatchClock->Resume(SteadyClockMs());
    const int row = StrToInt(JvEditNumb->text());
    if (BatchRows.Contains(row) && BatchRows.At(row).toolTip == PausedText)
        BatchRows.SetToolTip(row, QString());
    // The first tick of the blinking shows the busy picture at once.
    JvTrayIcon->SetIconIndex(TImageList::Added);
    SetTimerEnabled(JvTimer, true);
    JvTrayIcon->SetHint(BatchProgressText(std::max(row, 0) + 1, BatchRows.Count(), std::nullopt));
    KeepAwake();
    ShowPauseAction(false);
}

void TFFmpegFunc::ShowPauseAction(bool paused)
{
    QAction* action = FFmpegFrm->PauseConv1;
    action->setText(paused ? "Resume" : "Pause");
    action->setToolTip(paused ? "Resume video file conversion" : "Pause video file conversion");
    action->setIcon(FFmpegFrm->ImageList->Icon(paused ? TImageList::Resume : TImageList::Pause));
}
