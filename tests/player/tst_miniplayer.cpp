// The mini player opened from the main window, with a scripted player.
#include "Clips.h"
#include "MiniPlayerRun.h"
#include "ProgramFixture.h"
#include "ScriptedPlayer.h"
#include "app/FFmpegGUI.h"
#include "batch/BatchRows.h"
#include "engine/ProgramFolder.h"
#include "player/JvColorTrkBar.h"
#include "player/MplayerFunc.h"
#include "player/MplayerGUI.h"
#include "player/MplayerPanel.h"
#include "player/PlayerEnding.h"
#include "process/JvCreateProcess.h"

#include <QLabel>
#include <QPointer>
#include <QTreeWidget>
#include <QtTest>

using Ending = ScriptedPlayer::Ending;

namespace {

struct Step {
    QByteArray output;
    QByteArray lastDelivery; // what the window is handed last for this output
    QString elapsed;
    int position;
};

// Waits until the player has been let go and no child of this test is left,
// not even a zombie.
bool NoPlayerLeft()
{
    return QTest::qWaitFor([] { return OwnChildProcesses().isEmpty(); }, 20000);
}

} // namespace

Q_DECLARE_METATYPE(QList<Step>)

class TestMiniPlayer : public QObject {
    Q_OBJECT

    QTemporaryDir m_clips;
    QString m_threeSeconds;

private slots:
    void initTestCase()
    {
        ClipOptions options;
        options.fileName = "three seconds.mp4";
        options.width = 64;
        options.height = 48;
        m_threeSeconds = MakeClip(m_clips.path(), options);
    }

    void cleanup() { QVERIFY2(NoPlayerLeft(), "a player process was left behind"); }

