// Real clips through the real converter, read back with the real library.
#include "ProgramFixture.h"
#include "Clips.h"
#include "PrivateBus.h"
#include "media/MediaInfoDll.h"
#include "process/JvCreateProcess.h"
#include "tst_batch_support.h"

#include <QLineEdit>
#include <QStandardPaths>
#include <QtTest>

namespace {

QString Beside() { return QCoreApplication::applicationDirPath() + "/bin/ffmpeg"; }

void PutBeside(const QString& ffmpeg, const QByteArray& wrapper = {})
{
    QDir().mkpath(QFileInfo(Beside()).path());
    QFile::remove(Beside());
    if (wrapper.isEmpty()) {
        QVERIFY(QFile::link(ffmpeg, Beside()));
        return;
    }
    QFile script(Beside());
    QVERIFY(script.open(QIODevice::WriteOnly));
    script.write(wrapper);
    script.close();
    QVERIFY(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
}

} // namespace

class TestBatchFFmpeg : public QObject {
    Q_OBJECT
    // Before anything in this program touches D-Bus: the window's tray icon
    // connects to the session bus as soon as it exists.
    std::unique_ptr<PrivateBus> bus;

    QString ffmpeg;

private slots:
    void initTestCase()
    {
        bus = std::make_unique<PrivateBus>();
        ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        QVERIFY(!ffmpeg.isEmpty());
        PutBeside(ffmpeg);
        QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
    }

    // The output folder's file system fills up while the converter writes:
    // it may still end with 0, leaving a file no player can read. A file
    // size limit does the same to the real converter.
    void fullDiskIsAFailureWithItsCause()
    {
        PutBeside(ffmpeg, "#!/bin/sh\ntrap '' XFSZ\nulimit -f 40\nexec '" + ffmpeg.toUtf8() + "' \"$@\"\n");
        const auto restore = qScopeGuard([this] { PutBeside(ffmpeg); });
        QTemporaryDir files;
        ClipOptions options;
        options.seconds = 2;
        options.width = 160;
        options.height = 120;
        const QString source = MakeClip(files.path(), options);
        QDir(files.path()).mkpath("out");

        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        // MPEG-4 Visual at a high bitrate: far more than the limit allows.
        fixture.PrepareDatabase({"update cmbex_itemindex set cmbex_index = (select cmbex_index from cmbex_vdocodec "
                                 "where cmbex_name = 'MPEG-4 Part 2') where cmbex_tag = 1",
                                 "update cmbex_itemindex set cmbex_index = (select cmbex_index from cmbex_vdobitrate "
                                 "where cmbex_name = '8000 kb/s') where cmbex_tag = 2"});
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(files.filePath("out"));
        AddRow(window, source, "00:00:02");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(Marks(window), QList<int>{TImageList::ConversionFailed});
        const QStringList toolTip = window->FileListView->topLevelItem(0)->toolTip(0).split('\n');
        QVERIFY2(toolTip.size() >= 2, qPrintable(toolTip.join('\n')));
        QVERIFY2(toolTip.filter("File too large").size() >= 1, qPrintable(toolTip.join('\n')));
        QVERIFY2(toolTip.constLast().startsWith("The converter ended with exit code "), qPrintable(toolTip.join('\n')));
        QCOMPARE(QDir(files.filePath("out")).entryList(QDir::Files), QStringList());
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList());
    }

