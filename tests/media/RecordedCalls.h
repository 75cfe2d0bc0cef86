#pragma once

#include <QByteArray>
#include <QList>

#include <dlfcn.h>

// Reads the call record of the recording stand-in library at libraryPath,
// which the code under test has already loaded.
class RecordedCalls {
public:
  explicit RecordedCalls(const char* libraryPath)
      : library_(dlopen(libraryPath, RTLD_NOW | RTLD_NOLOAD)) {}
  ~RecordedCalls() {
    if (library_)
      dlclose(library_);
  }
  RecordedCalls(const RecordedCalls&) = delete;
  RecordedCalls& operator=(const RecordedCalls&) = delete;

  bool LibraryLoaded() const { return library_ != nullptr; }

  QList<QByteArray> Calls() const {
    const auto read = Function<const char* (*)()>("RecordedMediaInfoCalls");
    QList<QByteArray> calls = QByteArray(read()).split('\n');
    calls.removeLast();  // after the last line feed
    return calls;
  }

  void Forget() const { Function<void (*)()>("ForgetRecordedMediaInfoCalls")(); }

  int LiveHandles() const { return Function<int (*)()>("LiveMediaInfoHandles")(); }

private:
  template <typename Pointer>
  Pointer Function(const char* name) const {
    return reinterpret_cast<Pointer>(dlsym(library_, name));
  }

  void* library_;
};
