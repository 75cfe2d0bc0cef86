#include "Corpus.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <array>
#include <cstdio>
#include <deque>
#include <memory>
#include <stdexcept>

namespace {

// ---------------------------------------------------------------------------
// Picture and sound sources (ffmpeg's lavfi). Every picture moves and gets a
// little film-grain-like noise that changes each frame, so that encoders
// have real work and sizes look like those of camera footage.
// ---------------------------------------------------------------------------

const QString Grain = QStringLiteral(",noise=alls=6:allf=t");

QString TestPattern(const QString& size, const QString& rate)
{
    return QStringLiteral("testsrc2=s=%1:r=%2").arg(size, rate) + Grain;
}

QString Fractal(const QString& size, const QString& rate)
{
    return QStringLiteral("mandelbrot=s=%1:r=%2").arg(size, rate) + Grain;
}

// Conway's game of life in colours (no black borders that a cropper could
// take for letterboxing).
QString Life(const QString& size, const QString& rate)
{
    return QStringLiteral("life=s=%1:r=%2:mold=10:ratio=0.35:life_color=#3fbf5f:death_color=#3a2f5a:"
                          "mold_color=#a05020")
               .arg(size, rate)
        + Grain;
}

// Colour bars that drift across the frame.
QString Bars(const QString& size, const QString& rate)
{
    return QStringLiteral("smptehdbars=s=%1:r=%2,scroll=h=0.004:v=0.002").arg(size, rate) + Grain;
}

// A tone with a slow swell and a little hiss on each channel.
QString Tone(int channel)
{
    const int pitch[] = {440, 554, 659, 110, 330, 392};
    return QStringLiteral("0.25*sin(2*PI*%1*t)*(1+0.5*sin(2*PI*0.5*t))+0.03*(random(%2)-0.5)")
        .arg(pitch[channel])
        .arg(channel);
}

QString Sound(const QString& layout, int channels, int rate)
{
    QStringList tones;
    for (int channel = 0; channel < channels; ++channel)
        tones << Tone(channel);
    return QStringLiteral("aevalsrc=%1:c=%2:s=%3").arg(tones.join('|'), layout).arg(rate);
}

QString Mono(int rate) { return Sound("mono", 1, rate); }
QString Stereo(int rate) { return Sound("stereo", 2, rate); }
QString Surround(int rate) { return Sound("5.1", 6, rate); }

QStringList Input(const QString& graph) { return {"-f", "lavfi", "-i", graph}; }

QStringList Seconds(int seconds) { return {"-t", QString::number(seconds)}; }

// The usual way cameras and authoring tools of the time wrote H.264.
const QStringList X264 = {"-c:v", "libx264", "-preset", "veryfast", "-crf", "21", "-pix_fmt", "yuv420p"};

// A 50 or 59.94 frames-per-second picture woven into 25 or 29.97 interlaced
// frames: each frame holds two fields of different moments, as a camera
// records them.
QString WovenTopFirst(const QString& progressive) { return progressive + ",tinterlace=mode=interleave_top"; }
QString WovenBottomFirst(const QString& progressive) { return progressive + ",tinterlace=mode=interleave_bottom"; }

struct Recipe {
    QString name;
    QString covers;
    QStringList arguments; // between "ffmpeg -y" and the output path
};

QList<Recipe> Recipes(const QString& sources)
{
    const QString srt = sources + "/captions.srt";
    const QString ass = sources + "/captions.ass";
    const QString sup = sources + "/captions.sup";
    const QString supPal = sources + "/captions-576.sup";
    QList<Recipe> recipes;
    const auto add = [&](const QString& name, const QString& covers, const QStringList& arguments) {
        recipes << Recipe{name, covers, arguments};
    };

    add("dv_pal_interlaced.dv", "DV, PAL 4:3 (SAR 16:15), interlaced bottom field first, PCM",
        Input(WovenBottomFirst(TestPattern("720x576", "50")) + ",setsar=16/15") + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "dvvideo", "-pix_fmt", "yuv420p", "-top", "0", "-c:a", "pcm_s16le"});
    add("dv_ntsc_wide.dv", "DV, NTSC 16:9 anamorphic (SAR 32:27), 4:1:1, interlaced",
        Input(WovenBottomFirst(Life("720x480", "60000/1001")) + ",setsar=32/27") + Input(Stereo(48000))
            + Seconds(4) + QStringList{"-c:v", "dvvideo", "-pix_fmt", "yuv411p", "-top", "0", "-c:a", "pcm_s16le"});
    add("mpeg1_vcd.mpg", "MPEG-1 (VCD-like), 352x288 shown 4:3, MP2",
        Input(Fractal("352x288", "25")) + Input(Stereo(44100)) + Seconds(4)
            + QStringList{"-c:v", "mpeg1video", "-q:v", "4", "-aspect", "4:3", "-c:a", "mp2", "-b:a", "224k"});
    add("mpeg2_dvd_pal.mpeg",
        "MPEG-2 DVD, 16:9 anamorphic (SAR 64:45), interlaced top first, AC-3 5.1 + MP2 stereo, DVD picture subtitles",
        Input(WovenTopFirst(TestPattern("720x576", "50"))) + Input(Surround(48000)) + Input(Stereo(48000))
            + QStringList{"-i", supPal} + Seconds(4)
            + QStringList{"-map", "0:v", "-map", "1:a", "-map", "2:a", "-map", "3:s", "-c:v", "mpeg2video", "-b:v",
                          "5M", "-maxrate", "8M", "-bufsize", "1835k", "-g", "12", "-flags", "+ilme+ildct", "-top",
                          "1", "-aspect", "16:9", "-c:a:0", "ac3", "-b:a:0", "448k", "-c:a:1", "mp2", "-b:a:1",
                          "192k", "-c:s", "dvdsub", "-f", "dvd"});
    add("mpeg2_ntsc_wide.ts", "MPEG-2 in MPEG-TS, 720x480 16:9 anamorphic, progressive 29.97, AC-3",
        Input(Life("720x480", "30000/1001")) + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "mpeg2video", "-q:v", "3", "-aspect", "16:9", "-c:a", "ac3", "-b:a", "192k"});
    add("mpeg2_pal_progressive.mpg", "MPEG-2 PAL 4:3 (SAR 16:15), progressive 25, MP2",
        Input(Fractal("720x576", "25") + ",setsar=16/15") + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "mpeg2video", "-b:v", "4M", "-maxrate", "8M", "-bufsize", "1835k", "-c:a", "mp2",
                          "-b:a", "192k"});
    add("mjpeg_vga.avi", "Motion JPEG 640x480 4:3, mono PCM 22.05 kHz",
        Input(Life("640x480", "25")) + Input(Mono(22050)) + Seconds(4)
            + QStringList{"-c:v", "mjpeg", "-q:v", "4", "-c:a", "pcm_s16le"});
    add("cinepak_qcif.avi", "Cinepak 176x144 at 12 fps, mono 8-bit PCM 11.025 kHz",
        Input(TestPattern("176x144", "12")) + Input(Mono(11025)) + Seconds(3)
            + QStringList{"-c:v", "cinepak", "-c:a", "pcm_u8"});
    add("msvideo1_qvga.avi", "Microsoft Video 1 320x240 at 15 fps, mono 8-bit PCM",
        Input(TestPattern("320x240", "15") + ",format=rgb555le") + Input(Mono(22050)) + Seconds(4)
            + QStringList{"-c:v", "msvideo1", "-c:a", "pcm_u8"});
    add("divx3_vga.avi", "DivX 3 (MS MPEG-4 v3) 640x480, MP3 stereo",
        Input(Fractal("640x480", "25")) + Input(Stereo(44100)) + Seconds(4)
            + QStringList{"-c:v", "msmpeg4", "-q:v", "4", "-c:a", "libmp3lame", "-b:a", "128k"});
    add("h263_qcif.3gp", "H.263 176x144 in 3GP, AAC mono 16 kHz (no AMR encoder in ffmpeg)",
        Input(TestPattern("176x144", "15")) + Input(Mono(16000)) + Seconds(4)
            + QStringList{"-c:v", "h263", "-b:v", "128k", "-c:a", "aac", "-b:a", "24k"});
    add("h263_subqcif.3gp", "H.263 tiny 128x96 in 3GP, AAC mono 8 kHz",
        Input(Life("128x96", "15")) + Input(Mono(8000)) + Seconds(4)
            + QStringList{"-c:v", "h263", "-b:v", "64k", "-c:a", "aac", "-b:a", "12k"});
    add("wmv2_wma2.wmv", "WMV 8 640x480, WMA 2 stereo",
        Input(Bars("640x480", "25")) + Input(Stereo(44100)) + Seconds(4)
            + QStringList{"-c:v", "wmv2", "-b:v", "1500k", "-c:a", "wmav2", "-b:a", "128k"});
    add("wmv1_wma1.wmv", "WMV 7 320x240 at 15 fps, WMA 1 mono",
        Input(TestPattern("320x240", "15")) + Input(Mono(22050)) + Seconds(4)
            + QStringList{"-c:v", "wmv1", "-b:v", "400k", "-c:a", "wmav1", "-b:a", "32k"});
    add("sorenson_flv1.flv", "Sorenson Spark (FLV1) 320x240, MP3 mono 22.05 kHz",
        Input(TestPattern("320x240", "25")) + Input(Mono(22050)) + Seconds(4)
            + QStringList{"-c:v", "flv", "-b:v", "500k", "-c:a", "libmp3lame", "-b:a", "64k"});
    add("theora_360p.ogv", "Theora 640x360 16:9, Vorbis stereo",
        Input(Fractal("640x360", "25")) + Input(Stereo(44100)) + Seconds(4)
            + QStringList{"-c:v", "libtheora", "-q:v", "6", "-c:a", "libvorbis", "-q:a", "4"});
    add("vp8_480p.webm", "VP8 854x480, Vorbis stereo",
        Input(Life("854x480", "25")) + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "libvpx", "-b:v", "1200k", "-deadline", "realtime", "-cpu-used", "8", "-c:a",
                          "libvorbis", "-q:a", "4"});
    add("vp9_720p.webm", "VP9 1280x720 at 30 fps, Opus stereo",
        Input(TestPattern("1280x720", "30")) + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "libvpx-vp9", "-crf", "33", "-b:v", "0", "-deadline", "realtime", "-cpu-used", "8",
                          "-row-mt", "1", "-c:a", "libopus", "-b:a", "128k"});
    add("ffv1_lossless.mkv", "FFV1 720x540 lossless, FLAC stereo",
        Input(TestPattern("720x540", "25")) + Input(Stereo(48000)) + Seconds(3)
            + QStringList{"-c:v", "ffv1", "-level", "3", "-c:a", "flac"});
    add("huffyuv_4096.avi", "HuffYUV 4096x4096 at 3 fps, no sound",
        Input(QStringLiteral("testsrc2=s=4096x4096:r=3,format=yuv422p")) + Seconds(3)
            + QStringList{"-c:v", "huffyuv"});
    add("h264_1080p_51.mp4", "H.264 1920x1080 with AAC 5.1",
        Input(Bars("1920x1080", "25")) + Input(Surround(48000)) + Seconds(4) + X264
            + QStringList{"-c:a", "aac", "-b:a", "384k"});
    add("mpeg4_odd_640x465.avi", "MPEG-4 ASP (Xvid) 640x465: odd height, MP3 stereo",
        // testsrc2 (like crop) rounds 4:2:0 frames to even sizes; the scaler
        // does not, but would keep the 4:3 shape with a pixel aspect of 31:32.
        Input(QStringLiteral("testsrc2=s=640x480:r=25,scale=640:465,setsar=1") + Grain) + Input(Stereo(44100)) + Seconds(4)
            + QStringList{"-c:v", "mpeg4", "-q:v", "4", "-vtag", "XVID", "-c:a", "libmp3lame", "-b:a", "128k"});
    add("vp8_odd_720x405.mkv", "VP8 720x405: odd height, Vorbis stereo",
        Input(Fractal("720x405", "25")) + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "libvpx", "-b:v", "1500k", "-deadline", "realtime", "-cpu-used", "8", "-c:a",
                          "libvorbis", "-q:a", "4"});
    add("mjpeg_odd_405x301.mov", "Motion JPEG 405x301 in MOV: odd width and height, PCM stereo",
        Input(Life("405x301", "25")) + Input(Stereo(48000)) + Seconds(4)
            + QStringList{"-c:v", "mjpeg", "-q:v", "5", "-c:a", "pcm_s16le"});
    add("h264_pal_sar16x15.mkv", "H.264 720x576 4:3 (SAR 16:15), AAC stereo, SubRip subtitles",
        Input(TestPattern("720x576", "25") + ",setsar=16/15") + Input(Stereo(48000)) + QStringList{"-i", srt}
            + Seconds(4) + X264 + QStringList{"-c:a", "aac", "-b:a", "160k", "-c:s", "srt"});
    add("h264_pal_sar64x45.mov", "H.264 720x576 16:9 (SAR 64:45) in MOV, PCM stereo",
        Input(Fractal("720x576", "25") + ",setsar=64/45") + Input(Stereo(48000)) + Seconds(4) + X264
            + QStringList{"-c:a", "pcm_s16le"});
    add("h264_ntsc_anamorphic.mp4", "H.264 720x480 16:9 (SAR 32:27) 29.97, AAC stereo, MP4 text subtitles",
        Input(Life("720x480", "30000/1001") + ",setsar=32/27") + Input(Stereo(48000)) + QStringList{"-i", srt}
            + Seconds(4) + X264 + QStringList{"-c:a", "aac", "-b:a", "160k", "-c:s", "mov_text"});
    add("h264_720p_3audio.mkv", "H.264 1280x720 with three audio tracks (AAC stereo, AC-3 5.1, Opus mono), ASS subtitles",
        Input(TestPattern("1280x720", "25")) + Input(Stereo(48000)) + Input(Surround(48000)) + Input(Mono(48000))
            + QStringList{"-i", ass} + Seconds(4)
            + QStringList{"-map", "0:v", "-map", "1:a", "-map", "2:a", "-map", "3:a", "-map", "4:s"} + X264
            + QStringList{"-c:a:0", "aac", "-b:a:0", "160k", "-c:a:1", "ac3", "-b:a:1", "384k", "-c:a:2", "libopus",
                          "-b:a:2", "64k", "-c:s", "ass"});
    add("h264_1080p_pgs.mkv", "H.264 1920x1080 at 23.976, AC-3 stereo, Blu-ray picture subtitles (PGS)",
        Input(Bars("1920x1080", "24000/1001")) + Input(Stereo(48000)) + QStringList{"-i", sup} + Seconds(3) + X264
            + QStringList{"-c:a", "ac3", "-b:a", "192k", "-c:s", "copy"});
    add("h264_1080i_interlaced.ts", "H.264 1920x1080 interlaced top field first (25i from 50p), MP2 stereo, in MPEG-TS",
        Input(WovenTopFirst(TestPattern("1920x1080", "50"))) + Input(Stereo(48000)) + Seconds(3) + X264
            + QStringList{"-flags", "+ilme+ildct", "-top", "1", "-c:a", "mp2", "-b:a", "192k"});
    add("h264_720p60.mp4", "H.264 1280x720 at 60 fps, AAC stereo",
        Input(TestPattern("1280x720", "60")) + Input(Stereo(48000)) + Seconds(4) + X264
            + QStringList{"-c:a", "aac", "-b:a", "160k"});
    add("h264_576p50_silent.mp4", "H.264 1024x576 at 50 fps, no sound",
        Input(Life("1024x576", "50")) + Seconds(4) + X264);
    return recipes;
}

