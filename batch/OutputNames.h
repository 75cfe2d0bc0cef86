#pragma once

#include <QString>

#include <optional>

// The source file's name without folder and without its last extension; a
// dot that begins the name begins no extension (".clip" stays ".clip").
// Taken from the path itself, letter for letter: the media-information
// library reports a changed name for some (a line feed becomes " / ").
QString SourceBaseName(const QString& sourcePath);

// Why outputs cannot go into this folder, in words for the user; nothing
// when they can. An empty folder would put them into the root folder; a NUL
// character ends every name the file system is given, so the names it would
// check and write are not the ones shown.
std::optional<QString> OutputFolderProblem(const QString& folder);

// How many names the search for a free output name tries: "<base>.mp4" and
// "<base> (2).mp4" up to this number.
inline constexpr int LastOutputNumber = 9999;

// The wanted output path when nothing is there on disk, or else the first of
// "<base> (2).mp4", "<base> (3).mp4", … in the same folder at which nothing
// is. Anything counts: a file the user keeps, a source, an output of an
// earlier row, a folder, a link even when it leads nowhere. The search is
// bounded, since a file system may claim that every name is there: when all
// names up to LastOutputNumber are, it throws.
QString FreeOutputPath(const QString& wanted);
