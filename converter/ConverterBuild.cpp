#include "converter/ConverterBuild.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <sys/stat.h>

#include <algorithm>

TFileStamp StampFile(const QString& path)
{
    TFileStamp stamp;
    stamp.path = path;
    stamp.target = QFileInfo(path).canonicalFilePath();
    struct stat status {};
    if (stamp.target.isEmpty() || ::stat(QFile::encodeName(stamp.target).constData(), &status) != 0)
        return stamp;
    stamp.size = status.st_size;
    stamp.modifiedNs = qint64(status.st_mtim.tv_sec) * 1'000'000'000 + status.st_mtim.tv_nsec;
    return stamp;
}

bool IsSameFile(const TFileStamp& left, const TFileStamp& right)
{
    return left.Exists() && left.target == right.target && left.size == right.size
        && left.modifiedNs == right.modifiedNs;
}

TConverterBuild StampBuild(const QString& programPath, const QStringList& libraryPaths)
{
    TConverterBuild build;
    build.program = StampFile(programPath);
    for (const QString& path : libraryPaths)
        build.libraries.append(StampFile(path));
    return build;
}

bool IsInstalledBuild(const TConverterBuild& build, const QString& programPath)
{
    return IsSameFile(StampFile(programPath), build.program)
        && std::all_of(build.libraries.begin(), build.libraries.end(),
                       [](const TFileStamp& library) { return IsSameFile(StampFile(library.path), library); });
}

QStringList FFmpegLibrariesIn(const QByteArray& loaderTrace)
{
    static const QRegularExpression line(
        QStringLiteral(R"(^\s*lib(avcodec|avformat|avdevice|avfilter|avutil|swscale|swresample|postproc)\.so\S*)"
                       R"( => (/\S+))"));
    QStringList paths;
    for (const QByteArray& text : loaderTrace.split('\n')) {
        const QRegularExpressionMatch match = line.match(QString::fromUtf8(text));
        if (match.hasMatch() && !paths.contains(match.captured(2)))
            paths.append(match.captured(2));
    }
    return paths;
}
