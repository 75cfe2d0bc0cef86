// Real clips through the real converter, read back with the real library.
#include "ProgramFixture.h"
#include "Clips.h"
#include "PrivateBus.h"
#include "media/MediaInfoDll.h"
#include "process/JvCreateProcess.h"
#include "tst_batch_support.h"

#include <QStandardPaths>
#include <QtTest>

class TestBatchFFmpeg : public QObject {
    Q_OBJECT
    // Before anything in this program touches D-Bus: the window's tray icon
    // connects to the session bus as soon as it exists.
    std::unique_ptr<PrivateBus> bus;

private slots:
    void initTestCase()
    {
        bus = std::make_unique<PrivateBus>();
        const QString ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        QVERIFY(!ffmpeg.isEmpty());
        const QString beside = QCoreApplication::applicationDirPath() + "/bin/ffmpeg";
        QDir().mkpath(QFileInfo(beside).path());
        QFile::remove(beside);
        QVERIFY(QFile::link(ffmpeg, beside));
        QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
    }

    void clipsBecomeMp4sWithTheChosenCodecs()
    {
        QTemporaryDir files;
        QDir(files.path()).mkpath("a");
        QDir(files.path()).mkpath("b");
        QDir(files.path()).mkpath("my out");
        ClipOptions options;
        options.seconds = 2;
        options.width = 160;
        options.height = 120;
        options.fileName = "it's a \"quoted\" clip.mkv";
        const QString quoted = MakeClip(files.filePath("a"), options);
        options.fileName = "clip.mp4";
        const QString first = MakeClip(files.filePath("a"), options);
        const QString second = MakeClip(files.filePath("b"), options);

        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        // MPEG-4 Visual and MP3, unlike the clips' own codecs.
        fixture.PrepareDatabase({"update cmbex_itemindex set cmbex_index = 2 where cmbex_tag = 1",
                                 "update cmbex_itemindex set cmbex_index = 1 where cmbex_tag = 6"});
        TFFmpegFrm* window = fixture.Start();
        const QString out = files.filePath("my out");
        window->JvEditDir->setText(out);
        for (const QString& source : {quoted, first, second})
            AddRow(window, source, "00:00:02");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList());
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        for (const QString& percent : Column(window, 4))
            QVERIFY2(percent.chopped(1).toInt() >= 99, qPrintable(percent));

        for (const char* name : {"it's a \"quoted\" clip.mp4", "clip.mp4", "clip (2).mp4"}) {
            MediaInfoQuery output(QDir(out).filePath(QString::fromUtf8(name)).toUtf8());
            QCOMPARE(output.Get(MediaInfoStream::General, "Format"), QByteArray("MPEG-4"));
            QCOMPARE(output.Get(MediaInfoStream::Video, "Format"), QByteArray("MPEG-4 Visual"));
            QCOMPARE(output.Get(MediaInfoStream::Audio, "Format"), QByteArray("MPEG Audio"));
        }
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
    }

    // The login manager's lock, through the real binding over a private bus
    // to a stand-in login manager, lasts exactly as long as the batch.
    void sleepLockIsHeldWhileTheConverterRuns()
    {
        QTemporaryDir files;
        ClipOptions options;
        options.seconds = 2;
        options.width = 160;
        options.height = 120;
        const QString clip = MakeClip(files.path(), options);
        BusService logind(DESKTOP_SERVICE_STANDIN, {"logind"});
        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        SetSleepInhibitorBackend(nullptr);
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(files.path() + "/out");
        QDir(files.path()).mkpath("out");
        AddRow(window, clip, "00:00:02");
        AddRow(window, clip, "00:00:02");
        QStringList seenWhileConverting;
        window->JvCreateProcess->OnRead = [&, windowRead = window->JvCreateProcess->OnRead](
                                              TJvCreateProcess* sender, const QByteArray& line, bool newLine) {
            windowRead(sender, line, newLine);
            if (line.startsWith("frame=") && seenWhileConverting.isEmpty())
                seenWhileConverting = logind.Records();
        };
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(Marks(window), QList<int>(2, TImageList::Converted));
        QCOMPARE(seenWhileConverting, (QStringList{"Ready", "Inhibit|sleep:idle|Movarin|Converting videos|block"}));
        QTRY_COMPARE(logind.Records(),
                     (QStringList{"Ready", "Inhibit|sleep:idle|Movarin|Converting videos|block", "Released"}));
        qInfo() << "login manager stand-in saw:" << logind.Records();
    }
};

QTEST_MAIN(TestBatchFFmpeg)
#include "tst_batch_ffmpeg.moc"
