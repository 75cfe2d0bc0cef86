#pragma once

#include <QString>
#include <QStringList>

// The source file's name without folder and without its last extension; a
// dot that begins the name begins no extension (".clip" stays ".clip").
// Taken from the path itself, letter for letter: the media-information
// library reports a changed name for some (a line feed becomes " / ").
QString SourceBaseName(const QString& sourcePath);

// One key for every name of a file: links and "." or doubled separators are
// resolved, also for a file not written yet.
QString SameFileKey(const QString& path);

// The wanted output path, or when it names one of the taken files (a source
// of the list, an output already written by this batch) the first free one
// of "<base> (2).mp4", "<base> (3).mp4", … in the same folder. A file is
// taken also under another name: through a symbolic link, or as a hard link
// of a taken file. A file that is not taken is replaced, as ever.
QString FreeOutputPath(const QString& wanted, const QStringList& taken);
