#include "ConversionExpectation.h"

#include "ToolRun.h"

#include <QRegularExpression>

QHash<QString, QString> installedEncoderCodecs(const QString &ffmpegProgram)
{
    // " V....D libx264   libx264 H.264 / AVC ... (codec h264)"; an encoder
    // without "(codec ...)" produces the codec of its own name.
    static const QRegularExpression line(
        R"(^\s*[VAS][.A-Z]{5}\s+(\S+)\s.*?(?:\(codec (\S+)\))?\s*$)");
    QHash<QString, QString> codecs;
    const ToolResult result = runToolForOutput(ffmpegProgram, {"-hide_banner", "-encoders"});
    for (const QString &text : QString::fromUtf8(result.output).split('\n')) {
        const QRegularExpressionMatch match = line.match(text);
        if (match.hasMatch() && match.captured(1) != "=")
            codecs.insert(match.captured(1),
                          match.hasCaptured(2) ? match.captured(2) : match.captured(1));
    }
    return codecs;
}

namespace {

// The value of the last occurrence of option, as ffmpeg itself lets the
// last one win.
std::optional<QString> optionValue(const QStringList &arguments, const QString &option)
{
    const qsizetype position = arguments.lastIndexOf(option);
    if (position < 0 || position + 1 >= arguments.size())
        return std::nullopt;
    return arguments.at(position + 1);
}

} // namespace

ConversionExpectation expectedConversion(const QStringList &arguments,
                                         const QHash<QString, QString> &encoderCodecs,
                                         const ProbedStream &sourceVideo,
                                         const ProbedStream &sourceAudio)
{
    ConversionExpectation expected;

    const QString videoEncoder = optionValue(arguments, "-c:v").value_or(QString());
    expected.width = sourceVideo.width;
    expected.height = sourceVideo.height;
    expected.frameRate = sourceVideo.frameRate;
    // Scaling keeps the picture's shape; only -aspect changes it.
    expected.displayAspect = sourceVideo.displayAspect;
    if (videoEncoder == "copy") {
        // A copied stream keeps its size and rate whatever else was asked.
        expected.videoCodec = sourceVideo.codec;
    } else {
        expected.videoCodec = encoderCodecs.value(videoEncoder, QStringLiteral("?%1").arg(videoEncoder));
        if (const auto size = optionValue(arguments, "-s")) {
            const QStringList sides = size->split('x');
            expected.width = sides.value(0).toInt();
            expected.height = sides.value(1).toInt();
        }
        if (const auto rate = optionValue(arguments, "-r"))
            expected.frameRate = ratioValue(*rate);
    }
    if (const auto aspect = optionValue(arguments, "-aspect"))
        expected.displayAspect = ratioValue(*aspect);

    const QString audioEncoder = optionValue(arguments, "-c:a").value_or(QString());
    if (audioEncoder == "copy") {
        expected.audioCodec = sourceAudio.codec;
        expected.channels = sourceAudio.channels;
        expected.sampleRate = sourceAudio.sampleRate;
    } else {
        expected.audioCodec = encoderCodecs.value(audioEncoder, QStringLiteral("?%1").arg(audioEncoder));
        // Without an explicit choice an encoder may pick the nearest layout
        // or rate it supports (Opus always runs at 48 kHz), so only explicit
        // choices are checked.
        if (const auto channels = optionValue(arguments, "-ac"))
            expected.channels = channels->toInt();
        if (const auto rate = optionValue(arguments, "-ar"))
            expected.sampleRate = rate->toInt();
    }
    return expected;
}