// ---------------------------------------------------------------------------
// Side files: subtitles to mux.
// ---------------------------------------------------------------------------

const char* const SubRip = "1\n00:00:00,500 --> 00:00:01,500\nThe first caption.\n\n"
                           "2\n00:00:02,000 --> 00:00:03,200\nA second one,\non two lines.\n\n";

const char* const SubStationAlpha =
    "[Script Info]\nScriptType: v4.00+\nPlayResX: 1280\nPlayResY: 720\n\n"
    "[V4+ Styles]\nFormat: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, OutlineColour, BackColour, "
    "Bold, Italic, Underline, StrikeOut, ScaleX, ScaleY, Spacing, Angle, BorderStyle, Outline, Shadow, Alignment, "
    "MarginL, MarginR, MarginV, Encoding\n"
    "Style: Default,Arial,40,&H00FFFFFF,&H000000FF,&H00000000,&H80000000,0,0,0,0,100,100,0,0,1,2,1,2,20,20,30,1\n\n"
    "[Events]\nFormat: Layer, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n"
    "Dialogue: 0,0:00:00.50,0:00:01.50,Default,,0,0,0,,The first caption.\n"
    "Dialogue: 0,0:00:02.00,0:00:03.20,Default,,0,0,0,,{\\i1}A second one{\\i0}\\Non two lines.\n";

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(content) != content.size())
        throw std::runtime_error("cannot write " + path.toStdString());
}

