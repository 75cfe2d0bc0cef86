// Reading what ffmpeg lists: its encoders, its demuxers and their
// extensions, the libraries it loads; which encoders are hardware ones; the
// encoders a catalogue fragment chooses.
#include "converter/CodecFragment.h"
#include "converter/ConverterBuild.h"
#include "converter/EncoderList.h"
#include "converter/SourceExtensions.h"

#include <QtTest>

namespace {

// The head of "ffmpeg -hide_banner -encoders" of Debian 12's ffmpeg 5.1 and a
// selection of its rows, hardware ones among them.
const QByteArray Encoders51 = R"(Encoders:
 V..... = Video
 A..... = Audio
 S..... = Subtitle
 .F.... = Frame-level multithreading
 ..S... = Slice-level multithreading
 ...X.. = Codec is experimental
 ....B. = Supports draw_horiz_band
 .....D = Supports direct rendering method 1
 ------
 V....D libx264              libx264 H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10 (codec h264)
 V....D h264_nvenc           NVIDIA NVENC H.264 encoder (codec h264)
 V..... h264_qsv             H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10 (Intel Quick Sync Video acceleration) (codec h264)
 V..... h264_v4l2m2m         V4L2 mem2mem H.264 encoder wrapper (codec h264)
 V....D h264_vaapi           H.264/AVC (VAAPI) (codec h264)
 V.S... mpeg4                MPEG-4 part 2
 A..... aac                  AAC (Advanced Audio Coding)
 A....D ac3                  ATSC A/52A (AC-3)
 A..... libopus              libopus Opus (codec opus)
 S..... mov_text             3GPP Timed Text subtitle
 S..... srt                  SubRip subtitle (codec subrip)
)";

// "ffmpeg -hide_banner -demuxers" of ffmpeg 5.1, then of later releases,
// which widened the flags to mark devices.
const QByteArray Demuxers51 = R"(File formats:
 D. = Demuxing supported
 .E = Muxing supported
 --
 D  jpeg_pipe       piped jpeg sequence
 D  matroska,webm   Matroska / WebM
 D  mov,mp4,m4a,3gp,3g2,mj2 QuickTime / MOV
 D  mpeg            MPEG-PS (MPEG-2 Program Stream)
 D  srt             SubRip subtitle
 D  x11grab         X11 screen capture, using XCB
)";
const QByteArray DemuxersWithDevices = R"(Formats:
 D.. = Demuxing supported
 .E. = Muxing supported
 ..d = Is a device
 ---
 D d lavfi           Libavfilter virtual input device
 D   matroska,webm   Matroska / WebM
 D   mov,mp4,m4a,3gp,3g2,mj2 QuickTime / MOV
)";

TDemuxer Demuxer(const QString& names, bool device = false)
{
    return {names.split(','), device};
}

} // namespace

Q_DECLARE_METATYPE(TEncoderList)
Q_DECLARE_METATYPE(TDemuxer)

class TestConverterListings : public QObject {
    Q_OBJECT

private slots:
    void encoderList_data();
    void encoderList();
    void hardwareEncoder_data();
    void hardwareEncoder();
    void encodersChosenByAFragment_data();
    void encodersChosenByAFragment();
    void spellingsOfOneFragmentAreOne();
    void demuxerList_data();
    void demuxerList();
    void sourceDemuxers();
    void commonExtensions_data();
    void commonExtensions();
    void sourceExtensions();
    void wellKnownVideoExtensions();
    void ffmpegLibrariesFromTheLoader();
};

void TestConverterListings::encoderList_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<TEncoderList>("expected");

    const TEncoderList all{{"libx264", "h264_nvenc", "h264_qsv", "h264_v4l2m2m", "h264_vaapi", "mpeg4"},
                           {"aac", "ac3", "libopus"},
                           {"mov_text", "srt"}};
    QTest::newRow("ffmpeg 5.1") << Encoders51 << all;
    QTest::newRow("line ends with CR") << QByteArray(Encoders51).replace("\n", "\r\n") << all;
    QTest::newRow("warnings around the listing")
        << "[AVHWDeviceContext @ 0x55d0] Cannot open the X display\n" + Encoders51
               + "[warning] something happened later\n"
        << all;
    // Rows above the dashed line are legend, not encoders.
    QTest::newRow("legend only") << Encoders51.left(Encoders51.indexOf(" ------")) << TEncoderList{};
    QTest::newRow("no listing at all") << QByteArray("Unrecognized option 'encoders'.\n") << TEncoderList{};
}

void TestConverterListings::encoderList()
{
    QFETCH(QByteArray, listing);
    QFETCH(TEncoderList, expected);
    const TEncoderList encoders = ParseEncoderList(listing);
    QCOMPARE(encoders.video, expected.video);
    QCOMPARE(encoders.audio, expected.audio);
    QCOMPARE(encoders.subtitle, expected.subtitle);
}

