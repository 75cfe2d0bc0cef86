// The command line a plan gives, run by the real ffmpeg on small generated
// sources of awkward shapes and sound: what comes out must be what the
// choices and the source promise.
#include "MediaProbe.h"
#include "ToolRun.h"
#include "batch/CommandLine.h"
#include "batch/ConversionPlan.h"
#include "media/MediaInfoDll.h"
#include "process/ShellWords.h"

#include <QStandardPaths>
#include <QTemporaryDir>
#include <QtTest>

namespace {

TChoices Defaults()
{
    return {{{"H.264", "-c:v libx264 -pix_fmt yuv420p"},
             {"Standard quality", "quality:standard"},
             {"Same as source", ""},
             {"Same as source", ""},
             {"Same as source", ""},
             {"AAC", "-c:a aac"},
             {"128 kb/s", "-b:a 128k"},
             {"Same as source", ""},
             {"Same as source", ""}}};
}

// Fast enough for a test; the shipped levels are for people.
std::optional<QByteArray> Quality(const QByteArray&, const QString& encoder)
{
    if (encoder == "libx264")
        return QByteArray("-crf 30 -preset ultrafast");
    return std::nullopt;
}

QStringList Arguments(const QByteArray& commandLine)
{
    QStringList arguments;
    for (const QByteArray& word : SplitShellWords(commandLine))
        arguments << QString::fromUtf8(word);
    return arguments;
}

const QString Picture = QStringLiteral("-f lavfi -i testsrc2=size=%1:rate=25:duration=1");
const QString Sine = QStringLiteral("-f lavfi -i sine=frequency=440:sample_rate=%1:duration=1");

struct Case {
    QString source;             // ffmpeg arguments that make the source, its file last
    QList<QPair<int, TChoice>> choices; // by option kind
    int width = 0;              // expected picture, 0 for none
    int height = 0;
    double displayAspect = 0;
    QList<int> channels {};       // per sound track
    QList<int> samplingRates {};  // per sound track, when checked
    int subtitles = 0;
    QString rewrap {}; // ffmpeg arguments that wrap the made file anew, its file last
};

} // namespace

Q_DECLARE_METATYPE(Case)

class TestConversionFFmpeg : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString ffmpeg;
    QString ffprobe;

