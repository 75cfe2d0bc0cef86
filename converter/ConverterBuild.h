#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// A file as it is now: enough to tell a replaced or rebuilt file from the one
// seen before without reading it.
struct TFileStamp {
    QString path;   // as it was looked up
    QString target; // with every symbolic link resolved
    qint64 size = -1;
    qint64 modifiedNs = -1; // since the epoch

    bool Exists() const { return size >= 0; }
};

// The stamp of the file at path; one that does not Exist() when there is no
// such file. Only reads the file's status.
TFileStamp StampFile(const QString& path);

// Same target, size and modification time, however it was looked up.
bool IsSameFile(const TFileStamp& left, const TFileStamp& right);

// Which ffmpeg build is installed: the program file and the FFmpeg libraries
// it loads. The libraries count because Debian can swap them without
// touching the program (libavcodec-extra brings more encoders), and what
// ffmpeg can do lives in them.
struct TConverterBuild {
    TFileStamp program;
    QList<TFileStamp> libraries; // looked up by the paths the loader used
};

TConverterBuild StampBuild(const QString& programPath, const QStringList& libraryPaths);

// Whether build is still what runs as programPath: the program and each of
// its libraries are the same files as when it was stamped. Reads file
// status only, and starts nothing.
bool IsInstalledBuild(const TConverterBuild& build, const QString& programPath);

// The FFmpeg libraries (libavcodec, libavformat, libswscale, ...) among the
// lines the dynamic loader prints when asked to trace a program's libraries
// ("libavcodec.so.59 => /lib/x86_64-linux-gnu/libavcodec.so.59 (0x...)").
// None for a program that is no dynamic executable, such as a script.
QStringList FFmpegLibrariesIn(const QByteArray& loaderTrace);