void TestConverterListings::hardwareEncoder_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("hardware");
    for (const char* name : {"h264_vaapi", "hevc_nvenc", "nvenc_h264", "h264_qsv", "av1_qsv", "h264_v4l2m2m",
                             "h264_amf", "h264_vulkan", "h264_mf", "h264_omx", "hevc_videotoolbox"})
        QTest::newRow(name) << name << true;
    for (const char* name : {"libx264", "libx265", "mpeg4", "aac", "libmp3lame", "amv", "mjpeg", "libsvtav1", "srt",
                             "comfortnoise"}) // "mf" inside a word is no family
        QTest::newRow(name) << name << false;
}

void TestConverterListings::hardwareEncoder()
{
    QFETCH(QString, name);
    QFETCH(bool, hardware);
    QCOMPARE(IsHardwareEncoder(name), hardware);
}

void TestConverterListings::encodersChosenByAFragment_data()
{
    QTest::addColumn<QString>("fragment");
    QTest::addColumn<QStringList>("encoders");
    QTest::newRow("video with more options") << "-c:v libx264 -pix_fmt yuv420p" << QStringList{"libx264"};
    QTest::newRow("audio") << "-c:a aac" << QStringList{"aac"};
    QTest::newRow("old video spelling") << "-vcodec mpeg4 -qscale:v 3" << QStringList{"mpeg4"};
    QTest::newRow("old audio spelling") << "-acodec libmp3lame" << QStringList{"libmp3lame"};
    QTest::newRow("long spelling, stream index") << "-codec:v:0 libx265 -tag:v hvc1" << QStringList{"libx265"};
    QTest::newRow("for every stream") << "-c libopus" << QStringList{"libopus"};
    QTest::newRow("two kinds") << "-c:v libx264 -c:a aac" << QStringList{"libx264", "aac"};
    QTest::newRow("device set-up before the codec")
        << "-vaapi_device /dev/dri/renderD128 -vf 'format=nv12,hwupload' -c:v h264_vaapi"
        << QStringList{"h264_vaapi"};
    QTest::newRow("copy") << "-c:v copy" << QStringList{};
    QTest::newRow("no codec option") << "-b:v 1500k" << QStringList{};
    QTest::newRow("empty") << "" << QStringList{};
    QTest::newRow("codec option without a value") << "-pix_fmt yuv420p -c:v" << QStringList{};
    // A word that only starts like a codec option is another option.
    QTest::newRow("-cpuflags is no codec") << "-cpuflags mmx -c:v mpeg4" << QStringList{"mpeg4"};
}

void TestConverterListings::encodersChosenByAFragment()
{
    QFETCH(QString, fragment);
    QFETCH(QStringList, encoders);
    QCOMPARE(EncodersChosenBy(fragment), encoders);
}

void TestConverterListings::spellingsOfOneFragmentAreOne()
{
    QCOMPARE(NormalFragment("  -c:v\th264_vaapi   -b:v 2M "), NormalFragment("-c:v h264_vaapi -b:v 2M"));
    QCOMPARE(NormalFragment("-vf \"format=nv12,hwupload\""), NormalFragment("-vf format=nv12,hwupload"));
    QVERIFY(NormalFragment("-c:v h264_vaapi") != NormalFragment("-c:v h264_vaapi -b:v 2M"));
}

void TestConverterListings::demuxerList_data()
{
    QTest::addColumn<QByteArray>("listing");
    QTest::addColumn<QList<TDemuxer>>("expected");
    QTest::newRow("ffmpeg 5.1") << Demuxers51
                                << QList<TDemuxer>{Demuxer("jpeg_pipe"), Demuxer("matroska,webm"),
                                                   Demuxer("mov,mp4,m4a,3gp,3g2,mj2"), Demuxer("mpeg"),
                                                   Demuxer("srt"), Demuxer("x11grab")};
    QTest::newRow("devices marked") << DemuxersWithDevices
                                    << QList<TDemuxer>{Demuxer("lavfi", true), Demuxer("matroska,webm"),
                                                       Demuxer("mov,mp4,m4a,3gp,3g2,mj2")};
}

void TestConverterListings::demuxerList()
{
    QFETCH(QByteArray, listing);
    QFETCH(QList<TDemuxer>, expected);
    QCOMPARE(ParseDemuxerList(listing), expected);
}

void TestConverterListings::sourceDemuxers()
{
    for (const char* names : {"matroska,webm", "mov,mp4,m4a,3gp,3g2,mj2", "mpeg", "avi", "mp3", "wav", "gif"})
        QVERIFY2(IsSourceDemuxer(Demuxer(names)), names);
    for (const char* names : {"srt", "webvtt", "tty", "jpeg_pipe", "png_pipe", "image2", "concat", "hls",
                              "x11grab", "video4linux2,v4l2", "rawvideo", "ffmetadata"})
        QVERIFY2(!IsSourceDemuxer(Demuxer(names)), names);
    QVERIFY(!IsSourceDemuxer(Demuxer("some_new_grabber", true)));
}