    void noSelectedRowOpensNothing()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ScriptedPlayer player({}, Ending::Exit);
        TBatchRow listed; // listed, not selected
        listed.source = m_threeSeconds;
        window->BatchRows->Append(listed);
        QVERIFY(!PlayWhileOpen(window, [](TMplayerFrm&) {}));
        QCOMPARE(fixture.Shown.size(), 1);
        const DialogSeam::Shown& shown = fixture.Shown.constFirst();
        QCOMPARE(shown.kind, QString("message"));
        QCOMPARE(shown.title, QString("message"));
        QCOMPARE(shown.text, QString("Please choose to play video file"));
        QVERIFY(!player.Started());
    }

    void windowShowsTheSelectedFileInItsPanel()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ScriptedPlayer player({}, Ending::QuitOnRequest);
        ListAndSelect(window, m_threeSeconds);
        QPointer<TMplayerFrm> seen;
        const bool opened = PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            seen = &frm;
            QCOMPARE(QApplication::activeModalWidget(), &frm);
            QCOMPARE(frm.windowTitle(), QString("Mini Player"));
            QCOMPARE(frm.size(), QSize(372, 310));
            QCOMPARE(frm.minimumSize(), frm.maximumSize());
            QVERIFY(!(frm.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
            QVERIFY(frm.windowFlags() & Qt::WindowCloseButtonHint);
            QCOMPARE(frm.JvMplayer->geometry(), QRect(0, 0, 372, 259));
            QVERIFY(frm.JvMplayer->testAttribute(Qt::WA_NativeWindow));
            QCOMPARE(frm.JvMplayer->grab().toImage().pixelColor(186, 130), QColor(16, 16, 16));
            QCOMPARE(frm.JvLabBgTime->geometry(), QRect(135, 263, 46, 13));
            QCOMPARE(frm.JvLabLine->text(), QString("/"));
            QCOMPARE(frm.JvLabEdTime->geometry(), QRect(197, 263, 46, 13));
            QCOMPARE(frm.JvLabEdTime->text(), QString("00:00:03"));
            QCOMPARE(frm.JvLabFile->text(), m_threeSeconds);
            QVERIFY(frm.JvLabFile->isHidden());
            QCOMPARE(frm.JvColorTrkBar->geometry(), QRect(5, 278, 362, 24));
            QCOMPARE(frm.JvColorTrkBar->Maximum(), 3);
            QCOMPARE(frm.JvColorTrkBar->Position(), 0);
            QTRY_VERIFY(player.Started());
            QCOMPARE(player.ProgramPath(), ProgramFolder() + "/bin/mplayer");
            QCOMPARE(player.Arguments(),
                     (QStringList{"-slave", "-identify", "-wid", QString::number(frm.JvMplayer->winId()), "-colorkey",
                                  "0x101010", "-framedrop", "-autosync", "100", "-vf", "screenshot", m_threeSeconds}));
        });
        QVERIFY(opened);
        QVERIFY2(seen.isNull(), "the window was not freed when it closed");
        QCOMPARE(MplayerFrm, nullptr);
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void playerOutputMovesTheTimeAndTheBar_data()
    {
        QTest::addColumn<QList<Step>>("steps");
        const QByteArray status = "A:   2.0 V:   2.0 A-V:  0.000 ct:  0.000";
        QTest::newRow("status line")
            << QList<Step>{{status + "\r", status, "00:00:02", 2}};
        QTest::newRow("other lines set both back to 0")
            << QList<Step>{{status + "\r", status, "00:00:02", 2},
                           {"ID_LENGTH=3.00\nID_VIDEO_ID=0\n", "", "00:00:00", 0}};
        QTest::newRow("without sound the video position counts")
            << QList<Step>{{"V:   1.2   30/ 30\r", "V:   1.2   30/ 30", "00:00:01", 1}};
        QTest::newRow("an empty text sets both back to 0")
            << QList<Step>{{"A:   1.0\r", "A:   1.0", "00:00:01", 1}, {"\n", "", "00:00:00", 0}};
        QTest::newRow("a position above the maximum leaves the bar")
            << QList<Step>{{"A:   2.0\r", "A:   2.0", "00:00:02", 2}, {"A:  83.0\r", "A:  83.0", "00:01:23", 2}};
        QTest::newRow("status lines rewritten in one piece")
            << QList<Step>{{"A:   1.0\rA:   3.0\r", "A:   3.0", "00:00:03", 3}};
    }
    void playerOutputMovesTheTimeAndTheBar()
    {
        QFETCH(QList<Step>, steps);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QList<QByteArray> outputs;
        for (const Step& step : steps)
            outputs << step.output;
        ScriptedPlayer player(outputs, Ending::Exit);
        ListAndSelect(window, m_threeSeconds);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QList<QByteArray> delivered;
            RecordDeliveries(frm, delivered);
            for (int index = 0; index < steps.size(); ++index) {
                player.Release(index);
                QTRY_VERIFY(!delivered.isEmpty() && delivered.last() == steps[index].lastDelivery);
                QCOMPARE(frm.JvLabBgTime->text(), steps[index].elapsed);
                QCOMPARE(frm.JvColorTrkBar->Position(), steps[index].position);
            }
            // The player ends by itself: only the elapsed time goes back.
            player.Release(steps.size());
            QTRY_COMPARE(frm.JvCmdProc->State(), TJvCreateProcess::TState::Idle);
            QCOMPARE(frm.JvLabBgTime->text(), QString("00:00:00"));
            QCOMPARE(frm.JvColorTrkBar->Position(), steps.last().position);
            QCOMPARE(frm.JvLabEdTime->text(), QString("00:00:03"));
            QVERIFY(frm.isVisible());
        }));
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void statusLineWithoutSecondsIsShownAsAnErrorAndPlaybackGoesOn()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        // The line feed ends the earlier status line, which "A:" alone would only
        // overwrite in part.
        ScriptedPlayer player({"A:   2.0\r", "\nA:\r", "A:   1.0\r"}, Ending::QuitOnRequest);
        ListAndSelect(window, m_threeSeconds);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QList<QByteArray> delivered;
            RecordDeliveries(frm, delivered);
            player.Release(0);
            QTRY_COMPARE(frm.JvLabBgTime->text(), QString("00:00:02"));
            player.Release(1);
            QTRY_VERIFY(!delivered.isEmpty() && delivered.last() == "A:");
            QCOMPARE(ErrorTexts(fixture.Shown), QStringList{"'' is not a valid integer value."});
            QCOMPARE(frm.JvLabBgTime->text(), QString("00:00:02"));
            QCOMPARE(frm.JvColorTrkBar->Position(), 2);
            player.Release(2);
            QTRY_COMPARE(frm.JvLabBgTime->text(), QString("00:00:01"));
            QCOMPARE(frm.JvColorTrkBar->Position(), 1);
        }));
    }

    void closingAsksThePlayerToQuit()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ScriptedPlayer player({"A:   1.0\r"}, Ending::QuitOnRequest);
        ListAndSelect(window, m_threeSeconds);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            player.Release(0);
            QTRY_COMPARE(frm.JvLabBgTime->text(), QString("00:00:01"));
        }));
        QVERIFY(NoPlayerLeft());
        QCOMPARE(player.Received(), QStringList{"quit"});
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void closingDoesNotWaitForAPlayerThatIgnoresTheRequest()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ScriptedPlayer player({""}, Ending::IgnoreRequests);
        ListAndSelect(window, m_threeSeconds);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            player.Release(0);
            QTRY_COMPARE(frm.JvLabBgTime->text(), QString("00:00:01"));
        }));
        // The window is gone while the player still runs: nothing waited.
        QCOMPARE(MplayerFrm, nullptr);
        QCOMPARE(OwnChildProcesses().size(), 1);
        // Once its pipes are taken it ends at its next status line.
        QVERIFY(NoPlayerLeft());
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    void missingPlayerShowsTheErrorOnceAndTheWindowStillWorks()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QVERIFY(!QFileInfo::exists(ProgramFolder() + "/bin/mplayer"));
        ListAndSelect(window, m_threeSeconds);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QVERIFY(frm.isVisible());
            QCOMPARE(frm.JvLabEdTime->text(), QString("00:00:03"));
            QCOMPARE(frm.JvCmdProc->State(), TJvCreateProcess::TState::Idle);
            QTest::qWait(100); // no output and no end may follow
            QCOMPARE(frm.JvLabBgTime->text(), QString("00:00:00"));
        }));
        QCOMPARE(ErrorTexts(fixture.Shown),
                 QStringList{"System Error.  Code: 2.\nNo such file or directory\nProgram: \"" + ProgramFolder()
                             + "/bin/mplayer\""});
        QCOMPARE(MplayerFrm, nullptr);
    }

    void durationSetsTheTotalAndTheRange_data()
    {
        QTest::addColumn<QString>("clip"); // empty: a file that is no clip
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("total");
        QTest::addColumn<int>("maximum");
        QTest::newRow("minutes") << "long.mp4" << QStringList{"-t", "171"} << "00:02:51" << 171;
        QTest::newRow("no duration") << QString() << QStringList{} << "02:50:00" << 10200;
        QTest::newRow("zero seconds keeps the default range")
            << "short.mp4" << QStringList{"-t", "0.4"} << "00:00:00" << 100;
    }
    void durationSetsTheTotalAndTheRange()
    {
        QFETCH(QString, clip);
        QFETCH(QStringList, arguments);
        QFETCH(QString, total);
        QFETCH(int, maximum);
        QTemporaryDir folder;
        QString path;
        if (clip.isEmpty()) {
            path = MakeFile(folder.path(), "notes.avi", "not a video\n");
        } else {
            ClipOptions options;
            options.fileName = clip;
            options.width = 16;
            options.height = 16;
            options.frameRate = 10;
            options.audio = false;
            options.extraArguments = arguments;
            path = MakeClip(folder.path(), options);
        }
        TMplayerFrm frm;
        MplayerFrm = &frm;
        TMplayerFunc().LoadDuration(path);
        MplayerFrm = nullptr;
        QCOMPARE(frm.JvLabEdTime->text(), total);
        QCOMPARE(frm.JvColorTrkBar->Maximum(), maximum);
    }
};

QTEST_MAIN(TestMiniPlayer)
#include "tst_miniplayer.moc"
