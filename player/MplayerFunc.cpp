#include "player/MplayerFunc.h"
#include "engine/ProgramFolder.h"
#include "media/MediaInfoDll.h"
#include "player/JvColorTrkBar.h"
#include "player/MplayerCommand.h"
#include "player/MplayerGUI.h"
#include "player/MplayerPanel.h"
#include "player/PlayTimes.h"
#include "player/PlayerEnding.h"
#include "process/JvCreateProcess.h"

#include <QLabel>

TMplayerFunc::TMplayerFunc()
    : VideoWindow(MplayerFrm->JvMplayer->winId()), PlayerPath(MplayerPath(ProgramFolder())),
      JvLabBgTime(MplayerFrm->JvLabBgTime), JvLabEdTime(MplayerFrm->JvLabEdTime),
      JvColorTrkBar(MplayerFrm->JvColorTrkBar), JvCmdProc(MplayerFrm->JvCmdProc)
{
}

void TMplayerFunc::StartPlayback(const QString& filePath)
{
    const QByteArray commandLine = MplayerCommandLine(PlayerPath, VideoWindow, filePath);
    JvColorTrkBar->SetPosition(0);
    LoadDuration(filePath);
    JvCmdProc->CommandLine = commandLine;
    JvCmdProc->Start();
}

void TMplayerFunc::LoadDuration(const QString& filePath)
{
    const std::optional<QByteArray> duration = ReadWithMediaInfo(
        filePath.toUtf8(), [](MediaInfoQuery& query) { return query.Get(MediaInfoStream::General, "Duration/String3"); });
    if (!duration)
        return;
    const QByteArray totalText = TotalTimeText(*duration);
    JvLabEdTime->setText(QString::fromUtf8(totalText));
    JvColorTrkBar->SetMaximum(TotalTimeSeconds(totalText));
}

void TMplayerFunc::ShowPlayPosition(const QByteArray& S, bool cut)
{
    const std::optional<int> position = ParsePlayPosition(S, cut);
    if (!position)
        return;
    JvLabBgTime->setText(FormatSeconds(*position));
    JvColorTrkBar->SetPosition(*position);
}

void TMplayerFunc::ShowPlaybackEnded() { JvLabBgTime->setText("00:00:00"); }

void TMplayerFunc::StopPlayback()
{
    if (!JvCmdProc)
        return;
    LetPlayerEnd(JvCmdProc);
    // The runner may have left the window; the window must not use it again.
    MplayerFrm->JvCmdProc = nullptr;
}
