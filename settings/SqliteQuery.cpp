#include "settings/SqliteQuery.h"
#include "settings/SqliteDatabase.h"
#include "settings/SqliteError.h"

#include <memory>

TSqliteQuery::TSqliteQuery(TSqliteDatabase& database, TSqliteTransaction& transaction)
    : m_database(database), m_transaction(transaction)
{
}

void TSqliteQuery::Execute()
{
    m_rows.clear();
    m_current = 0;
    const Sqlite::Api& engine = m_database.Engine();
    auto fail = [&]() { throw ESqliteError(m_database.ErrorMessage().toStdString()); };

    sqlite3_stmt* compiled = nullptr;
    if (engine.sqlite3_prepare_v2(m_database.Handle(), m_sql.constData(), int(m_sql.size()), &compiled,
                                  nullptr)
        != Sqlite::Ok)
        fail();
    if (!compiled)
        return; // blank text: nothing to run
    std::unique_ptr<sqlite3_stmt, decltype(engine.sqlite3_finalize)> statement(compiled, engine.sqlite3_finalize);

    const int columns = engine.sqlite3_column_count(compiled);
    for (;;) {
        const int step = engine.sqlite3_step(compiled);
        if (step == Sqlite::Done)
            return;
        if (step != Sqlite::Row)
            fail();
        QList<Field> row(columns);
        for (int column = 0; column < columns; ++column) {
            // Read the integer first: asking for text converts a number in place.
            row[column].integer = engine.sqlite3_column_int(compiled, column);
            const auto* text = engine.sqlite3_column_text(compiled, column);
            if (text)
                row[column].text = QByteArray(reinterpret_cast<const char*>(text),
                                              engine.sqlite3_column_bytes(compiled, column));
        }
        m_rows.append(std::move(row));
    }
}

const TSqliteQuery::Field* TSqliteQuery::currentField(int column) const
{
    if (m_current < 0 || m_current >= m_rows.size())
        return nullptr;
    const QList<Field>& row = m_rows[m_current];
    return column >= 0 && column < row.size() ? &row[column] : nullptr;
}

std::int32_t TSqliteQuery::FieldAsInteger(int column) const
{
    const Field* field = currentField(column);
    return field ? field->integer : 0;
}

QByteArray TSqliteQuery::FieldAsString(int column) const
{
    const Field* field = currentField(column);
    return field ? field->text : QByteArray();
}
