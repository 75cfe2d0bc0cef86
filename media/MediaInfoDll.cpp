#include "media/MediaInfoDll.h"

#include "media/MediaInfoEntryPoints.h"

#include <clocale>
#include <cstring>
#include <dlfcn.h>
#include <langinfo.h>
#include <mutex>
#include <system_error>
#include <thread>

const char* const MediaInfoEntryPointNames[MediaInfoEntry::Count] = {
    "MediaInfo_New",        "MediaInfo_Delete",     "MediaInfo_Open",
    "MediaInfo_Close",      "MediaInfo_Inform",     "MediaInfo_GetI",
    "MediaInfo_Get",        "MediaInfo_Option",     "MediaInfo_State_Get",
    "MediaInfo_Count_Get",  "MediaInfoA_New",       "MediaInfoA_Delete",
    "MediaInfoA_Open",      "MediaInfoA_Close",     "MediaInfoA_Inform",
    "MediaInfoA_GetI",      "MediaInfoA_Get",       "MediaInfoA_Option",
    "MediaInfoA_State_Get", "MediaInfoA_Count_Get",
};

const char* MediaInfoLibraryName = "libmediainfo.so.0";

namespace {
// Never released: the library stays loaded until the process ends.
void* libraryHandle = nullptr;
void* entryPoints[MediaInfoEntry::Count] = {};
// Set once every entry point a query calls is bound; from then on nothing
// here changes, so threads may query beside each other.
bool queryReady = false;
std::mutex loading;

QByteArray& ChosenLibraryName() {
  static QByteArray name;
  return name;
}

bool QueryEntryPointsPresent() {
  for (const auto entry : {MediaInfoEntry::New, MediaInfoEntry::Open,
                           MediaInfoEntry::Get, MediaInfoEntry::Close,
                           MediaInfoEntry::Delete}) {
    if (!entryPoints[entry])
      return false;
  }
  return true;
}

// The library turns a path into the C library's multibyte encoding to open
// the file. Under the "C" character type (LANG unset, LC_ALL=C) that fails for
// every path with a non-ASCII letter, while the program's texts are UTF-8
// throughout; so the character type is made UTF-8 whenever it is not.
void UseUtf8CharacterType() {
  if (std::strcmp(nl_langinfo(CODESET), "UTF-8") != 0)
    std::setlocale(LC_CTYPE, "C.UTF-8");
}
}  // namespace

void* MediaInfoEntryPoint(MediaInfoEntry::Index entry) {
  return entryPoints[entry];
}

void SetMediaInfoLibraryName(const QByteArray& libraryName) {
  ChosenLibraryName() = libraryName;
  MediaInfoLibraryName = ChosenLibraryName().constData();
}

bool LoadMediaInfo(const QByteArray& libraryName) {
  const std::lock_guard guard(loading);
  if (queryReady)
    return true;
  if (!libraryHandle)
    libraryHandle = dlopen(libraryName.constData(), RTLD_NOW | RTLD_LOCAL);
  if (!libraryHandle)
    return false;
  for (int entry = 0; entry < MediaInfoEntry::Count; ++entry)
    entryPoints[entry] = dlsym(libraryHandle, MediaInfoEntryPointNames[entry]);
  UseUtf8CharacterType();
  queryReady = QueryEntryPointsPresent();
  return queryReady;
}

void PreloadMediaInfo(const QByteArray& libraryName) {
  try {
    // The handle is dropped unclosed on purpose: the loader's own count keeps
    // the library mapped, and LoadMediaInfo's dlopen then only counts up.
    std::thread([libraryName] {
      dlopen(libraryName.constData(), RTLD_NOW | RTLD_LOCAL);
    }).detach();
  } catch (const std::system_error&) {
    // No thread to spare: the library is loaded when it is first needed.
  }
}
