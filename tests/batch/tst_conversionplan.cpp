// Which streams go into the MP4 and with which options, decided from the
// source's facts and the chosen entries before the converter starts.
#include "batch/ConversionPlan.h"
#include "process/ShellWords.h"

#include <QtTest>

namespace {

TSourceFacts Source(const QString& videoFormat = "AVC", int width = 1280, int height = 720)
{
    TSourceFacts facts;
    facts.picture = TPictureFacts{videoFormat, {}, width, height, 1};
    facts.sound << TSoundFacts{"AAC", {}, 2, 48000};
    return facts;
}

TSoundFacts Sound(const QString& format, int channels, int rate) { return {format, {}, channels, rate}; }

// The shipped starting choices.
TChoices Defaults()
{
    return {{{"H.264", "-c:v libx264 -pix_fmt yuv420p"},
             {"Standard quality", "quality:standard"},
             {"Up to 1080p", "fit:1920x1080"},
             {"Same as source", ""},
             {"Same as source", ""},
             {"AAC", "-c:a aac"},
             {"128 kb/s", "-b:a 128k"},
             {"Same as source", ""},
             {"Same as source", ""}}};
}

TChoices With(TChoices choices, OptionKindIndex kind, const QString& name, const QByteArray& fragment)
{
    choices[kind] = {name, fragment};
    return choices;
}

const TChoice CopyVideo{"Copy video", "-c:v copy"};
const TChoice CopySound{"Copy sound", "-c:a copy"};

std::optional<QByteArray> Quality(const QByteArray& level, const QString& encoder)
{
    if (encoder == "libx264" && level == "standard")
        return QByteArray("-crf 23 -preset fast");
    return std::nullopt;
}

QList<QByteArray> Words(const TConversionPlan& plan) { return SplitShellWords(plan.arguments); }

// Whether the words hold these words next to each other.
bool HasRun(const QList<QByteArray>& words, const QByteArray& run)
{
    const QList<QByteArray> wanted = SplitShellWords(run);
    for (qsizetype at = 0; at + wanted.size() <= words.size(); ++at)
        if (words.mid(at, wanted.size()) == wanted)
            return true;
    return false;
}

QByteArray FilterChain(const TConversionPlan& plan)
{
    const QList<QByteArray> words = Words(plan);
    const qsizetype at = words.indexOf("-vf");
    return at >= 0 ? words.value(at + 1) : QByteArray();
}

} // namespace

Q_DECLARE_METATYPE(TSourceFacts)
Q_DECLARE_METATYPE(TChoices)

class TestConversionPlan : public QObject {
    Q_OBJECT
private slots:
    void startingChoicesEncodeEveryStreamAtConstantQuality()
    {
        const TConversionPlan plan = PlanConversion(Source(), Defaults(), Quality);
        const QList<QByteArray> words = Words(plan);
        QVERIFY2(HasRun(words, "-map 0:V:0? -map 0:a?"), plan.arguments.constData());
        QVERIFY(HasRun(words, "-c:v libx264 -pix_fmt yuv420p -crf 23 -preset fast -vf"));
        QVERIFY(FilterChain(plan).startsWith("idet="));
        QVERIFY(FilterChain(plan).contains("1920"));
        QVERIFY(HasRun(words, "-c:a aac -b:a 128k"));
        QVERIFY(!words.contains("-ac") && !words.contains("-ar") && !words.contains("-c:s"));
        QCOMPARE(plan.notes, QStringList());
    }

