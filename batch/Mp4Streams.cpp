#include "batch/Mp4Streams.h"

#include <cstdlib>

bool Mp4HoldsPicture(const TPictureFacts& picture)
{
    // MPEG-1/2 in MP4 is written but decodes badly in most players; the
    // pre-standard Microsoft MPEG-4 flavours have no MP4 name at all.
    for (const char* format : {"AVC", "HEVC", "AV1", "VP9"})
        if (picture.format == QLatin1String(format))
            return true;
    return picture.format == QLatin1String("MPEG-4 Visual") && picture.codecHint != QLatin1String("Microsoft");
}

bool Mp4HoldsSound(const TSoundFacts& sound)
{
    for (const char* format : {"AAC", "AC-3", "E-AC-3", "Opus", "ALAC"})
        if (sound.format == QLatin1String(format))
            return true;
    return sound.format == QLatin1String("MPEG Audio") && sound.profile == QLatin1String("Layer 3");
}

bool IsTextSubtitle(const TSubtitleFacts& subtitle)
{
    for (const char* format : {"UTF-8", "ASS", "SSA", "Timed Text", "WebVTT", "SubRip"})
        if (subtitle.format == QLatin1String(format))
            return true;
    return false;
}

TSoundEncoderLimits SoundEncoderLimits(const QString& encoder)
{
    if (encoder == QLatin1String("libmp3lame"))
        return {2, {8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000}};
    if (encoder == QLatin1String("ac3") || encoder == QLatin1String("eac3"))
        return {6, {32000, 44100, 48000}};
    if (encoder == QLatin1String("libopus"))
        return {8, {8000, 12000, 16000, 24000, 48000}};
    if (encoder == QLatin1String("aac"))
        return {8, {7350, 8000, 11025, 12000, 16000, 22050, 24000, 32000, 44100, 48000, 64000, 88200, 96000}};
    return {};
}

int NearestSamplingRate(const TSoundEncoderLimits& limits, int rate)
{
    if (limits.samplingRates.isEmpty() || limits.samplingRates.contains(rate) || rate <= 0)
        return rate;
    int nearest = limits.samplingRates.constFirst();
    for (const int candidate : limits.samplingRates)
        if (std::abs(candidate - rate) < std::abs(nearest - rate))
            nearest = candidate;
    return nearest;
}