// ---------------------------------------------------------------------------
// PGS segments (big-endian fields).
// ---------------------------------------------------------------------------

void Put16(QByteArray& out, int value)
{
    out += char(value >> 8 & 0xff);
    out += char(value & 0xff);
}

void Segment(QByteArray& out, quint32 pts90k, quint8 type, const QByteArray& payload)
{
    out += "PG";
    for (int shift = 24; shift >= 0; shift -= 8)
        out += char(pts90k >> shift & 0xff);
    out += QByteArray(4, '\0'); // decoding time stamp: unused
    out += char(type);
    Put16(out, int(payload.size()));
    out += payload;
}

// Run-length coding of one line of palette indices, as in the ODS.
void CodeLine(QByteArray& out, const QList<quint8>& line)
{
    for (qsizetype x = 0; x < line.size();) {
        const quint8 colour = line[x];
        qsizetype run = 1;
        while (x + run < line.size() && line[x + run] == colour && run < 16383)
            ++run;
        if (colour != 0 && run <= 2) {
            for (qsizetype i = 0; i < run; ++i)
                out += char(colour);
        } else {
            out += '\0';
            const int flags = (colour != 0 ? 0x80 : 0) | (run >= 64 ? 0x40 : 0);
            if (run >= 64) {
                out += char(flags | int(run >> 8));
                out += char(run & 0xff);
            } else {
                out += char(flags | int(run));
            }
            if (colour != 0)
                out += char(colour);
        }
        x += run;
    }
    out += '\0';
    out += '\0';
}

