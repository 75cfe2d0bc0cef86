// A stand-in for the media-information library with the same plain C entry
// points. It writes down every call of the 8-bit interface, so a test can see
// the exact sequence a query makes and that every handle it creates is
// released. Built a second time without MediaInfoA_Get to stand for an
// incomplete library.

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>

namespace {
struct Handle {
  int number;
  bool opened = false;
  char value[128] = {};  // reused by every Get, as the real library does
};

std::string calls;
int nextNumber = 1;
int liveHandles = 0;

void Record(const std::string& call) { calls += call + '\n'; }
}  // namespace

extern "C" {
const char* RecordedMediaInfoCalls() { return calls.c_str(); }
void ForgetRecordedMediaInfoCalls() {
  calls.clear();
  nextNumber = 1;
}
int LiveMediaInfoHandles() { return liveHandles; }

void* MediaInfoA_New() {
  auto* handle = new Handle{nextNumber++};
  ++liveHandles;
  Record("New " + std::to_string(handle->number));
  return handle;
}

void MediaInfoA_Delete(void* opaque) {
  auto* handle = static_cast<Handle*>(opaque);
  Record("Delete " + std::to_string(handle->number));
  --liveHandles;
  delete handle;
}

std::size_t MediaInfoA_Open(void* opaque, const char* filePath) {
  auto* handle = static_cast<Handle*>(opaque);
  Record("Open " + std::to_string(handle->number) + ' ' + filePath);
  handle->opened = std::strstr(filePath, "unreadable") == nullptr;
  return handle->opened ? 1 : 0;
}

void MediaInfoA_Close(void* opaque) {
  auto* handle = static_cast<Handle*>(opaque);
  Record("Close " + std::to_string(handle->number));
  handle->opened = false;
}

#ifndef LEAVE_OUT_GET
const char* MediaInfoA_Get(void* opaque, int streamKind, std::size_t streamNumber,
                           const char* parameter, int kindOfInformation,
                           int kindOfSearch) {
  auto* handle = static_cast<Handle*>(opaque);
  Record("Get " + std::to_string(handle->number) + ' ' + std::to_string(streamKind) +
         ' ' + std::to_string(streamNumber) + ' ' + parameter + ' ' +
         std::to_string(kindOfInformation) + ' ' + std::to_string(kindOfSearch));
  if (handle->opened)
    std::snprintf(handle->value, sizeof handle->value, "value of %s", parameter);
  else
    handle->value[0] = '\0';
  return handle->value;
}
#endif

// The rest of the interface exists so that the stand-in offers every name
// the real library offers; nothing here is expected to be called.
const char* MediaInfoA_Inform(void*, std::size_t) { return ""; }
const char* MediaInfoA_GetI(void*, int, std::size_t, std::size_t, int) { return ""; }
const char* MediaInfoA_Option(void*, const char*, const char*) { return ""; }
std::size_t MediaInfoA_State_Get(void*) { return 0; }
std::size_t MediaInfoA_Count_Get(void*, int, std::size_t) { return 0; }

void* MediaInfo_New() { return nullptr; }
void MediaInfo_Delete(void*) {}
std::size_t MediaInfo_Open(void*, const wchar_t*) { return 0; }
void MediaInfo_Close(void*) {}
const wchar_t* MediaInfo_Inform(void*, std::size_t) { return L""; }
const wchar_t* MediaInfo_GetI(void*, int, std::size_t, std::size_t, int) { return L""; }
const wchar_t* MediaInfo_Get(void*, int, std::size_t, const wchar_t*, int, int) { return L""; }
const wchar_t* MediaInfo_Option(void*, const wchar_t*, const wchar_t*) { return L""; }
std::size_t MediaInfo_State_Get(void*) { return 0; }
std::size_t MediaInfo_Count_Get(void*, int, std::size_t) { return 0; }
}
