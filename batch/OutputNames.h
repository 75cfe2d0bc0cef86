#pragma once

#include <QString>

// The source file's name without folder and without its last extension; a
// dot that begins the name begins no extension (".clip" stays ".clip").
// Taken from the path itself, letter for letter: the media-information
// library reports a changed name for some (a line feed becomes " / ").
QString SourceBaseName(const QString& sourcePath);

// The wanted output path when nothing is there on disk, or else the first of
// "<base> (2).mp4", "<base> (3).mp4", … in the same folder at which nothing
// is. Anything counts: a file the user keeps, a source, an output of an
// earlier row, a folder, a link even when it leads nowhere.
QString FreeOutputPath(const QString& wanted);
