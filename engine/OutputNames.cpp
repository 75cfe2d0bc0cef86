#include "engine/OutputNames.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

QString SameFileKey(const QString& path)
{
    const QFileInfo file(path);
    if (const QString resolved = file.canonicalFilePath(); !resolved.isEmpty())
        return resolved;
    // A file still to be written: its folder may be reached through a link.
    if (const QString folder = QFileInfo(file.absolutePath()).canonicalFilePath(); !folder.isEmpty())
        return folder + '/' + file.fileName();
    return QDir::cleanPath(file.absoluteFilePath());
}

QString FreeOutputPath(const QString& wanted, const QStringList& taken)
{
    QSet<QString> takenKeys;
    for (const QString& path : taken)
        takenKeys.insert(SameFileKey(path));
    if (!takenKeys.contains(SameFileKey(wanted)))
        return wanted;
    const QString stem = wanted.chopped(QStringLiteral(".mp4").size());
    for (int number = 2;; ++number) {
        const QString candidate = QStringLiteral("%1 (%2).mp4").arg(stem).arg(number);
        if (!takenKeys.contains(SameFileKey(candidate)))
            return candidate;
    }
}
