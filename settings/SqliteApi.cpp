#include "settings/SqliteApi.h"
#include "settings/SqliteError.h"

#include <dlfcn.h>
#include <mutex>

namespace Sqlite {
namespace {

template <typename Function> struct NotLinked;

template <typename Result, typename... Arguments> struct NotLinked<Result (*)(Arguments...)> {
    static Result call(Arguments...) { throw ESqliteError("SQLite function is not linked"); }
};

template <typename Function> void bindFunction(void* library, const char* name, Function& target)
{
    void* address = dlsym(library, name);
    target = address ? reinterpret_cast<Function>(address) : &NotLinked<Function>::call;
}

std::mutex bindingLock;
Api boundApi;
bool bound = false;

} // namespace

const Api& BindClientLibrary(const QByteArray& libraryName)
{
    std::lock_guard guard(bindingLock);
    if (bound)
        return boundApi;
    void* library = dlopen(libraryName.constData(), RTLD_NOW | RTLD_LOCAL);
    if (!library)
        throw ESqliteError("Cannot load client DLL: " + libraryName.toStdString());
#define MOVARIN_SQLITE_BIND(name, result, arguments) bindFunction(library, #name, boundApi.name);
    MOVARIN_SQLITE_FUNCTIONS(MOVARIN_SQLITE_BIND)
#undef MOVARIN_SQLITE_BIND
    bound = true;
    return boundApi;
}

} // namespace Sqlite
