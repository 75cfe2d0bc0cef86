#pragma once

#include <QList>
#include <QString>

struct ProbedStream
{
    QString type; // "video" or "audio"
    QString codec;
    int width = 0;
    int height = 0;
    double frameRate = 0;
    double displayAspect = 0; // width / height as shown, pixel shape included
    int channels = 0;
    int sampleRate = 0;
};

struct ProbedFile
{
    QString error; // empty when ffprobe read the file
    QString majorBrand;
    double duration = 0;
    QList<ProbedStream> streams;

    QList<ProbedStream> streamsOfType(const QString &type) const;
};

// What ffprobe reads from a media file's container and stream headers.
ProbedFile probeMediaFile(const QString &ffprobeProgram, const QString &path);

// "24000/1001", "4:3" or "25" as a number; 0 for "0/0", "N/A" and the like.
double ratioValue(const QString &text);
