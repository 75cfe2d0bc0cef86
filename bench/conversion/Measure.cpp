#include "Measure.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>
#include <cmath>

namespace {

QByteArray Run(const QString& program, const QStringList& arguments, bool mergeErrors, int* exitCode = nullptr)
{
    QProcess process;
    process.setProcessChannelMode(mergeErrors ? QProcess::MergedChannels : QProcess::SeparateChannels);
    process.start(program, arguments);
    process.waitForFinished(-1);
    if (exitCode)
        *exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
    return process.readAllStandardOutput();
}

} // namespace

double ClipFacts::DisplayAspect() const
{
    return height > 0 ? double(width) * sarNum / (double(height) * sarDen) : 0;
}

QString ClipFacts::Describe() const
{
    if (!readable || width == 0)
        return "no picture";
    QString text = QStringLiteral("%1x%2").arg(width).arg(height);
    if (sarNum != sarDen)
        text += QStringLiteral(" SAR %1:%2").arg(sarNum).arg(sarDen);
    const QStringList rate = frameRate.split('/');
    if (rate.size() == 2 && rate[1].toDouble() > 0)
        text += QStringLiteral(" %1%2").arg(rate[0].toDouble() / rate[1].toDouble(), 0, 'g', 4).arg(
            interlaced ? "i" : "p");
    return text;
}

ClipFacts Probe(const QString& path)
{
    ClipFacts facts;
    int exitCode = 0;
    const QByteArray json = Run("ffprobe",
                                {"-v", "error", "-show_entries",
                                 "stream=codec_type,codec_name,width,height,sample_aspect_ratio,field_order,"
                                 "avg_frame_rate,r_frame_rate,channels,channel_layout:format=duration",
                                 "-of", "json", path},
                                false, &exitCode);
    const QJsonObject root = QJsonDocument::fromJson(json).object();
    if (exitCode != 0 || root.isEmpty())
        return facts;
    facts.readable = true;
    facts.seconds = root["format"].toObject()["duration"].toString().toDouble();
    for (const QJsonValue& value : root["streams"].toArray()) {
        const QJsonObject stream = value.toObject();
        const QString type = stream["codec_type"].toString();
        if (type == "video" && facts.width == 0) {
            facts.videoCodec = stream["codec_name"].toString();
            facts.width = stream["width"].toInt();
            facts.height = stream["height"].toInt();
            const QStringList sar = stream["sample_aspect_ratio"].toString().split(':');
            if (sar.size() == 2 && sar[0].toInt() > 0 && sar[1].toInt() > 0) {
                facts.sarNum = sar[0].toInt();
                facts.sarDen = sar[1].toInt();
            }
            facts.fieldOrder = stream["field_order"].toString();
            facts.frameRate = stream["avg_frame_rate"].toString();
            if (facts.frameRate.isEmpty() || facts.frameRate.startsWith("0/"))
                facts.frameRate = stream["r_frame_rate"].toString();
        } else if (type == "audio") {
            facts.audioTracks << QStringLiteral("%1 %2").arg(
                stream["codec_name"].toString(),
                stream["channel_layout"].toString().isEmpty()
                    ? QStringLiteral("%1ch").arg(stream["channels"].toInt())
                    : stream["channel_layout"].toString());
        } else if (type == "subtitle") {
            facts.subtitleTracks << stream["codec_name"].toString();
        }
    }
    if (facts.width > 0) {
        // The stream-level field order is often "unknown" (DV, AVI); the
        // decoded frames say it for sure.
        const QByteArray frames = Run("ffprobe",
                                      {"-v", "error", "-select_streams", "v:0", "-read_intervals", "%+#3",
                                       "-show_entries", "frame=interlaced_frame", "-of", "default=nw=1", path},
                                      false);
        // Read by name: with csv, a frame with side data (MPEG-2 from a DVD)
        // gives "1," rather than "1".
        facts.interlaced = frames.contains("interlaced_frame=1");
    }
    return facts;
}

double DisplayAspectErrorPercent(const ClipFacts& source, const ClipFacts& output)
{
    if (source.DisplayAspect() <= 0 || output.DisplayAspect() <= 0)
        return -1;
    return std::fabs(output.DisplayAspect() / source.DisplayAspect() - 1) * 100;
}

double Ssim(const QString& source, const ClipFacts& sourceFacts, const QString& output, const ClipFacts& outputFacts,
            QString* failure)
{
    const QString deinterlace = "bwdif=mode=send_frame:parity=auto:deint=all,";
    const QString rate = sourceFacts.frameRate.isEmpty() ? "25" : sourceFacts.frameRate;
    const QString graph
        = QStringLiteral("[0:v]%1scale=%2:%3:flags=bicubic,setsar=1,format=yuv420p,setpts=PTS-STARTPTS,fps=%4[out];"
                         "[1:v]%5setsar=1,format=yuv420p,setpts=PTS-STARTPTS,fps=%4[ref];"
                         "[out][ref]ssim=shortest=1")
              .arg(outputFacts.interlaced ? deinterlace : "")
              .arg(sourceFacts.width)
              .arg(sourceFacts.height)
              .arg(rate, sourceFacts.interlaced ? deinterlace : "");
    int exitCode = 0;
    const QByteArray log = Run("ffmpeg",
                               {"-hide_banner", "-nostdin", "-i", output, "-i", source, "-filter_complex", graph, "-an",
                                "-sn", "-f", "null", "-"},
                               true, &exitCode);
    static const QRegularExpression all(QStringLiteral("SSIM Y:.* All:([0-9.]+)"));
    const QRegularExpressionMatch match = all.match(QString::fromUtf8(log));
    if (exitCode != 0 || !match.hasMatch()) {
        if (failure)
            *failure = QString::fromUtf8(log.right(600));
        return -1;
    }
    return match.captured(1).toDouble();
}
