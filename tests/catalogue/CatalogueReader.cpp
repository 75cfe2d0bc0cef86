#include "CatalogueReader.h"

#include "ToolRun.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <utility>

CatalogueReader::CatalogueReader(QString sqlite3Program, QString databasePath)
    : m_sqlite3(std::move(sqlite3Program)), m_database(std::move(databasePath))
{
}

QJsonArray CatalogueReader::query(const QString &statement, QString *error) const
{
    // -readonly guards the pristine file against a slip in a test statement.
    const ToolResult result = runTool(m_sqlite3, {"-batch", "-bail", "-readonly", "-json",
                                                  m_database, statement});
    if (!result.succeeded()) {
        if (error)
            *error = QString::fromUtf8(result.output);
        return {};
    }
    // sqlite3 prints nothing at all for a select without rows.
    if (result.output.trimmed().isEmpty())
        return {};
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(result.output, &parseError);
    if (parseError.error != QJsonParseError::NoError && error)
        *error = parseError.errorString();
    return document.array();
}

QList<OptionEntry> CatalogueReader::entries(const QString &table, QString *error) const
{
    QList<OptionEntry> entries;
    const QJsonArray rows = query(QStringLiteral("select cmbex_index, cmbex_name, cmbex_cmd from %1 "
                                                 "order by cmbex_index").arg(table),
                                  error);
    for (const QJsonValue &row : rows) {
        const QJsonObject columns = row.toObject();
        entries.append({columns.value("cmbex_index").toInt(-1),
                        columns.value("cmbex_name").toString(),
                        columns.value("cmbex_cmd").toString()});
    }
    return entries;
}

std::optional<int> CatalogueReader::savedIndex(int tag, QString *error) const
{
    const QJsonArray rows = query(
        QStringLiteral("select cmbex_index from cmbex_itemindex where cmbex_tag = %1").arg(tag),
        error);
    if (rows.isEmpty())
        return std::nullopt;
    const QJsonValue index = rows.first().toObject().value("cmbex_index");
    if (!index.isDouble())
        return std::nullopt;
    return index.toInt();
}

bool CatalogueReader::execute(const QString &statement, QString *error) const
{
    const ToolResult result = runTool(m_sqlite3, {"-batch", "-bail", m_database, statement});
    if (!result.succeeded() && error)
        *error = QString::fromUtf8(result.output);
    return result.succeeded();
}
