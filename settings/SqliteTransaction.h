#pragma once

class TSqliteDatabase;

// The program never opens a transaction: every statement commits on its own,
// so a change is in the file the moment it has run. The object exists so the
// statement object has the transaction it is configured with.
class TSqliteTransaction {
public:
    explicit TSqliteTransaction(TSqliteDatabase& defaultDatabase) : DefaultDatabase(defaultDatabase) {}
    bool Active() const { return false; }

    TSqliteDatabase& DefaultDatabase;
};
