#pragma once

#include "settings/SqliteApi.h"

#include <QByteArray>

// The connection to one database file. It is opened once and stays open
// until it is destroyed; it is never reopened.
class TSqliteDatabase {
public:
    TSqliteDatabase(QByteArray clientLibrary, QByteArray databaseName);
    ~TSqliteDatabase();
    TSqliteDatabase(const TSqliteDatabase&) = delete;
    TSqliteDatabase& operator=(const TSqliteDatabase&) = delete;

    // Binds the engine if need be and opens the file read-write, creating an
    // empty database when it is missing. The name is used as given, so a bare
    // name is found in the current directory.
    void Open();
    bool Connected() const { return m_handle != nullptr; }

    const Sqlite::Api& Engine() const { return *m_api; }
    sqlite3* Handle() const { return m_handle; }
    QByteArray ErrorMessage() const;

    const QByteArray ClientLibrary;
    const QByteArray DatabaseName;

private:
    const Sqlite::Api* m_api = nullptr;
    sqlite3* m_handle = nullptr;
};
