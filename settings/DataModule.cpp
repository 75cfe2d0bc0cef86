#include "settings/DataModule.h"

TSqlDatMod* SqlDatMod = nullptr;

TSqlDatMod::TSqlDatMod(QByteArray clientLibrary, QByteArray databaseName)
    : DataBase(std::move(clientLibrary), std::move(databaseName)), SqliteTrans(DataBase),
      SqliteQuery(DataBase, SqliteTrans)
{
    DataBase.Open();
}
