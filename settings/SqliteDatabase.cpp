#include "settings/SqliteDatabase.h"
#include "settings/SqliteError.h"

TSqliteDatabase::TSqliteDatabase(QByteArray clientLibrary, QByteArray databaseName)
    : ClientLibrary(std::move(clientLibrary)), DatabaseName(std::move(databaseName))
{
}

TSqliteDatabase::~TSqliteDatabase()
{
    if (m_handle)
        m_api->sqlite3_close(m_handle);
}

void TSqliteDatabase::Open()
{
    m_api = &Sqlite::BindClientLibrary(ClientLibrary);
    sqlite3* handle = nullptr;
    const int result = m_api->sqlite3_open(DatabaseName.constData(), &handle);
    if (result != Sqlite::Ok) {
        // The engine hands back a handle even when opening fails; it carries
        // the message and must still be released.
        const std::string message = handle ? m_api->sqlite3_errmsg(handle) : "out of memory";
        if (handle)
            m_api->sqlite3_close(handle);
        throw ESqliteError(message);
    }
    m_handle = handle;
}

QByteArray TSqliteDatabase::ErrorMessage() const
{
    return QByteArray(m_api->sqlite3_errmsg(m_handle));
}
