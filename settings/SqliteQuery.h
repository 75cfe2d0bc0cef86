#pragma once

#include <QByteArray>
#include <QList>
#include <cstdint>

class TSqliteDatabase;
class TSqliteTransaction;

// The one statement object of the program. A statement runs to its end when
// executed: a select's rows are copied out and the engine's statement is
// finalised at once, so no result ever holds a lock on the file.
class TSqliteQuery {
public:
    TSqliteQuery(TSqliteDatabase& database, TSqliteTransaction& transaction);

    QByteArray& SQL() { return m_sql; }
    const QByteArray& SQL() const { return m_sql; }

    // Runs the statement in SQL(). Raises the engine's message on failure;
    // the query is usable again for the next statement either way.
    void Execute();

    void First() { m_current = 0; }
    void Next() { ++m_current; }
    int RecordCount() const { return int(m_rows.size()); }

    // The column's value in the current row; 0 or empty text when there is
    // no current row or the value is NULL.
    std::int32_t FieldAsInteger(int column) const;
    QByteArray FieldAsString(int column) const;

    TSqliteTransaction& Transaction() const { return m_transaction; }

private:
    struct Field {
        std::int32_t integer = 0;
        QByteArray text;
    };
    const Field* currentField(int column) const;

    TSqliteDatabase& m_database;
    TSqliteTransaction& m_transaction;
    QByteArray m_sql;
    QList<QList<Field>> m_rows;
    int m_current = 0;
};
