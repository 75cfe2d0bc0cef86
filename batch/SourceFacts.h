#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

// What a conversion needs to know about its source before the converter
// starts, as the media-information library reports it: enough to tell
// whether the chosen options can work and what has to be adapted.

struct TPictureFacts {
    QString format;    // "AVC", "MPEG Video", "DV" …
    QString codecHint; // "Microsoft" for the pre-standard MPEG-4 flavours
    int width = 0;     // as shown, after any rotation; 0 when unknown
    int height = 0;
    double pixelAspect = 1; // width of a pixel over its height
};

struct TSoundFacts {
    QString format;  // "AAC", "MPEG Audio", "AC-3", "PCM" …
    QString profile; // "Layer 3" for MP3
    int channels = 0;     // 0 when unknown
    int samplingRate = 0; // Hz, 0 when unknown
};

struct TSubtitleFacts {
    QString format;                 // "UTF-8", "ASS", "Timed Text", "PGS" …
    std::optional<int> streamIndex; // the converter's number for it, when the container numbers streams plainly
    bool inPicture = false;         // carried inside the video stream (closed captions), not a stream of its own
};

struct TSourceFacts {
    std::optional<TPictureFacts> picture;
    QList<TSoundFacts> sound;
    QList<TSubtitleFacts> subtitles;
    QStringList dataStreams; // the kind of each stream that is neither picture, sound nor text
};

// One property of the n-th stream of a kind (counted from 0), as the library
// words it.
using StreamProperty = std::function<QByteArray(int streamKind, int streamNumber, const char* parameter)>;

TSourceFacts MakeSourceFacts(const StreamProperty& property);

class MediaInfoQuery;

// What the library reports about the file at path; no facts when it is not
// there.
TSourceFacts ReadSourceFacts(const QString& path);
// The same from a file the caller has opened already.
TSourceFacts ReadSourceFacts(MediaInfoQuery& query);