void TestConverterListings::commonExtensions_data()
{
    QTest::addColumn<QByteArray>("help");
    QTest::addColumn<QStringList>("extensions");
    QTest::newRow("ffmpeg 5.1 matroska")
        << QByteArray("Demuxer matroska,webm [Matroska / WebM]:\n    Common extensions: mkv,mk3d,mka,mks,webm.\n")
        << QStringList{"mkv", "mk3d", "mka", "mks", "webm"};
    QTest::newRow("with options after it")
        << QByteArray("Demuxer avi [AVI (Audio Video Interleaved)]:\n    Common extensions: avi.\navi AVOptions:\n"
                      "  -use_odml          <boolean>    .D......... use odml index (default true)\n")
        << QStringList{"avi"};
    QTest::newRow("recognised by content only")
        << QByteArray("Demuxer mpeg [MPEG-PS (MPEG-2 Program Stream)]:\n") << QStringList{};
    QTest::newRow("unknown demuxer") << QByteArray("Unknown format 'nothing'.\n") << QStringList{};
    QTest::newRow("upper case, no final period")
        << QByteArray("    Common extensions: MOV, Qt\n") << QStringList{"mov", "qt"};
}

void TestConverterListings::commonExtensions()
{
    QFETCH(QByteArray, help);
    QFETCH(QStringList, extensions);
    QCOMPARE(ParseCommonExtensions(help), extensions);
}

void TestConverterListings::sourceExtensions()
{
    const QList<TDemuxer> demuxers = {Demuxer("matroska,webm"), Demuxer("mov,mp4,m4a,3gp,3g2,mj2"),
                                      Demuxer("mpeg"),          Demuxer("wav"),
                                      Demuxer("tty"),           Demuxer("srt"),
                                      Demuxer("mp3")};
    const QList<QStringList> named = {{"mkv", "mk3d", "mka", "mks", "webm"},
                                      {"mov", "mp4", "m4a", "3gp", "3g2", "mj2", "psp", "m4b", "avif"},
                                      {},
                                      {},
                                      {"ans", "txt", "nfo"}, // would not be asked; left out all the same
                                      {"srt"},
                                      {"mp2", "mp3", "MP3"}};
    // Well-known video first, in their order, as far as the demuxer is
    // there; then the rest alphabetically. Images (avif) and text are out.
    const QStringList expected = {"mp4", "m4v", "mov", "qt",   "3gp", "3g2", "mkv", "webm", "f4v",
                                  "mpg", "mpeg", "mpe", "vob", "m4a", "m4b", "mj2", "mk3d", "mka",
                                  "mks", "mp2", "mp3", "psp", "wav"};
    QCOMPARE(SourceExtensions(demuxers, named), expected);
}

void TestConverterListings::wellKnownVideoExtensions()
{
    const QStringList known = WellKnownVideoExtensions();
    for (const char* extension : {"mp4", "m4v", "mov", "qt", "3gp", "3g2", "avi", "mkv", "webm", "flv", "f4v",
                                  "asf", "wmv", "mpg", "mpeg", "mpe", "m1v", "m2v", "vob", "ts", "m2ts", "mts",
                                  "dv", "dif", "ogv", "ogg", "ogm", "rm", "rmvb", "nut", "mxf", "y4m", "ivf"})
        QVERIFY2(known.contains(extension), extension);
    QCOMPARE(known.first(), QString("mp4"));
    QCOMPARE(QSet<QString>(known.begin(), known.end()).size(), known.size());
}

void TestConverterListings::ffmpegLibrariesFromTheLoader()
{
    const QByteArray trace = "\tlinux-vdso.so.1 (0x00007ffd)\n"
                             "\tlibavdevice.so.59 => /lib/x86_64-linux-gnu/libavdevice.so.59 (0x00007f06a9b70000)\n"
                             "\tlibavcodec.so.59 => /lib/x86_64-linux-gnu/libavcodec.so.59 (0x00007f06a7400000)\n"
                             "\tlibswscale.so.6 => /lib/x86_64-linux-gnu/libswscale.so.6 (0x00007f06a9a7e000)\n"
                             "\tlibavc1394.so.0 => /lib/x86_64-linux-gnu/libavc1394.so.0 (0x00007f06a7000000)\n"
                             "\tlibc.so.6 => /lib/x86_64-linux-gnu/libc.so.6 (0x00007f4d5fead000)\n"
                             "\t/lib64/ld-linux-x86-64.so.2 (0x00007f4d600a7000)\n";
    QCOMPARE(FFmpegLibrariesIn(trace), (QStringList{"/lib/x86_64-linux-gnu/libavdevice.so.59",
                                                    "/lib/x86_64-linux-gnu/libavcodec.so.59",
                                                    "/lib/x86_64-linux-gnu/libswscale.so.6"}));
    QCOMPARE(FFmpegLibrariesIn("\tnot a dynamic executable\n"), QStringList{});
}

QTEST_APPLESS_MAIN(TestConverterListings)
#include "tst_converter_listings.moc"
