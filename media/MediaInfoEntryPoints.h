#pragma once

#include <cstddef>

// The library's plain C interface, declared here because no development
// header is installed with it. Each operation comes in a wide-text form
// (MediaInfo_) and an 8-bit form (MediaInfoA_); both sets are looked up, and
// only the 8-bit one is called: it takes and returns UTF-8.
namespace MediaInfoEntry {
enum Index : int {
  WideNew, WideDelete, WideOpen, WideClose, WideInform,
  WideGetI, WideGet, WideOption, WideStateGet, WideCountGet,
  New, Delete, Open, Close, Inform,
  GetI, Get, Option, StateGet, CountGet,
  Count
};
}

// Lookup names, in lookup order (the order of MediaInfoEntry::Index).
extern const char* const MediaInfoEntryPointNames[MediaInfoEntry::Count];

// The address found for an entry point, or nullptr when the library is not
// loaded or lacks it.
void* MediaInfoEntryPoint(MediaInfoEntry::Index entry);

// The library's stream-kind and information-kind arguments are C
// enumerations, which are passed as int.
using MediaInfoNewFunction = void* (*)();
using MediaInfoDeleteFunction = void (*)(void* handle);
using MediaInfoOpenFunction = std::size_t (*)(void* handle, const char* filePath);
using MediaInfoCloseFunction = void (*)(void* handle);
using MediaInfoGetFunction = const char* (*)(void* handle, int streamKind,
                                             std::size_t streamNumber,
                                             const char* parameter,
                                             int kindOfInformation,
                                             int kindOfSearch);
