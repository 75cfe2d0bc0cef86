// The option selectors: filling, restoring and saving the choices, and the
// command fragment each choice stands for.
#include "engine/FFmpegFunc.h"
#include "components/JvComboBox.h"
#include "settings/SqliteQuery.h"
#include "settings/Statements.h"

void TFFmpegFunc::LoadAllOptionLists()
{
    for (size_t kind = 0; kind < OptionKinds.size(); ++kind)
        LoadOptionList(OptionKindIndex(kind));
}

void TFFmpegFunc::LoadOptionList(OptionKindIndex kind)
{
    TJvComboBox* selector = Selectors[kind];
    selector->ReplaceEntries({});
    RunStatement(Statements::SelectOptionList(OptionKinds[kind].table));
    QList<QByteArray> names;
    SqliteQuery.First();
    for (int row = 0; row < SqliteQuery.RecordCount(); ++row) {
        names << SqliteQuery.FieldAsString(1);
        SqliteQuery.Next();
    }
    selector->ReplaceEntries(names);
    selector->SelectPosition(GetSavedIndex(OptionKinds[kind].tag));
}

int TFFmpegFunc::GetSavedIndex(int tag)
{
    RunStatement(Statements::SelectSavedIndex(tag));
    return SqliteQuery.FieldAsInteger(0);
}

void TFFmpegFunc::SaveSelectedIndex(TJvComboBox* selector)
{
    RunStatement(Statements::UpdateSavedIndex(selector->currentIndex(), selector->Tag));
}

QByteArray TFFmpegFunc::GetOptionCmd(OptionKindIndex kind)
{
    RunStatement(Statements::SelectOptionCommand(OptionKinds[kind].table, Selectors[kind]->currentIndex()));
    return SqliteQuery.FieldAsString(0);
}
