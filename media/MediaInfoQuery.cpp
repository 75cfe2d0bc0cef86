#include "media/MediaInfoQuery.h"

namespace {
constexpr int ValueAsText = 1;
constexpr int SearchByName = 0;

std::recursive_mutex& QueryTurns() {
  static std::recursive_mutex turns;
  return turns;
}

template <typename Function>
Function EntryPoint(MediaInfoEntry::Index entry) {
  return reinterpret_cast<Function>(MediaInfoEntryPoint(entry));
}
}  // namespace

MediaInfoQuery::MediaInfoQuery(const QByteArray& filePath) : turn_(QueryTurns()) {
  const auto create = EntryPoint<MediaInfoNewFunction>(MediaInfoEntry::New);
  const auto open = EntryPoint<MediaInfoOpenFunction>(MediaInfoEntry::Open);
  get_ = EntryPoint<MediaInfoGetFunction>(MediaInfoEntry::Get);
  close_ = EntryPoint<MediaInfoCloseFunction>(MediaInfoEntry::Close);
  delete_ = EntryPoint<MediaInfoDeleteFunction>(MediaInfoEntry::Delete);
  // Creating a handle that could not be used or released would be worse than
  // reporting nothing.
  if (!create || !open || !get_ || !close_ || !delete_)
    return;
  handle_ = create();
  // A file the library cannot open is not an error here: its values are
  // simply empty.
  if (handle_)
    open(handle_, filePath.constData());
}

MediaInfoQuery::~MediaInfoQuery() {
  if (!handle_)
    return;
  close_(handle_);
  delete_(handle_);
}

QByteArray MediaInfoQuery::Get(int streamKind, int streamNumber, const char* parameter) {
  if (!handle_ || streamNumber < 0)
    return {};
  // The text belongs to the library and is overwritten by the next call on
  // the handle, so it is copied before anything else happens.
  const char* value =
      get_(handle_, streamKind, std::size_t(streamNumber), parameter, ValueAsText, SearchByName);
  return value ? QByteArray(value) : QByteArray();
}
