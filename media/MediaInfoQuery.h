#pragma once

#include <QByteArray>

#include <mutex>

#include "media/MediaInfoEntryPoints.h"

// Stream kinds of the library: the file as a whole, its video, its audio,
// its text (subtitles), and other streams (time codes, data).
namespace MediaInfoStream {
inline constexpr int General = 0;
inline constexpr int Video = 1;
inline constexpr int Audio = 2;
inline constexpr int Text = 3;
inline constexpr int Other = 4;
}

// One file opened on one library handle for as long as the object lives.
// The handle is released however the query ends, also when the library could
// not open the file. Call LoadMediaInfo first: without a loaded library every
// value is empty. Queries on different threads take turns: the library keeps
// its handles in one shared table.
class MediaInfoQuery {
public:
  // filePath is UTF-8 and reaches the library byte for byte.
  explicit MediaInfoQuery(const QByteArray& filePath);
  ~MediaInfoQuery();
  MediaInfoQuery(const MediaInfoQuery&) = delete;
  MediaInfoQuery& operator=(const MediaInfoQuery&) = delete;

  // The parameter of the first stream of the given kind as the library words
  // it (UTF-8); empty when the file has no such value or could not be read.
  QByteArray Get(int streamKind, const char* parameter) { return Get(streamKind, 0, parameter); }
  // The same of the streamNumber-th stream of the kind, counted from 0.
  QByteArray Get(int streamKind, int streamNumber, const char* parameter);

private:
  std::unique_lock<std::recursive_mutex> turn_;
  void* handle_ = nullptr;
  MediaInfoGetFunction get_ = nullptr;
  MediaInfoCloseFunction close_ = nullptr;
  MediaInfoDeleteFunction delete_ = nullptr;
};
