#pragma once

#include "batch/SourceFacts.h"

#include <QList>
#include <QString>
#include <optional>

// What an MP4 file can take as it is, and what the sound encoders can write.

// Whether a source's picture or sound can be copied into MP4 untouched and
// play there.
bool Mp4HoldsPicture(const TPictureFacts& picture);
bool Mp4HoldsSound(const TSoundFacts& sound);

// Whether a subtitle track is text, which MP4 holds as its own text
// subtitles; picture subtitles it cannot hold.
bool IsTextSubtitle(const TSubtitleFacts& subtitle);

// The channel counts and sampling rates a sound encoder takes; unknown
// encoders are taken to take anything.
struct TSoundEncoderLimits {
    int maxChannels = 0;           // 0: no limit known
    QList<int> samplingRates;      // empty: any
};
TSoundEncoderLimits SoundEncoderLimits(const QString& encoder);

// The rate an encoder takes that is nearest to the given one, as the
// converter itself picks it; the rate itself when the encoder takes it.
int NearestSamplingRate(const TSoundEncoderLimits& limits, int rate);
