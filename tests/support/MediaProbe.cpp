#include "MediaProbe.h"

#include "ToolRun.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>

QList<ProbedStream> ProbedFile::streamsOfType(const QString &type) const
{
    QList<ProbedStream> matching;
    for (const ProbedStream &stream : streams) {
        if (stream.type == type)
            matching.append(stream);
    }
    return matching;
}

double ratioValue(const QString &text)
{
    const QStringList parts = text.split(QRegularExpression("[/:]"));
    bool numeratorOk = false;
    const double numerator = parts.value(0).toDouble(&numeratorOk);
    if (!numeratorOk)
        return 0;
    if (parts.size() == 1)
        return numerator;
    bool denominatorOk = false;
    const double denominator = parts.value(1).toDouble(&denominatorOk);
    if (!denominatorOk || denominator == 0)
        return 0;
    return numerator / denominator;
}

namespace {

ProbedStream streamFromJson(const QJsonObject &json)
{
    ProbedStream stream;
    stream.type = json.value("codec_type").toString();
    stream.codec = json.value("codec_name").toString();
    stream.width = json.value("width").toInt();
    stream.height = json.value("height").toInt();
    stream.frameRate = ratioValue(json.value("avg_frame_rate").toString());
    stream.channels = json.value("channels").toInt();
    stream.sampleRate = json.value("sample_rate").toString().toInt();
    if (stream.height > 0) {
        // A stream without a pixel shape has square pixels.
        double pixelAspect = ratioValue(json.value("sample_aspect_ratio").toString());
        if (pixelAspect <= 0)
            pixelAspect = 1;
        stream.displayAspect = pixelAspect * stream.width / stream.height;
    }
    return stream;
}

} // namespace

ProbedFile probeMediaFile(const QString &ffprobeProgram, const QString &path)
{
    ProbedFile file;
    const ToolResult result = runToolForOutput(
        ffprobeProgram,
        {"-v", "error", "-of", "json", "-show_entries",
         "format=duration:format_tags=major_brand:"
         "stream=codec_type,codec_name,width,height,avg_frame_rate,sample_aspect_ratio,"
         "channels,sample_rate",
         path});
    if (!result.succeeded()) {
        file.error = QStringLiteral("ffprobe failed (exit %1): %2")
                         .arg(result.exitCode)
                         .arg(QString::fromUtf8(result.output));
        return file;
    }
    const QJsonObject root = QJsonDocument::fromJson(result.output).object();
    const QJsonObject format = root.value("format").toObject();
    file.duration = format.value("duration").toString().toDouble();
    file.majorBrand = format.value("tags").toObject().value("major_brand").toString();
    for (const QJsonValue &stream : root.value("streams").toArray())
        file.streams.append(streamFromJson(stream.toObject()));
    return file;
}
