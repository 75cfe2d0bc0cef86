#pragma once

#include "settings/SqliteDatabase.h"
#include "settings/SqliteQuery.h"
#include "settings/SqliteTransaction.h"

// Owns the settings database for the whole run. Creating it opens the file,
// so the database is there before any window exists.
class TSqlDatMod {
public:
    static constexpr const char* DefaultClientLibrary = "libsqlite3.so.0";
    static constexpr const char* DefaultDatabaseName = "LibFFmpeg.Dat";

    explicit TSqlDatMod(QByteArray clientLibrary = DefaultClientLibrary,
                        QByteArray databaseName = DefaultDatabaseName);

    TSqliteDatabase DataBase;
    TSqliteTransaction SqliteTrans;
    TSqliteQuery SqliteQuery;
};

// The program-wide data module, set while it exists.
extern TSqlDatMod* SqlDatMod;
