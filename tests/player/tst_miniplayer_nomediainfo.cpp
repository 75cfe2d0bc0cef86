// The mini player on a machine without the media-information library. A
// program of its own: once the library is loaded it stays for the process.
#include "Clips.h"
#include "ScriptedPlayer.h"
#include "media/MediaInfoDll.h"
#include "player/JvColorTrkBar.h"
#include "player/MplayerFunc.h"
#include "player/MplayerGUI.h"
#include "process/JvCreateProcess.h"

#include <QLabel>
#include <QtTest>

class TestMiniPlayerWithoutMediaInfo : public QObject {
    Q_OBJECT
private slots:
    void playbackStartsWithTheDefaultTotalAndRange()
    {
        SetMediaInfoLibraryName("libmovarin-no-such-mediainfo.so.0");
        QTemporaryDir folder;
        const QString clip = MakeClip(folder.path());
        ScriptedPlayer player({}, ScriptedPlayer::Ending::Exit);
        {
            TMplayerFrm frm;
            MplayerFrm = &frm;
            const auto forget = qScopeGuard([] { MplayerFrm = nullptr; });
            frm.JvColorTrkBar->SetPosition(7);
            TMplayerFunc().StartPlayback(clip);
            QCOMPARE(frm.JvLabEdTime->text(), QString("00:00:00"));
            QCOMPARE(frm.JvColorTrkBar->Maximum(), 100);
            QCOMPARE(frm.JvColorTrkBar->Position(), 0);
            QTRY_VERIFY(player.Started());
            QCOMPARE(player.Arguments().constLast(), clip);
            player.Release(0);
            QTRY_COMPARE(frm.JvCmdProc->State(), TJvCreateProcess::TState::Idle);
        }
        QTRY_VERIFY(OwnChildProcesses().isEmpty());
    }
};

QTEST_MAIN(TestMiniPlayerWithoutMediaInfo)
#include "tst_miniplayer_nomediainfo.moc"
