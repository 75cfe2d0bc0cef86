#pragma once
// The corpus: short generated clips, one per property that made
// conversions fail or look wrong for users (old codecs, odd and non-square
// frames, interlacing, 5.1 and several audio tracks, text and picture
// subtitles, tiny and very large frames, high frame rates, no sound).

#include <QString>
#include <QStringList>

struct CorpusClip {
    QString name;   // file name in the corpus folder; its base name is unique
    QString covers; // the property it stands for
    QString path;
};

// Writes every clip that is not yet in folder (made with the ffmpeg on
// PATH, two at a time) and returns all of them in a fixed order. Side files
// (subtitles to mux) go to folder/.sources. Throws when a clip cannot be
// made. Progress goes to standard error.
QList<CorpusClip> MakeCorpus(const QString& folder);

// A valid PGS (Blu-ray picture subtitle, .sup) stream of width x height
// with one caption picture shown from 0.5 s to 1.5 s of every two seconds
// of the given length: ffmpeg cannot draw text into picture subtitles, so
// the bench writes the segments itself.
QByteArray MakePgsSubtitles(int width, int height, int seconds);
