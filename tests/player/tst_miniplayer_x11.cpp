// The real player drawing into the mini player on a real X display.
#include "Clips.h"
#include "MiniPlayerRun.h"
#include "ProgramFixture.h"
#include "ScriptedPlayer.h"
#include "app/FFmpegGUI.h"
#include "engine/ProgramFolder.h"
#include "player/MplayerGUI.h"
#include "player/JvColorTrkBar.h"
#include "player/MplayerPanel.h"

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QtTest>

namespace {

bool ShowsMoreThanTheBackground(const QImage& image)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) != TMplayerPanel::Background)
                return true;
    return false;
}

// The title the window manager is given for a window.
QString XWindowTitle(WId window)
{
    QProcess xprop;
    xprop.start("xprop", {"-id", QString::number(window), "_NET_WM_NAME"});
    if (!xprop.waitForFinished(10000))
        return "xprop did not answer";
    const QString answer = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const qsizetype start = answer.indexOf('"');
    return start < 0 ? answer : answer.mid(start + 1, answer.lastIndexOf('"') - start - 1);
}

} // namespace

class TestMiniPlayerX11 : public QObject {
    Q_OBJECT

    QTemporaryDir m_home;
    QString m_clip;
    bool m_madeBinFolder = false;

private slots:
    void initTestCase()
    {
        QCOMPARE(QGuiApplication::platformName(), QString("xcb"));
        const QString mplayer = QStandardPaths::findExecutable("mplayer");
        QVERIFY2(!mplayer.isEmpty(), "mplayer is not installed");
        // Silence for the test only: the player reads its own configuration
        // from the home folder; the program's command line stays as it is.
        QVERIFY(QDir(m_home.path()).mkpath(".mplayer"));
        QFile config(m_home.filePath(".mplayer/config"));
        QVERIFY(config.open(QIODevice::WriteOnly));
        config.write("ao=null\n");
        config.close();
        qputenv("HOME", m_home.path().toUtf8());

        m_madeBinFolder = QDir(ProgramFolder()).mkdir("bin");
        QVERIFY(QFile::link(mplayer, ProgramFolder() + "/bin/mplayer"));
        ClipOptions options;
        options.fileName = "a clip.mp4";
        options.seconds = 8;
        m_clip = MakeClip(m_home.path(), options);
    }

    void cleanupTestCase()
    {
        QFile::remove(ProgramFolder() + "/bin/mplayer");
        if (m_madeBinFolder)
            QDir(ProgramFolder()).rmdir("bin");
    }

    void clipPlaysInThePanelAndEndsWithTheWindow()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ListAndSelect(window, m_clip);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QVERIFY(QTest::qWaitForWindowExposed(&frm));
            QTRY_VERIFY_WITH_TIMEOUT(frm.JvLabBgTime->text() >= QString("00:00:02"), 20000);
            QCOMPARE(frm.JvLabEdTime->text(), QString("00:00:08"));
            const QImage panel = frm.screen()->grabWindow(frm.JvMplayer->winId()).toImage();
            QCOMPARE(panel.size(), QSize(372, 259));
            QVERIFY2(ShowsMoreThanTheBackground(panel), "the panel shows no video");
        }));
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
        QVERIFY2(QTest::qWaitFor([] { return OwnChildProcesses().isEmpty(); }, 20000),
                 "the player went on after its window closed");
    }

    // Without sound the player writes only the video position; the clock
    // and the bar follow it all the same.
    void clockRunsForAClipWithoutSound()
    {
        ClipOptions options;
        options.fileName = "silent clip.mp4";
        options.audio = false;
        options.seconds = 8;
        const QString clip = MakeClip(m_home.path(), options);
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        ListAndSelect(window, clip);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QTRY_VERIFY_WITH_TIMEOUT(frm.JvLabBgTime->text() >= QString("00:00:02"), 20000);
            QVERIFY(frm.JvColorTrkBar->Position() >= 2);
        }));
        QVERIFY(ErrorTexts(fixture.Shown).isEmpty());
    }

    // The window manager shows each title as the program gives it.
    void titlesAreTheProgramsOwn()
    {
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        QCOMPARE(XWindowTitle(window->winId()), QString("Movarin"));
        ListAndSelect(window, m_clip);
        QVERIFY(PlayWhileOpen(window, [&](TMplayerFrm& frm) {
            QVERIFY(QTest::qWaitForWindowExposed(&frm));
            QCOMPARE(XWindowTitle(frm.winId()), QString("Mini Player"));
        }));
    }
};

QTEST_MAIN(TestMiniPlayerX11)
#include "tst_miniplayer_x11.moc"
