#include "batch/OutputNames.h"

#include <QFile>

#include <stdexcept>
#include <sys/stat.h>

namespace {

// lstat, not stat: a link that leads nowhere is no free name either, since
// the converter would write where it leads.
bool SomethingIsAt(const QString& path)
{
    struct stat facts {};
    return ::lstat(QFile::encodeName(path).constData(), &facts) == 0;
}

// A path as messages show it: a NUL would end the message there.
QString Shown(const QString& path) { return QString(path).replace(QChar(0), QStringLiteral("\\0")); }

} // namespace

QString SourceBaseName(const QString& sourcePath)
{
    const QString name = sourcePath.mid(sourcePath.lastIndexOf('/') + 1);
    const qsizetype dot = name.lastIndexOf('.');
    return dot > 0 ? name.left(dot) : name;
}

std::optional<QString> OutputFolderProblem(const QString& folder)
{
    if (folder.isEmpty())
        return QStringLiteral("No output folder is set.");
    if (folder.contains(QChar(0)))
        return QStringLiteral("The output folder \"%1\" cannot be used: its name holds a NUL character (shown as \\0), "
                              "which no file name may contain. Choose the output folder again.")
            .arg(Shown(folder));
    return std::nullopt;
}

QString FreeOutputPath(const QString& wanted)
{
    if (!SomethingIsAt(wanted))
        return wanted;
    // Put together piece by piece: the names may hold "%1" and the like.
    const QString stem = wanted.chopped(QStringLiteral(".mp4").size());
    const auto numbered = [&stem](int number) { return stem + " (" + QString::number(number) + ").mp4"; };
    for (int number = 2; number <= LastOutputNumber; ++number)
        if (const QString candidate = numbered(number); !SomethingIsAt(candidate))
            return candidate;
    throw std::runtime_error(
        QStringLiteral("No free name for the output: \"%1\" and the numbered names up to \"%2\" are all taken.")
            .arg(Shown(wanted), Shown(numbered(LastOutputNumber)))
            .toStdString());
}
