#include "StandInConverter.h"

#include <QDir>
#include <QFile>

namespace {

const QByteArray Script = R"sh(#!/bin/sh
here=$(dirname "$0")
all="$*"
echo "$all" >> "$here/calls.log"
case "$all" in
*-encoders*)
    cat "$here/encoders.txt"
    exit "$(cat "$here/encoders-exit" 2>/dev/null || echo 0)" ;;
*-demuxers*)
    cat "$here/demuxers.txt" ;;
*"-h demuxer="*)
    [ -f "$here/slow" ] && sleep "$(cat "$here/slow")"
    cat "$here/demuxer-${all##*demuxer=}.txt" 2>/dev/null ;;
*h264_vaapi*)
    echo "Failed to initialise VAAPI connection: -1 (unknown libva error)." >&2
    exit 1 ;;
*h264_nvenc*)
    sleep 60 &
    echo $! > "$here/hung.pid"
    wait ;;
esac
)sh";

} // namespace

const QByteArray StandInEncoders = R"(Encoders:
 V..... = Video
 A..... = Audio
 S..... = Subtitle
 ------
 V....D libx264              libx264 H.264 / AVC / MPEG-4 AVC / MPEG-4 part 10 (codec h264)
 V....D h264_nvenc           NVIDIA NVENC H.264 encoder (codec h264)
 V..... h264_qsv             H.264 (Intel Quick Sync Video acceleration) (codec h264)
 V....D h264_vaapi           H.264/AVC (VAAPI) (codec h264)
 A..... aac                  AAC (Advanced Audio Coding)
)";

const QByteArray StandInDemuxers = R"(File formats:
 D. = Demuxing supported
 .E = Muxing supported
 --
 D  matroska,webm   Matroska / WebM
 D  mpeg            MPEG-PS (MPEG-2 Program Stream)
 D  srt             SubRip subtitle
)";

TStandInConverter::TStandInConverter(const QString& folder)
    : folder_(folder), program_(QDir(folder).filePath("ffmpeg"))
{
    QDir().mkpath(folder);
    Write("ffmpeg", Script);
    QFile::setPermissions(program_, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    Write("encoders.txt", StandInEncoders);
    Write("demuxers.txt", StandInDemuxers);
    Write("demuxer-matroska.txt",
          "Demuxer matroska,webm [Matroska / WebM]:\n    Common extensions: mkv,mk3d,mka,mks,webm.\n");
    Write("demuxer-mpeg.txt", "Demuxer mpeg [MPEG-PS (MPEG-2 Program Stream)]:\n");
}

void TStandInConverter::Write(const QString& name, const QByteArray& contents) const
{
    QFile file(QDir(folder_).filePath(name));
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(contents) != contents.size())
        qFatal("Cannot write the stand-in's %s", qPrintable(file.fileName()));
}

QStringList TStandInConverter::Calls() const
{
    QFile log(QDir(folder_).filePath("calls.log"));
    if (!log.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(log.readAll()).split('\n', Qt::SkipEmptyParts);
}

void TStandInConverter::Rebuild() const
{
    Write("ffmpeg", Script + "# rebuilt\n");
}

bool IsGoneOrZombie(qint64 pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2, 1) == "Z";
}
