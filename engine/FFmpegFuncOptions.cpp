// The option selectors: filling, restoring and saving the choices, and the
// command fragment each choice stands for.
#include "batch/CommandLine.h"
#include "batch/SourceFiles.h"
#include "components/Dialogs.h"
#include "converter/ConverterProbe.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/ProgramFolder.h"
#include "components/JvComboBox.h"
#include "settings/SqliteQuery.h"
#include "settings/Statements.h"

#include <QHash>
#include <QLineEdit>

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
    // The codec selectors offer only what the installed ffmpeg can encode.
    const bool isCodec = kind == VdoCodec || kind == AdoCodec;
    QList<TJvComboBox::TEntry> offered;
    QHash<int, QByteArray> withheld;
    SqliteQuery.First();
    for (int row = 0; row < SqliteQuery.RecordCount(); ++row) {
        const TJvComboBox::TEntry entry{SqliteQuery.FieldAsInteger(0), SqliteQuery.FieldAsString(1)};
        if (!isCodec || ConverterAbilities().Offers(QString::fromUtf8(SqliteQuery.FieldAsString(2))))
            offered << entry;
        else
            withheld.insert(entry.position, entry.name);
        SqliteQuery.Next();
    }
    selector->ReplaceEntries(offered);
    const int saved = GetSavedIndex(OptionKinds[kind].tag);
    // The saved choice stays saved, for a later ffmpeg that has it again.
    if (withheld.contains(saved) && !offered.isEmpty()) {
        selector->SelectPosition(offered.constFirst().position);
        JvEditCmdMsg->setText(QStringLiteral("%1 \"%2\" is not available with the installed ffmpeg: \"%3\" is used.")
                                  .arg(QLatin1String(OptionKinds[kind].label), QString::fromUtf8(withheld[saved]),
                                       QString::fromUtf8(offered.constFirst().name)));
        return;
    }
    selector->SelectPosition(saved);
}

const TConverterAbilities& TFFmpegFunc::ConverterAbilities() const { return FFmpegFrm->ConverterProbe->Abilities(); }

void TFFmpegFunc::StartConverterProbe()
{
    QStringList fragments;
    for (const OptionKindIndex kind : {VdoCodec, AdoCodec}) {
        RunStatement(Statements::SelectOptionList(OptionKinds[kind].table));
        SqliteQuery.First();
        for (int row = 0; row < SqliteQuery.RecordCount(); ++row) {
            fragments << QString::fromUtf8(SqliteQuery.FieldAsString(2));
            SqliteQuery.Next();
        }
    }
    FFmpegFrm->ConverterProbe->Start(QString::fromUtf8(ConverterPath(ProgramFolder())), fragments);
    ApplyConverterAbilities();
}

void TFFmpegFunc::ApplyConverterAbilities()
{
    LoadOptionList(VdoCodec);
    LoadOptionList(AdoCodec);
    OpenDialog1->Filter = SourceFileFilter(ConverterAbilities().SourceExtensions());
}

void TFFmpegFunc::ReportConverterProbeFailure(const QString& message) { JvEditCmdMsg->setText(message); }

int TFFmpegFunc::GetSavedIndex(int tag)
{
    RunStatement(Statements::SelectSavedIndex(tag));
    return SqliteQuery.FieldAsInteger(0);
}

void TFFmpegFunc::SaveSelectedIndex(TJvComboBox* selector)
{
    RunStatement(Statements::UpdateSavedIndex(selector->SelectedPosition(), selector->Tag));
}

TChoices TFFmpegFunc::GetChosenOptions()
{
    using Getter = QByteArray (TFFmpegFunc::*)();
    constexpr Getter getters[] = {&TFFmpegFunc::GetVdoCodecCmd,   &TFFmpegFunc::GetVdoBitrateCmd,
                                  &TFFmpegFunc::GetVdoSizeCmd,    &TFFmpegFunc::GetVdoFpsCmd,
                                  &TFFmpegFunc::GetVdoAspectCmd,  &TFFmpegFunc::GetAdoCodecCmd,
                                  &TFFmpegFunc::GetAdoBitrateCmd, &TFFmpegFunc::GetAdoChannelsCmd,
                                  &TFFmpegFunc::GetAdoFreqCmd};
    TChoices choices;
    for (size_t kind = 0; kind < OptionKinds.size(); ++kind)
        choices[kind] = {Selectors[kind]->itemText(Selectors[kind]->currentIndex()), (this->*getters[kind])()};
    return choices;
}

std::optional<QByteArray> TFFmpegFunc::GetQualityCmd(const QByteArray& level, const QString& encoder)
{
    RunStatement(Statements::SelectQualityCommand(level, encoder.toUtf8()));
    if (SqliteQuery.RecordCount() == 0)
        return std::nullopt;
    return SqliteQuery.FieldAsString(0);
}

QByteArray TFFmpegFunc::GetOptionCmd(OptionKindIndex kind)
{
    RunStatement(Statements::SelectOptionCommand(OptionKinds[kind].table, Selectors[kind]->SelectedPosition()));
    return SqliteQuery.FieldAsString(0);
}