// A dark box with rows of light blocks in it, like a line of captions.
QByteArray CaptionPicture(int width, int height, int event)
{
    QByteArray coded;
    for (int y = 0; y < height; ++y) {
        QList<quint8> line(width, 1);
        for (int x = 0; x < width; ++x) {
            const bool border = x < 2 || y < 2 || x >= width - 2 || y >= height - 2;
            const int letter = (x - 12) / 14, inLetter = (x - 12) % 14;
            const bool glyph = x >= 12 && x < width - 12 && y >= 14 && y < height - 14 && inLetter < 10
                && (letter * 7 + event * 3) % 5 != 0 && ((y / 6 + letter + x / 5) % 3 != 0);
            line[x] = border ? 2 : glyph ? 3 : 1;
        }
        CodeLine(coded, line);
    }
    return coded;
}

} // namespace

QByteArray MakePgsSubtitles(int width, int height, int seconds)
{
    const int boxWidth = width / 2, boxHeight = height / 10;
    const int boxX = (width - boxWidth) / 2, boxY = height - boxHeight - height / 16;
    QByteArray out;
    int composition = 0;
    const auto windowSegment = [&](quint32 pts) {
        QByteArray window;
        window += char(1);
        window += char(0);
        Put16(window, boxX);
        Put16(window, boxY);
        Put16(window, boxWidth);
        Put16(window, boxHeight);
        Segment(out, pts, 0x17, window);
    };
    for (int event = 0; event * 2 < seconds; ++event) {
        const quint32 show = quint32((event * 2 + 0.5) * 90000), hide = quint32((event * 2 + 1.5) * 90000);
        QByteArray composition1;
        Put16(composition1, width);
        Put16(composition1, height);
        composition1 += char(0x10);         // frame rate code
        Put16(composition1, composition++); // composition number
        composition1 += char(0x80);         // epoch start
        composition1 += char(0);            // no palette-only update
        composition1 += char(0);            // palette 0
        composition1 += char(1);            // one object
        Put16(composition1, 0);             // object 0
        composition1 += char(0);            // window 0
        composition1 += char(0);            // not cropped
        Put16(composition1, boxX);
        Put16(composition1, boxY);
        Segment(out, show, 0x16, composition1);
        windowSegment(show);
        // Palette: index, Y, Cr, Cb, alpha.
        QByteArray palette{"\0\0", 2};
        for (const auto& entry : {std::array<int, 5>{1, 32, 128, 128, 0xa0}, std::array<int, 5>{2, 128, 128, 128, 0xff},
                                  std::array<int, 5>{3, 235, 128, 128, 0xff}})
            for (int value : entry)
                palette += char(value);
        Segment(out, show, 0x14, palette);
        const QByteArray coded = CaptionPicture(boxWidth, boxHeight, event);
        QByteArray object;
        Put16(object, 0);     // object 0
        object += char(0);    // version
        object += char(0xc0); // first and last fragment
        const int length = int(coded.size()) + 4;
        object += char(length >> 16 & 0xff);
        Put16(object, length & 0xffff);
        Put16(object, boxWidth);
        Put16(object, boxHeight);
        object += coded;
        if (object.size() > 0xffff)
            throw std::runtime_error("caption picture too large for one segment");
        Segment(out, show, 0x15, object);
        Segment(out, show, 0x80, {});

        QByteArray clear;
        Put16(clear, width);
        Put16(clear, height);
        clear += char(0x10);
        Put16(clear, composition++);
        clear += char(0); // normal case
        clear += char(0);
        clear += char(0);
        clear += char(0); // no object: the screen clears
        Segment(out, hide, 0x16, clear);
        windowSegment(hide);
        Segment(out, hide, 0x80, {});
    }
    return out;
}

