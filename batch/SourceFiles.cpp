#include "batch/SourceFiles.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

QString SourceFileFilter(const QStringList& extensions)
{
    QStringList patterns;
    for (const QString& extension : extensions)
        patterns << "*." + extension;
    QString filter = "All video files|" + patterns.join(';');
    for (const char* type : {"mp4", "asf", "avi", "qt", "vob", "rm", "rmvb", "flv", "mov", "mpg", "wmv", "3gp", "3g2"})
        filter += QStringLiteral("|%1 video file|*.%1").arg(QLatin1String(type));
    return filter + "|All files|*";
}

QStringList FilterExtensions(const QString& filter)
{
    const QStringList parts = filter.split('|');
    QStringList extensions;
    for (int i = 1; i < parts.size(); i += 2)
        for (const QString& pattern : parts[i].split(';'))
            if (pattern.startsWith(QLatin1String("*.")) && !extensions.contains(pattern.mid(2).toLower()))
                extensions << pattern.mid(2).toLower();
    return extensions;
}

namespace {

QStringList VideoFilesInside(const QString& folder, const QStringList& extensions)
{
    QStringList files;
    const QFileInfoList entries = QDir(folder).entryInfoList(QDir::Files | QDir::Hidden, QDir::NoSort);
    for (const QFileInfo& entry : entries)
        if (extensions.contains(entry.suffix().toLower()))
            files << entry.absoluteFilePath();
    // By name whatever the letter case, so "b.avi" comes before "C.mp4"; the
    // same in any locale.
    std::sort(files.begin(), files.end(), [](const QString& left, const QString& right) {
        const int order = left.compare(right, Qt::CaseInsensitive);
        return order != 0 ? order < 0 : left < right;
    });
    return files;
}

} // namespace

QStringList DroppedSourceFiles(const QList<QUrl>& dropped, const QStringList& extensions)
{
    QStringList files;
    for (const QUrl& url : dropped) {
        if (!url.isLocalFile())
            continue;
        const QFileInfo entry(url.toLocalFile());
        if (entry.isDir())
            files << VideoFilesInside(entry.absoluteFilePath(), extensions);
        else if (entry.isFile())
            files << entry.absoluteFilePath();
    }
    return files;
}

bool HasLocalFiles(const QList<QUrl>& dragged)
{
    return std::any_of(dragged.begin(), dragged.end(), [](const QUrl& url) { return url.isLocalFile(); });
}
