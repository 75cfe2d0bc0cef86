#include "batch/OutputNames.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>

#include <optional>
#include <sys/stat.h>
#include <utility>

namespace {

// The files already on disk, by device and inode: the one identity that all
// hard links of a file share.
class ExistingFiles {
public:
    void Insert(const QString& path)
    {
        if (const auto identity = Identity(path))
            m_identities.insert(*identity);
    }
    bool Contains(const QString& path) const
    {
        const auto identity = Identity(path);
        return identity && m_identities.contains(*identity);
    }

private:
    using FileIdentity = std::pair<quint64, quint64>;

    static std::optional<FileIdentity> Identity(const QString& path)
    {
        struct stat facts {};
        if (::stat(QFile::encodeName(path).constData(), &facts) != 0)
            return std::nullopt;
        return FileIdentity{quint64(facts.st_dev), quint64(facts.st_ino)};
    }

    QSet<FileIdentity> m_identities;
};

} // namespace

QString SourceBaseName(const QString& sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

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
    ExistingFiles takenFiles;
    for (const QString& path : taken) {
        takenKeys.insert(SameFileKey(path));
        takenFiles.Insert(path);
    }
    const auto isTaken = [&](const QString& path) {
        return takenKeys.contains(SameFileKey(path)) || takenFiles.Contains(path);
    };
    if (!isTaken(wanted))
        return wanted;
    // Put together piece by piece: the names may hold "%1" and the like.
    const QString stem = wanted.chopped(QStringLiteral(".mp4").size());
    for (int number = 2;; ++number) {
        const QString candidate = stem + " (" + QString::number(number) + ").mp4";
        if (!isTaken(candidate))
            return candidate;
    }
}
