#pragma once

#include "MediaProbe.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <optional>

// What a converted file must look like, worked out from the ffmpeg arguments
// that made it and from the source it was made from. Properties the
// arguments leave to ffmpeg's judgement stay unset and are not checked.
struct ConversionExpectation
{
    QString videoCodec;
    QString audioCodec;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    double displayAspect = 0;
    std::optional<int> channels;
    std::optional<int> sampleRate;
};

// Encoder name (libx264) -> codec name that ffprobe reports (h264), as the
// installed ffmpeg lists them.
QHash<QString, QString> installedEncoderCodecs(const QString &ffmpegProgram);

ConversionExpectation expectedConversion(const QStringList &arguments,
                                         const QHash<QString, QString> &encoderCodecs,
                                         const ProbedStream &sourceVideo,
                                         const ProbedStream &sourceAudio);
