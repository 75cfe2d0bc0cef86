#pragma once

#include "media/MediaInfoQuery.h"

#include <QByteArray>

#include <optional>
#include <type_traits>

// The media-information library is bound while the program runs, not when it
// is built, so that a machine without it still runs the program: every
// operation that needs file information then simply does nothing.

// The name every caller hands to LoadMediaInfo. It has no folder, so the
// dynamic loader's own search decides which file is found.
extern const char* MediaInfoLibraryName;

// Lets a test bind another library (or one that does not exist) in place of
// the real one, so that the callers can be seen working without it.
void SetMediaInfoLibraryName(const QByteArray& libraryName);

// Loads the library the first time it succeeds and keeps it for the rest of
// the process; while loading fails, every call tries again. Returns false when
// the library is not loaded or lacks one of the entry points a query calls,
// so that callers treat an incomplete library like an absent one.
bool LoadMediaInfo(const QByteArray& libraryName);

// Loads the library on a thread of its own and keeps it loaded, so that the
// first LoadMediaInfo later finds it ready instead of stalling its caller
// while the dynamic loader maps and relocates it. Does nothing visible when
// the library cannot be loaded.
void PreloadMediaInfo(const QByteArray& libraryName);

// Opens the file (UTF-8 path) with the library and hands the query to read;
// nothing when the library is not there.
template <typename Read>
auto ReadWithMediaInfo(const QByteArray& filePath, Read read) -> std::optional<std::invoke_result_t<Read, MediaInfoQuery&>>
{
    if (!LoadMediaInfo(MediaInfoLibraryName))
        return std::nullopt;
    MediaInfoQuery query(filePath);
    return read(query);
}
