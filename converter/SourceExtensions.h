#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Which files the Add dialog and drops take as sources: extensions, lower
// case, without the dot.

// The extensions of well-known video formats, most common first. The
// dialog offers these while nothing is known of the installed ffmpeg, so
// that it never starts empty.
QStringList WellKnownVideoExtensions();

// One row of "ffmpeg -hide_banner -demuxers". One demuxer may go by several
// names ("mov,mp4,m4a,3gp,3g2,mj2").
struct TDemuxer {
    QStringList names;
    bool device = false; // newer ffmpeg marks capture devices in the listing

    friend bool operator==(const TDemuxer&, const TDemuxer&) = default;
};

QList<TDemuxer> ParseDemuxerList(const QByteArray& listing);

// Whether files of this demuxer's format are sources a user would convert.
// Left out: capture devices, subtitles and other text, still images and
// image pipes, playlists, stream descriptions and scripts, and raw pictures
// that cannot be read without being told their size. Audio formats stay:
// an audio file converts to an MP4 with sound only.
bool IsSourceDemuxer(const TDemuxer& demuxer);

// The extensions on the line "Common extensions: mkv,mk3d,mka,mks,webm." of
// "ffmpeg -hide_banner -h demuxer=NAME"; none when the help has no such
// line.
QStringList ParseCommonExtensions(const QByteArray& demuxerHelp);

// All extensions of sources the installed ffmpeg reads, given its demuxers
// and the extensions each source demuxer named (namedExtensions[i] belongs
// to demuxers[i]). Many demuxers recognise files by their content and name
// no extension (MPEG program and transport streams, ASF, RealMedia, WAV
// among them), so the well-known extensions of those are added when the
// demuxer is there. Extensions that are never sources (subtitles, text,
// images, playlists, generic data) are left out even when a demuxer names
// them. The well-known video extensions come first, then the rest in
// alphabetical order; each appears once.
QStringList SourceExtensions(const QList<TDemuxer>& demuxers, const QList<QStringList>& namedExtensions);
