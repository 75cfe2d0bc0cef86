// The probe against the ffmpeg installed on this machine.
#include "converter/AbilitiesCache.h"
#include "converter/CodecFragment.h"
#include "converter/ConverterProbe.h"
#include "converter/InParallel.h"
#include "converter/SourceExtensions.h"

#include <QtTest>

using namespace std::chrono_literals;

class TestConverterInstalled : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void learnsAndRemembersWhatItCanDo();

private:
    QTemporaryDir dir_;
    QString ffmpeg_;
};

void TestConverterInstalled::initTestCase()
{
    QVERIFY(dir_.isValid());
    qputenv("XDG_CACHE_HOME", dir_.filePath("cache").toUtf8());
    ffmpeg_ = QStandardPaths::findExecutable("ffmpeg");
    QVERIFY2(!ffmpeg_.isEmpty(), "ffmpeg is not installed");
}

void TestConverterInstalled::learnsAndRemembersWhatItCanDo()
{
    const QStringList hardware = {"-vaapi_device /dev/dri/renderD128 -vf format=nv12,hwupload -c:v h264_vaapi",
                                  "-c:v h264_nvenc", "-c:v h264_qsv"};
    const QStringList catalogue = QStringList{"-c:v libx264 -pix_fmt yuv420p", "-c:v mpeg4", "-c:v copy",
                                              "-c:a aac", "-c:a ac3"}
                                  + hardware;
    TConverterAbilities learnt;
    {
        TConverterProbe probe;
        QSignalSpy failures(&probe, &TConverterProbe::ProbeFailed);
        // A machine busy with the rest of the suite answers slower.
        probe.SetLimits(15s, ProbeParallelism());
        probe.Start(ffmpeg_, catalogue);
        QVERIFY(probe.IsProbing());
        QVERIFY(QTest::qWaitFor([&] { return !probe.IsProbing(); }, 600'000));
        QCOMPARE(failures.count(), 0);
        learnt = probe.Abilities();
    }

    QVERIFY(learnt.encoders);
    QVERIFY(learnt.encoders->video.contains("libx264"));
    QVERIFY(learnt.encoders->audio.contains("aac"));
    for (const char* fragment : {"-c:v libx264 -pix_fmt yuv420p", "-c:v mpeg4", "-c:v copy", "-c:a aac", "-c:a ac3"})
        QVERIFY2(learnt.Offers(fragment), fragment);
    // Whatever the trials found on this machine, each one's outcome is kept.
    for (const QString& fragment : hardware)
        QVERIFY2(learnt.trials.contains(NormalFragment(fragment)), qPrintable(fragment));

    const QStringList extensions = learnt.SourceExtensions();
    for (const QString& extension : WellKnownVideoExtensions())
        QVERIFY2(extensions.contains(extension), qPrintable(extension));
    for (const char* extension : {"mp3", "wav", "flac", "m4a", "mk3d"})
        QVERIFY2(extensions.contains(extension), extension);
    for (const char* extension : {"srt", "ass", "vtt", "txt", "jpg", "png", "avif", "m3u8", "ffconcat"})
        QVERIFY2(!extensions.contains(extension), extension);

    const std::optional<TRememberedAbilities> remembered = LoadAbilities(DefaultAbilitiesFile());
    QVERIFY(remembered);
    QCOMPARE(remembered->abilities, learnt);
    QVERIFY(std::any_of(remembered->build.libraries.begin(), remembered->build.libraries.end(),
                        [](const TFileStamp& library) { return library.path.contains("libavcodec.so"); }));

    TConverterProbe again;
    again.Start(ffmpeg_, catalogue);
    QVERIFY(!again.IsProbing());
    QCOMPARE(again.Abilities(), learnt);
}

QTEST_GUILESS_MAIN(TestConverterInstalled)
#include "tst_converter_installed.moc"