private slots:
    void initTestCase()
    {
        ffmpeg = QStandardPaths::findExecutable("ffmpeg");
        ffprobe = QStandardPaths::findExecutable("ffprobe");
        QVERIFY(!ffmpeg.isEmpty() && !ffprobe.isEmpty());
        QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
    }

    void outputKeepsWhatTheSourceAndChoicesPromise_data()
    {
        QTest::addColumn<Case>("conversion");
        const auto picture = [](const char* size) { return Picture.arg(QLatin1String(size)); };
        const TChoice upTo720{"Up to 720p", "fit:1280x720"};
        QTest::newRow("odd height is rounded, shape kept")
            << Case{picture("640x465") + " odd.mkv", {}, 640, 464, 640.0 / 465};
        QTest::newRow("anamorphic PAL wide fits 720p as it is")
            << Case{picture("720x576") + " -aspect 16:9 -c:v mpeg2video wide.mpg", {{VdoSize, upTo720}}, 720, 576, 16.0 / 9};
        QTest::newRow("anamorphic into a smaller box gets square pixels")
            << Case{picture("720x576") + " -aspect 16:9 -c:v mpeg2video wide.mpg", {{VdoSize, {"Up to 480p", "fit:854x480"}}},
                    854, 480, 16.0 / 9};
        QTest::newRow("4:3 HD fits 720p without stretching")
            << Case{picture("1440x1080") + " four-three.mp4", {{VdoSize, upTo720}}, 960, 720, 4.0 / 3};
        QTest::newRow("16:9 HD into 720p") << Case{picture("1920x1080") + " hd.mp4", {{VdoSize, upTo720}}, 1280, 720, 16.0 / 9};
        QTest::newRow("a small picture never grows")
            << Case{picture("176x144") + " small.mp4", {{VdoSize, {"Up to 1080p", "fit:1920x1080"}}}, 176, 144, 176.0 / 144};
        QTest::newRow("portrait phone picture")
            << Case{picture("1080x1920") + " portrait.mp4", {{VdoSize, upTo720}}, 406, 720, 1080.0 / 1920};
        // Only a copy keeps the turn that the metadata asks for.
        QTest::newRow("turned by its metadata")
            << Case{picture("1280x720") + " flat.mp4", {{VdoSize, upTo720}}, 406, 720, 720.0 / 1280, {}, {}, 0,
                    "-c copy -metadata:s:v:0 rotate=90 turned.mov"};
        QTest::newRow("MP3 asked for 5.1 gets stereo")
            << Case{picture("320x240") + ' ' + Sine.arg(48000) + " -ac 6 -c:a aac six.mp4",
                    {{AdoCodec, {"MP3", "-c:a libmp3lame"}}, {AdoChannels, {"5.1 surround", "-ac 6"}}},
                    320, 240, 4.0 / 3, {2}};
        QTest::newRow("MP3 on 5.1 as the source gets stereo")
            << Case{picture("320x240") + ' ' + Sine.arg(48000) + " -ac 6 -c:a aac six.mp4",
                    {{AdoCodec, {"MP3", "-c:a libmp3lame"}}}, 320, 240, 4.0 / 3, {2}};
        QTest::newRow("every sound track with its own channels")
            << Case{picture("320x240") + ' ' + Sine.arg(48000) + ' ' + Sine.arg(44100)
                        + " -map 0 -map 1 -map 2 -ac:a:0 1 -ac:a:1 6 -c:a aac two-tracks.mkv",
                    {}, 320, 240, 4.0 / 3, {1, 6}, {48000, 44100}};
        QTest::newRow("Opus asked for 44.1 kHz runs at 48")
            << Case{picture("320x240") + ' ' + Sine.arg(44100) + " -c:a aac cd.mp4",
                    {{AdoCodec, {"Opus", "-c:a libopus"}}, {AdoFreq, {"44100 Hz (CD)", "-ar 44100"}}},
                    320, 240, 4.0 / 3, {1}, {48000}};
        QTest::newRow("AC-3 on 22.05 kHz as the source runs at 32")
            << Case{picture("320x240") + ' ' + Sine.arg(22050) + " -c:a aac low.mp4",
                    {{AdoCodec, {"AC-3 (Dolby)", "-c:a ac3"}}}, 320, 240, 4.0 / 3, {1}, {32000}};
        QTest::newRow("text subtitles become MP4 text")
            << Case{picture("320x240") + " -i subtitles.srt -c:s srt subtitled.mkv", {}, 320, 240, 4.0 / 3, {}, {}, 1};
    }
    void outputKeepsWhatTheSourceAndChoicesPromise()
    {
        QFETCH(Case, conversion);
        QFile subtitles(folder.filePath("subtitles.srt"));
        QVERIFY(subtitles.open(QIODevice::WriteOnly));
        subtitles.write("1\n00:00:00,000 --> 00:00:00,900\nHello\n");
        subtitles.close();
        QStringList make = conversion.source.split(' ');
        QString source = folder.filePath(make.takeLast());
        for (QString& word : make)
            if (word.endsWith(".srt"))
                word = folder.filePath(word);
        const ToolResult made = runTool(ffmpeg, QStringList{"-v", "error", "-y"} + make + QStringList{source});
        QVERIFY2(made.succeeded(), made.output.constData());
        if (!conversion.rewrap.isEmpty()) {
            QStringList rewrap = conversion.rewrap.split(' ');
            const QString rewrapped = folder.filePath(rewrap.takeLast());
            const ToolResult wrapped =
                runTool(ffmpeg, QStringList{"-v", "error", "-y", "-i", source} + rewrap + QStringList{rewrapped});
            QVERIFY2(wrapped.succeeded(), wrapped.output.constData());
            source = rewrapped;
        }

        TChoices choices = Defaults();
        for (const auto& [kind, choice] : conversion.choices)
            choices[kind] = choice;
        const TConversionPlan plan = PlanConversion(ReadSourceFacts(source), choices, Quality);
        const QString output = folder.filePath("out.mp4");
        QFile::remove(output);
        const QByteArray commandLine = JoinCommandLine(ffmpeg.toUtf8(), source.toUtf8(), plan.arguments, output.toUtf8());
        const ToolResult converted = runTool(ffmpeg, Arguments(commandLine).mid(1));
        QVERIFY2(converted.succeeded(), (commandLine + '\n' + converted.output.right(2000)).constData());

        const ProbedFile result = probeMediaFile(ffprobe, output);
        QVERIFY2(result.error.isEmpty(), qPrintable(result.error));
        const QList<ProbedStream> pictures = result.streamsOfType("video");
        QCOMPARE(pictures.size(), 1);
        QCOMPARE(pictures[0].width, conversion.width);
        QCOMPARE(pictures[0].height, conversion.height);
        QVERIFY2(qAbs(pictures[0].displayAspect / conversion.displayAspect - 1) < 0.01,
                 qPrintable(QString::number(pictures[0].displayAspect)));
        const QList<ProbedStream> sound = result.streamsOfType("audio");
        QCOMPARE(sound.size(), conversion.channels.size());
        for (qsizetype track = 0; track < sound.size(); ++track) {
            QCOMPARE(sound[track].channels, conversion.channels[track]);
            if (track < conversion.samplingRates.size())
                QCOMPARE(sound[track].sampleRate, conversion.samplingRates[track]);
        }
        QCOMPARE(result.streamsOfType("subtitle").size(), conversion.subtitles);
    }

    // Combed frames are deinterlaced; progressive frames pass the chain
    // untouched.
    void onlyCombedPicturesAreDeinterlaced()
    {
        const QString combed = folder.filePath("combed.mp4");
        const QString progressive = folder.filePath("progressive.mp4");
        for (const auto& [path, filter] : {std::pair{combed, QString("interlace=scan=tff")}, {progressive, QString("framestep=2")}}) {
            const ToolResult made = runTool(ffmpeg, {"-v", "error", "-y", "-f", "lavfi", "-i",
                                                     "smptehdbars=size=720x576:rate=50,rotate=a=t:c=black", "-t", "2",
                                                     "-vf", filter, "-c:v", "libx264", "-crf", "10", path});
            QVERIFY2(made.succeeded(), made.output.constData());
        }
        const QList<QByteArray> words = SplitShellWords(PlanConversion(ReadSourceFacts(combed), Defaults(), Quality).arguments);
        const QString chain = QString::fromUtf8(words.value(words.indexOf("-vf") + 1));
        const auto frames = [&](const QString& path, const QStringList& filters) {
            return runToolForOutput(ffmpeg, QStringList{"-v", "error", "-i", path} + filters + QStringList{"-f", "framemd5", "-"})
                .output;
        };
        QCOMPARE(frames(progressive, {"-vf", chain}), frames(progressive, {}));
        const QByteArray deinterlaced = frames(combed, {"-vf", chain});
        QCOMPARE(deinterlaced, frames(combed, {"-vf", "bwdif=mode=send_frame:deint=all"}));
    }
};

QTEST_GUILESS_MAIN(TestConversionFFmpeg)
#include "tst_conversion_ffmpeg.moc"
