#pragma once
// What the bench reads from a clip with ffprobe, and how it compares an
// output's picture with its source's (ffmpeg's ssim filter).

#include <QString>
#include <QStringList>

struct ClipFacts {
    bool readable = false;
    QString videoCodec;
    int width = 0, height = 0;
    int sarNum = 1, sarDen = 1; // 1:1 when the file says nothing
    QString frameRate;          // as ffprobe gives it, e.g. "30000/1001"
    bool interlaced = false;    // the first decoded frames are flagged interlaced
    QString fieldOrder;         // ffprobe's field_order of the stream
    QStringList audioTracks;    // codec and channel layout of each
    QStringList subtitleTracks; // codec of each
    double seconds = 0;

    double DisplayAspect() const;
    QString Describe() const; // e.g. "720x576 SAR 16:15 25i"
};

ClipFacts Probe(const QString& path);

// |output's display aspect / source's - 1| in percent; negative when either
// has no picture.
double DisplayAspectErrorPercent(const ClipFacts& source, const ClipFacts& output);

// SSIM ("All", the weighted mean of Y, U and V) of output against source:
//  * the source is the reference; an interlaced one (by its frame flags) is
//    first deinterlaced with bwdif, one frame per frame, which is what a
//    viewer should be shown; an output flagged interlaced is deinterlaced
//    the same way;
//  * the output is scaled (bicubic) back to the source's stored frame size
//    when it differs, both are made 4:2:0 8-bit with square-pixel flags and
//    both timelines start at 0;
//  * both are sampled at the source's frame rate (fps filter), so an output
//    with fewer frames is compared by its nearest frame at every source
//    frame time.
// Returns a negative value when ffmpeg gives no figure.
double Ssim(const QString& source, const ClipFacts& sourceFacts, const QString& output, const ClipFacts& outputFacts,
            QString* failure = nullptr);