    // A choice that cannot work is refused with the choice to change named.
    void refusedChoices_data()
    {
        QTest::addColumn<TSourceFacts>("source");
        QTest::addColumn<TChoices>("choices");
        QTest::addColumn<QString>("message");
        TSourceFacts uhd = Source("AVC", 3840, 2160);
        TSourceFacts msMpeg4 = Source("MPEG-4 Visual", 640, 480);
        msMpeg4.picture->codecHint = "Microsoft";
        TSourceFacts wma = Source();
        wma.sound = {Sound("AAC", 2, 48000), Sound("WMA", 2, 44100)};
        TSourceFacts mp2 = Source();
        mp2.sound = {TSoundFacts{"MPEG Audio", "Layer 2", 2, 48000}};
        QTest::newRow("quality the encoder has no setting for")
            << Source() << With(Defaults(), VdoCodec, "MPEG-4 Part 2", "-c:v mpeg4")
            << "Video Bitrate \"Standard quality\" has no setting for the Video Codec \"MPEG-4 Part 2\": "
               "choose a fixed bitrate for Video Bitrate.";
        QTest::newRow("copy of a picture larger than the box")
            << uhd << With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment)
            << "Video Codec \"Copy video\" keeps the source's picture as it is, so Video Size \"Up to 1080p\" cannot "
               "apply: choose \"Same as source\" for Video Size, or another Video Codec.";
        QTest::newRow("copy with a frame rate")
            << Source() << With(With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment), VdoFps, "25 fps", "-r 25")
            << "Video Codec \"Copy video\" keeps the source's picture as it is, so Video Frame Rate \"25 fps\" cannot "
               "apply: choose \"Same as source\" for Video Frame Rate, or another Video Codec.";
        QTest::newRow("copy with an aspect")
            << Source() << With(With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment), VdoAspect, "4:3", "-aspect 4:3")
            << "Video Codec \"Copy video\" keeps the source's picture as it is, so Width Ratio \"4:3\" cannot apply: "
               "choose \"Same as source\" for Width Ratio, or another Video Codec.";
        QTest::newRow("copy of DV") << Source("DV", 720, 576) << With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment)
                                    << "The source's video (DV) cannot be copied into MP4: choose a Video Codec other "
                                       "than \"Copy video\".";
        QTest::newRow("copy of Microsoft MPEG-4")
            << msMpeg4 << With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment)
            << "The source's video (MPEG-4 Visual) cannot be copied into MP4: choose a Video Codec other than \"Copy "
               "video\".";
        QTest::newRow("copy of a second track in WMA")
            << wma << With(Defaults(), AdoCodec, CopySound.name, CopySound.fragment)
            << "The source's sound (WMA) cannot be copied into MP4: choose an Audio Codec other than \"Copy sound\".";
        QTest::newRow("copy of MP2") << mp2 << With(Defaults(), AdoCodec, CopySound.name, CopySound.fragment)
                                     << "The source's sound (MPEG Audio) cannot be copied into MP4: choose an Audio "
                                        "Codec other than \"Copy sound\".";
        QTest::newRow("copied sound with a channel choice")
            << Source() << With(With(Defaults(), AdoCodec, CopySound.name, CopySound.fragment), AdoChannels, "Mono", "-ac 1")
            << "Audio Codec \"Copy sound\" keeps the source's sound as it is, so Audio Channel \"Mono\" cannot apply: "
               "choose \"Same as source\" for Audio Channel, or another Audio Codec.";
    }
    void refusedChoices()
    {
        QFETCH(TSourceFacts, source);
        QFETCH(TChoices, choices);
        QFETCH(QString, message);
        try {
            PlanConversion(source, choices, Quality);
            QFAIL("the choices were taken");
        } catch (const EChoiceConflict& conflict) {
            QCOMPARE(QString::fromUtf8(conflict.what()), message);
        }
    }

    // What an encoder cannot take is adapted, and the tool tip says so.
    void soundAdaptations_data()
    {
        QTest::addColumn<QList<TSoundFacts>>("sound");
        QTest::addColumn<TChoices>("choices");
        QTest::addColumn<QByteArray>("arguments"); // a run of the sound options
        QTest::addColumn<QStringList>("notes");
        const TChoices mp3 = With(Defaults(), AdoCodec, "MP3", "-c:a libmp3lame");
        const TChoices opus = With(Defaults(), AdoCodec, "Opus", "-c:a libopus");
        QTest::newRow("MP3 asked for 5.1") << QList<TSoundFacts>{Sound("AAC", 6, 48000)}
                                           << With(mp3, AdoChannels, "5.1 surround", "-ac 6")
                                           << QByteArray("-c:a libmp3lame -b:a 128k -ac 2")
                                           << QStringList{"\"MP3\" holds at most 2 channels: \"5.1 surround\" is mixed "
                                                          "down to 2."};
        QTest::newRow("MP3 on a 5.1 track, channels as the source")
            << QList<TSoundFacts>{Sound("AAC", 2, 48000), Sound("AC-3", 6, 48000)} << mp3
            << QByteArray("-c:a libmp3lame -b:a 128k")
            << QStringList{"A sound track of 6 channels is mixed down to 2: \"MP3\" holds at most 2."};
        QTest::newRow("Opus asked for 44.1 kHz")
            << QList<TSoundFacts>{Sound("AAC", 2, 48000)} << With(opus, AdoFreq, "44100 Hz (CD)", "-ar 44100")
            << QByteArray("-c:a libopus -b:a 128k -ar 48000")
            << QStringList{"\"Opus\" does not take 44100 Hz: the sound is resampled to 48000 Hz."};
        QTest::newRow("Opus on a 44.1 kHz track") << QList<TSoundFacts>{Sound("MPEG Audio", 2, 44100)} << opus
                                                  << QByteArray("-c:a libopus -b:a 128k")
                                                  << QStringList{"A sound track at 44100 Hz is resampled to 48000 Hz: "
                                                                 "\"Opus\" does not take 44100 Hz."};
        QTest::newRow("AC-3 asked for 22.05 kHz")
            << QList<TSoundFacts>{Sound("AAC", 2, 48000)}
            << With(With(Defaults(), AdoCodec, "AC-3 (Dolby)", "-c:a ac3"), AdoFreq, "22050 Hz", "-ar 22050")
            << QByteArray("-c:a ac3 -b:a 128k -ar 32000")
            << QStringList{"\"AC-3 (Dolby)\" does not take 22050 Hz: the sound is resampled to 32000 Hz."};
        QTest::newRow("AAC takes 5.1 and 96 kHz as they are")
            << QList<TSoundFacts>{Sound("PCM", 6, 96000)} << Defaults() << QByteArray("-c:a aac -b:a 128k")
            << QStringList{};
        QTest::newRow("unknown facts adapt nothing")
            << QList<TSoundFacts>{Sound("", 0, 0)} << mp3 << QByteArray("-c:a libmp3lame -b:a 128k") << QStringList{};
    }
    void soundAdaptations()
    {
        QFETCH(QList<TSoundFacts>, sound);
        QFETCH(TChoices, choices);
        QFETCH(QByteArray, arguments);
        QFETCH(QStringList, notes);
        TSourceFacts source = Source();
        source.sound = sound;
        const TConversionPlan plan = PlanConversion(source, choices, Quality);
        // The sound options come last, after the picture's.
        QVERIFY2(plan.arguments.endsWith(arguments), plan.arguments.constData());
        QCOMPARE(plan.notes, notes);
    }

    void copiedStreamsTakeNoFilterAndSayWhatDoesNotApply()
    {
        TChoices choices = With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment);
        choices = With(choices, AdoCodec, CopySound.name, CopySound.fragment);
        const TConversionPlan plan = PlanConversion(Source("HEVC", 1920, 1080), choices, Quality);
        QCOMPARE(plan.arguments, QByteArray("-map 0:V:0? -map 0:a? -c:v copy -c:a copy"));
        QCOMPARE(plan.notes, (QStringList{"The video is copied as it is: Video Bitrate does not apply.",
                                          "The sound is copied as it is: Audio Bitrate does not apply."}));
    }

    // A box no smaller than the picture changes nothing, even with pixels
    // that are not square: copying it is fine.
    void copyFitsAnAnamorphicPictureThatIsNoLarger()
    {
        TSourceFacts source = Source("AVC", 720, 576);
        source.picture->pixelAspect = 64.0 / 45; // shown 1024 wide
        TChoices choices = With(Defaults(), VdoCodec, CopyVideo.name, CopyVideo.fragment);
        QVERIFY(!PlanConversion(source, With(choices, VdoSize, "Up to 576p", "fit:1024x576"), Quality).arguments.isEmpty());
        QVERIFY_THROWS_EXCEPTION(EChoiceConflict,
                                 PlanConversion(source, With(choices, VdoSize, "Up to 480p", "fit:854x480"), Quality));
    }

    void subtitles_data()
    {
        QTest::addColumn<QList<TSubtitleFacts>>("subtitles");
        QTest::addColumn<QList<QByteArray>>("runs");
        QTest::addColumn<QStringList>("notes");
        QTest::newRow("none") << QList<TSubtitleFacts>{} << QList<QByteArray>{} << QStringList{};
        QTest::newRow("text only, all of them")
            << QList<TSubtitleFacts>{{"UTF-8", 2, false}, {"ASS", std::nullopt, false}}
            << QList<QByteArray>{"-map 0:s?", "-c:s mov_text"} << QStringList{};
        QTest::newRow("text beside picture, picked by number")
            << QList<TSubtitleFacts>{{"PGS", 2, false}, {"UTF-8", 3, false}, {"PGS", 4, false}}
            << QList<QByteArray>{"-map 0:3", "-c:s mov_text"}
            << QStringList{"2 picture subtitle tracks (PGS) are left out: MP4 holds text subtitles only."};
        QTest::newRow("text beside picture without numbers")
            << QList<TSubtitleFacts>{{"DVB Subtitle", std::nullopt, false}, {"UTF-8", std::nullopt, false}}
            << QList<QByteArray>{}
            << QStringList{"A picture subtitle track (DVB Subtitle) is left out: MP4 holds text subtitles only.",
                           "A text subtitle track (UTF-8) is left out: it cannot be told apart from the picture ones in "
                           "this file."};
        QTest::newRow("captions ride in the picture")
            << QList<TSubtitleFacts>{{"EIA-608", std::nullopt, true}} << QList<QByteArray>{} << QStringList{};
    }
    void subtitles()
    {
        QFETCH(QList<TSubtitleFacts>, subtitles);
        QFETCH(QList<QByteArray>, runs);
        QFETCH(QStringList, notes);
        TSourceFacts source = Source();
        source.subtitles = subtitles;
        const TConversionPlan plan = PlanConversion(source, Defaults(), Quality);
        for (const QByteArray& run : runs)
            QVERIFY2(HasRun(Words(plan), run), plan.arguments.constData());
        if (runs.isEmpty())
            QVERIFY2(!plan.arguments.contains("0:s") && !plan.arguments.contains("-c:s"), plan.arguments.constData());
        QCOMPARE(plan.notes, notes);
    }

    void dataStreamsAreLeftOutWithANote()
    {
        TSourceFacts source = Source();
        source.dataStreams = {"Time code"};
        QCOMPARE(PlanConversion(source, Defaults(), Quality).notes, QStringList{"A data stream (Time code) is left out."});
    }

    // An encoder that works in the graphics card's memory names the last
    // filters itself; they follow the program's own in one chain.
    void codecFiltersGoLast()
    {
        const TChoices choices =
            With(With(Defaults(), VdoCodec, "H.264 VA-API",
                      "-vaapi_device /dev/dri/renderD128 -c:v h264_vaapi -vf format=nv12,hwupload"),
                 VdoBitrate, "1500 kb/s", "-b:v 1500k");
        const TConversionPlan plan = PlanConversion(Source(), choices, Quality);
        QVERIFY(HasRun(Words(plan), "-vaapi_device /dev/dri/renderD128 -c:v h264_vaapi -b:v 1500k -vf"));
        QVERIFY2(FilterChain(plan).endsWith(",format=nv12,hwupload"), FilterChain(plan).constData());
        QCOMPARE(Words(plan).count("-vf"), 1);
    }

    // An older catalogue's size entries are plain arguments.
    void olderSizeEntriesPassThrough()
    {
        const TConversionPlan plan = PlanConversion(Source(), With(Defaults(), VdoSize, "640x480", "-s 640x480"), Quality);
        QVERIFY(HasRun(Words(plan), "-s 640x480"));
        QVERIFY(!FilterChain(plan).contains("640"));
    }
};

QTEST_GUILESS_MAIN(TestConversionPlan)
#include "tst_conversionplan.moc"
