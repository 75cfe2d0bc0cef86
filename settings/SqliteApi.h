#pragma once

#include <QByteArray>
#include <cstdint>

// The engine's C interface, declared here because the engine is bound at run
// time by name and the program has no link-time dependency on it.
struct sqlite3;
struct sqlite3_stmt;

namespace Sqlite {

constexpr int Ok = 0;
constexpr int Row = 100;
constexpr int Done = 101;
constexpr int Null = 5;

using Destructor = void (*)(void*);

// X(name, result, arguments): every engine function the binding looks up,
// in lookup order.
#define MOVARIN_SQLITE_FUNCTIONS(X)                                                              \
    X(sqlite3_open, int, (const char*, sqlite3**))                                               \
    X(sqlite3_open16, int, (const void*, sqlite3**))                                             \
    X(sqlite3_open_v2, int, (const char*, sqlite3**, int, const char*))                          \
    X(sqlite3_close, int, (sqlite3*))                                                            \
    X(sqlite3_errmsg, const char*, (sqlite3*))                                                   \
    X(sqlite3_last_insert_rowid, std::int64_t, (sqlite3*))                                       \
    X(sqlite3_changes, int, (sqlite3*))                                                          \
    X(sqlite3_prepare_v2, int, (sqlite3*, const char*, int, sqlite3_stmt**, const char**))       \
    X(sqlite3_step, int, (sqlite3_stmt*))                                                        \
    X(sqlite3_reset, int, (sqlite3_stmt*))                                                       \
    X(sqlite3_finalize, int, (sqlite3_stmt*))                                                    \
    X(sqlite3_column_count, int, (sqlite3_stmt*))                                                \
    X(sqlite3_column_type, int, (sqlite3_stmt*, int))                                            \
    X(sqlite3_column_name, const char*, (sqlite3_stmt*, int))                                    \
    X(sqlite3_column_origin_name, const char*, (sqlite3_stmt*, int))                             \
    X(sqlite3_column_table_name, const char*, (sqlite3_stmt*, int))                              \
    X(sqlite3_column_database_name, const char*, (sqlite3_stmt*, int))                           \
    X(sqlite3_column_decltype, const char*, (sqlite3_stmt*, int))                                \
    X(sqlite3_column_blob, const void*, (sqlite3_stmt*, int))                                    \
    X(sqlite3_column_bytes, int, (sqlite3_stmt*, int))                                           \
    X(sqlite3_column_double, double, (sqlite3_stmt*, int))                                       \
    X(sqlite3_column_int, int, (sqlite3_stmt*, int))                                             \
    X(sqlite3_column_int64, std::int64_t, (sqlite3_stmt*, int))                                  \
    X(sqlite3_column_text, const unsigned char*, (sqlite3_stmt*, int))                           \
    X(sqlite3_bind_parameter_count, int, (sqlite3_stmt*))                                        \
    X(sqlite3_bind_blob, int, (sqlite3_stmt*, int, const void*, int, Destructor))                \
    X(sqlite3_bind_double, int, (sqlite3_stmt*, int, double))                                    \
    X(sqlite3_bind_int, int, (sqlite3_stmt*, int, int))                                          \
    X(sqlite3_bind_int64, int, (sqlite3_stmt*, int, std::int64_t))                               \
    X(sqlite3_bind_null, int, (sqlite3_stmt*, int))                                              \
    X(sqlite3_bind_text, int, (sqlite3_stmt*, int, const char*, int, Destructor))                \
    X(sqlite3_libversion, const char*, ())                                                       \
    X(sqlite3_libversion_number, int, ())

struct Api {
#define MOVARIN_SQLITE_POINTER(name, result, arguments) result(*name) arguments = nullptr;
    MOVARIN_SQLITE_FUNCTIONS(MOVARIN_SQLITE_POINTER)
#undef MOVARIN_SQLITE_POINTER
};

// Binds the engine library once per process. Raises "Cannot load client DLL: "
// followed by the name when it cannot be loaded; a later call tries again.
// A function the library lacks is bound to a stand-in that raises
// "SQLite function is not linked" when called. The library is never unloaded.
const Api& BindClientLibrary(const QByteArray& libraryName);

} // namespace Sqlite
