#pragma once

#include <QJsonArray>
#include <QList>
#include <QString>
#include <optional>

// One selector entry as the database holds it.
struct OptionEntry
{
    int index = -1;
    QString name;
    QString fragment;
};

// Reads a database through the sqlite3 command-line program, so the test
// looks at the file exactly as the build made it, with no library of ours
// in between.
class CatalogueReader
{
public:
    CatalogueReader(QString sqlite3Program, QString databasePath);

    // Rows of a select as JSON objects keyed by column name; an empty array
    // with *error set when sqlite3 rejects the statement.
    QJsonArray query(const QString &statement, QString *error = nullptr) const;

    // Rows in ascending cmbex_index, as the selectors list them.
    QList<OptionEntry> entries(const QString &table, QString *error = nullptr) const;

    // The saved position for a tag; nothing when the tag has no row.
    std::optional<int> savedIndex(int tag, QString *error = nullptr) const;

    // Runs a statement that changes the file (tests preparing a user's copy).
    bool execute(const QString &statement, QString *error) const;

private:
    QString m_sqlite3;
    QString m_database;
};