QList<CorpusClip> MakeCorpus(const QString& folder)
{
    const QString sources = folder + "/.sources", partial = folder + "/.partial";
    if (!QDir().mkpath(sources) || !QDir().mkpath(partial))
        throw std::runtime_error("cannot make the corpus folder " + folder.toStdString());
    WriteFile(sources + "/captions.srt", SubRip);
    WriteFile(sources + "/captions.ass", SubStationAlpha);
    WriteFile(sources + "/captions.sup", MakePgsSubtitles(1920, 1080, 3));
    WriteFile(sources + "/captions-576.sup", MakePgsSubtitles(720, 576, 4));

    QList<CorpusClip> clips;
    QList<Recipe> missing;
    for (const Recipe& recipe : Recipes(sources)) {
        clips << CorpusClip{recipe.name, recipe.covers, folder + "/" + recipe.name};
        if (!QFileInfo(clips.last().path).isFile() || QFileInfo(clips.last().path).size() == 0)
            missing << recipe;
    }
    // Two at a time: most of the old encoders use one core.
    struct Running {
        std::unique_ptr<QProcess> process;
        Recipe recipe;
    };
    std::deque<Running> running;
    const auto finishOne = [&] {
        Running done = std::move(running.front());
        running.pop_front();
        done.process->waitForFinished(-1);
        const QString made = partial + "/" + done.recipe.name;
        if (done.process->exitStatus() != QProcess::NormalExit || done.process->exitCode() != 0)
            throw std::runtime_error("cannot make " + done.recipe.name.toStdString() + ": "
                                     + done.process->readAll().right(2000).toStdString());
        QFile::remove(folder + "/" + done.recipe.name);
        if (!QFile::rename(made, folder + "/" + done.recipe.name))
            throw std::runtime_error("cannot move " + made.toStdString());
        std::fprintf(stderr, "  made %s\n", qPrintable(done.recipe.name));
    };
    for (const Recipe& recipe : missing) {
        if (running.size() == 2)
            finishOne();
        auto process = std::make_unique<QProcess>();
        process->setProcessChannelMode(QProcess::MergedChannels);
        process->start("ffmpeg", QStringList{"-v", "error", "-nostdin", "-y"} + recipe.arguments
                                     + QStringList{partial + "/" + recipe.name});
        if (!process->waitForStarted())
            throw std::runtime_error("cannot start ffmpeg");
        running.push_back(Running{std::move(process), recipe});
    }
    while (!running.empty())
        finishOne();
    return clips;
}
