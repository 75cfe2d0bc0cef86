#include "batch/OutputNames.h"

#include <QFile>

#include <sys/stat.h>

namespace {

// lstat, not stat: a link that leads nowhere is no free name either, since
// the converter would write where it leads.
bool SomethingIsAt(const QString& path)
{
    struct stat facts {};
    return ::lstat(QFile::encodeName(path).constData(), &facts) == 0;
}

} // namespace

QString SourceBaseName(const QString& sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

QString FreeOutputPath(const QString& wanted)
{
    if (!SomethingIsAt(wanted))
        return wanted;
    // Put together piece by piece: the names may hold "%1" and the like.
    const QString stem = wanted.chopped(QStringLiteral(".mp4").size());
    for (int number = 2;; ++number) {
        const QString candidate = stem + " (" + QString::number(number) + ").mp4";
        if (!SomethingIsAt(candidate))
            return candidate;
    }
}