    // A file turns up at the output path after its name was found free and
    // before the converter looks: the converter refuses to replace it, the
    // row fails in its words, and the file stays as it was.
    void fileThatTurnsUpBeforeTheConverterIsKept()
    {
        PutBeside(ffmpeg, "#!/bin/sh\nfor last; do :; done\nprintf 'kept' > \"$last\"\nexec '" + ffmpeg.toUtf8()
                              + "' \"$@\"\n");
        const auto restore = qScopeGuard([this] { PutBeside(ffmpeg); });
        QTemporaryDir files;
        ClipOptions options;
        options.seconds = 1;
        const QString source = MakeClip(files.path(), options);
        QDir(files.path()).mkpath("out");
        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(files.filePath("out"));
        AddRow(window, source, "00:00:01");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(Marks(window), QList<int>{TImageList::ConversionFailed});
        const QString toolTip = window->FileListView->topLevelItem(0)->toolTip(0);
        QVERIFY2(toolTip.contains("already exists"), qPrintable(toolTip));
        QFile kept(window->BatchRows->At(0).output);
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.readAll(), QByteArray("kept"));
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList());
    }

    // Without video the converter reports progress in "size=" lines.
    void audioOnlyConversionCompletes()
    {
        QTemporaryDir files;
        ClipOptions options;
        options.video = false;
        options.seconds = 2;
        options.fileName = "tune.wav";
        options.audioCodec = "pcm_s16le";
        const QString source = MakeClip(files.path(), options);
        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(files.path());
        AddRow(window, source, "00:00:02");
        QStringList shown;
        QObject::connect(window->JvEditCmdMsg, &QLineEdit::textChanged, window, [&](const QString& text) {
            if (!text.isEmpty())
                shown << text;
        });
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList());
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        QCOMPARE(Column(window, 4), QStringList{"100%"});
        QVERIFY(!shown.isEmpty());
        for (const QString& line : shown)
            QVERIFY2(line.startsWith("size=") && line.contains(" time=00:00:0"), qPrintable(line));
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
        fixture.PrepareDatabase({"update cmbex_itemindex set cmbex_index = (select cmbex_index from cmbex_vdocodec "
                                 "where cmbex_name = 'MPEG-4 Part 2') where cmbex_tag = 1",
                                 "update cmbex_itemindex set cmbex_index = (select cmbex_index from cmbex_adocodec "
                                 "where cmbex_name = 'MP3') where cmbex_tag = 6"});
        TFFmpegFrm* window = fixture.Start();
        const QString out = files.filePath("my out");
        window->JvEditDir->setText(out);
        for (const QString& source : {quoted, first, second})
            AddRow(window, source, "00:00:02");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(ErrorTexts(fixture.Shown), QStringList());
        QCOMPARE(Marks(window), QList<int>(3, TImageList::Converted));
        QCOMPARE(Column(window, 4), QStringList(3, "100%"));

        for (const char* name : {"it's a \"quoted\" clip.mp4", "clip.mp4", "clip (2).mp4"}) {
            MediaInfoQuery output(QDir(out).filePath(QString::fromUtf8(name)).toUtf8());
            QCOMPARE(output.Get(MediaInfoStream::General, "Format"), QByteArray("MPEG-4"));
            QCOMPARE(output.Get(MediaInfoStream::Video, "Format"), QByteArray("MPEG-4 Visual"));
            QCOMPARE(output.Get(MediaInfoStream::Audio, "Format"), QByteArray("MPEG Audio"));
        }
        QCOMPARE(QDir(out).entryList(QDir::Files).size(), 3);
    }

    // A source cut off after its index converts "successfully" into a
    // fraction of its playing time: the row stays completed but says so.
    void cutOffSourceIsFlaggedShort()
    {
        QTemporaryDir files;
        ClipOptions options;
        options.seconds = 3;
        options.width = 160;
        options.height = 120;
        options.fileName = "whole.mp4";
        options.extraArguments = {"-movflags", "+faststart"};
        QFile whole(MakeClip(files.path(), options));
        QVERIFY(whole.open(QIODevice::ReadOnly));
        const QString cut = MakeFile(files.path(), "cut.mp4", whole.read(whole.size() * 3 / 10));
        ProgramFixture fixture;
        RecordingPowerOff powerOff(nullptr);
        TFFmpegFrm* window = fixture.Start();
        QDir(files.path()).mkpath("out");
        window->JvEditDir->setText(files.path() + "/out");
        AddRow(window, cut, "00:00:03");
        Press(window, "ConvFileBtn");
        QTRY_COMPARE_WITH_TIMEOUT(ButtonsEnabled(window), Idle, 60000);
        QCOMPARE(Marks(window), QList<int>{TImageList::Converted});
        const QString toolTip = window->FileListView->topLevelItem(0)->toolTip(0);
        QVERIFY2(toolTip.startsWith("The output plays 0.") && toolTip.contains(" of the source's 3."),
                 qPrintable(toolTip));
        QCOMPARE(fixture.Notifier.Notices.size(), 1);
        QCOMPARE(fixture.Notifier.Notices[0].body, QString("1 file converted, 1 warning"));
        qInfo() << "cut-off source:" << toolTip;
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
