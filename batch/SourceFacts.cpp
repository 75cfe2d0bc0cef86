#include "batch/SourceFacts.h"

#include "media/MediaInfoDll.h"

namespace {

using namespace MediaInfoStream;

int Number(const QByteArray& text) { return text.trimmed().toInt(); }

// "1.422" or "" (square).
double PixelAspect(const QByteArray& text)
{
    bool isNumber = false;
    const double aspect = text.toDouble(&isNumber);
    return isNumber && aspect > 0 ? aspect : 1;
}

TPictureFacts Picture(const StreamProperty& property)
{
    TPictureFacts picture;
    picture.format = QString::fromUtf8(property(Video, 0, "Format"));
    picture.codecHint = QString::fromUtf8(property(Video, 0, "CodecID/Hint"));
    picture.width = Number(property(Video, 0, "Width"));
    picture.height = Number(property(Video, 0, "Height"));
    picture.pixelAspect = PixelAspect(property(Video, 0, "PixelAspectRatio"));
    // The converter turns the picture upright before anything else.
    const int rotation = qRound(property(Video, 0, "Rotation").toDouble());
    if (rotation % 180 != 0) {
        std::swap(picture.width, picture.height);
        picture.pixelAspect = 1 / picture.pixelAspect;
    }
    return picture;
}

TSoundFacts Sound(const StreamProperty& property, int number)
{
    TSoundFacts sound;
    sound.format = QString::fromUtf8(property(Audio, number, "Format"));
    sound.profile = QString::fromUtf8(property(Audio, number, "Format_Profile"));
    sound.channels = Number(property(Audio, number, "Channel(s)"));
    sound.samplingRate = Number(property(Audio, number, "SamplingRate"));
    return sound;
}

TSubtitleFacts Subtitle(const StreamProperty& property, int number)
{
    TSubtitleFacts subtitle;
    subtitle.format = QString::fromUtf8(property(Text, number, "Format"));
    // Containers such as MPEG-TS number their streams "program-stream";
    // only a plain number is the converter's own.
    bool plain = false;
    const int order = property(Text, number, "StreamOrder").toInt(&plain);
    if (plain)
        subtitle.streamIndex = order;
    // Closed captions ride inside the video (CEA-608/708); the converter
    // sees no stream of theirs.
    const QByteArray muxing = property(Text, number, "MuxingMode");
    subtitle.inPicture = subtitle.format.startsWith("EIA-") || muxing.contains("A/53") || muxing.contains("SCTE");
    return subtitle;
}

} // namespace

TSourceFacts MakeSourceFacts(const StreamProperty& property)
{
    TSourceFacts facts;
    if (Number(property(General, 0, "VideoCount")) > 0)
        facts.picture = Picture(property);
    for (int number = 0; number < Number(property(General, 0, "AudioCount")); ++number)
        facts.sound << Sound(property, number);
    for (int number = 0; number < Number(property(General, 0, "TextCount")); ++number)
        facts.subtitles << Subtitle(property, number);
    for (int number = 0; number < Number(property(General, 0, "OtherCount")); ++number)
        facts.dataStreams << QString::fromUtf8(property(Other, number, "Type"));
    return facts;
}

TSourceFacts ReadSourceFacts(const QString& path)
{
    return ReadWithMediaInfo(path.toUtf8(), [](MediaInfoQuery& query) { return ReadSourceFacts(query); })
        .value_or(TSourceFacts());
}

TSourceFacts ReadSourceFacts(MediaInfoQuery& query)
{
    return MakeSourceFacts([&query](int kind, int number, const char* parameter) {
        return query.Get(kind, number, parameter);
    });
}
