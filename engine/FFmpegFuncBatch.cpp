// The batch run: command line, progress, stop, power-off.
#include "engine/CommandLine.h"
#include "engine/ConversionProgress.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/OutputNames.h"
#include "engine/PowerOff.h"
#include "engine/ProgramFolder.h"
#include "engine/RowMarks.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/ImageList.h"
#include "engine/components/JvTimer.h"
#include "engine/components/JvTrayIcon.h"
#include "media/MediaInfoDll.h"
#include "process/JvCreateProcess.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>

using namespace RowMarks;

namespace {

const char* const StillFinishingMessage =
    "The stopped conversion is still finishing. Press Convert again once it has ended.";

// Sources of the list and the outputs the batch wrote before this row: an
// output must replace none of them.
QStringList PathsTakenBefore(QTreeWidget* list, int row)
{
    QStringList taken;
    for (int index = 0; index < list->topLevelItemCount(); ++index) {
        const QTreeWidgetItem* item = list->topLevelItem(index);
        taken << item->text(SourceColumn);
        if (index < row && !Output(item).isEmpty())
            taken << Output(item);
    }
    return taken;
}

void PostQuit()
{
    QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit, Qt::QueuedConnection);
}

} // namespace

QByteArray TFFmpegFunc::BuildCommandLine()
{
    const int row = StrToInt(JvEditNumb->text());
    QTreeWidgetItem* item = FileListView->topLevelItem(row);
    const QByteArray source = item->text(SourceColumn).toUtf8();
    const QString output = FreeOutputPath(QString::fromUtf8(MakeOutputFileName(source)),
                                          PathsTakenBefore(FileListView, row));
    RememberOutput(item, output);
    const OptionFragments fragments{GetVdoCodecCmd(),   GetVdoBitrateCmd(), GetVdoSizeCmd(),
                                    GetVdoFpsCmd(),     GetVdoAspectCmd(),  GetAdoCodecCmd(),
                                    GetAdoBitrateCmd(), GetAdoChannelsCmd(), GetAdoFreqCmd()};
    return JoinCommandLine(ConverterPath(ProgramFolder()), source, fragments, output.toUtf8());
}

QByteArray TFFmpegFunc::MakeOutputFileName(const QByteArray& sourcePath)
{
    const QByteArray folder = JvEditDir->text().toUtf8();
    return OutputPath(folder, SourceBaseName(QString::fromUtf8(sourcePath)).toUtf8());
}

int TFFmpegFunc::GetCurrentDurationSecs()
{
    const QTreeWidgetItem* item = FileListView->topLevelItem(StrToInt(JvEditNumb->text()));
    return PlayingTimeSecs(item->text(PlayingTimeColumn));
}

int TFFmpegFunc::ParseTimeSecs(const QByteArray& line) { return ProgressTimeSecs(line).value_or(-1); }

void TFFmpegFunc::ShutdownComputer(int flags)
{
    TPowerOff& powerOff = PowerOffBackend();
    if (!powerOff.MayPowerOff())
        PostQuit();
    if (!powerOff.PowerOff(flags))
        PostQuit();
}

void TFFmpegFunc::ConvertCurrentFile()
{
    QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text()));
    if (!item)
        return;
    ShowFileInfo(item->text(SourceColumn));
    MarkConverting(item, *FFmpegFrm->ImageList);
    try {
        JvCreateProcess->CommandLine = BuildCommandLine();
        JvCreateProcess->Start();
    } catch (const std::exception& error) {
        // No converter runs for this row: the batch ends here, visibly failed.
        MarkFailed(item, *FFmpegFrm->ImageList, QString::fromUtf8(error.what()));
        UnlockButtons();
        SetTimerEnabled(JvTimer, false);
        JvTrayIcon->SetIconIndex(TImageList::Added);
        throw;
    }
}

void TFFmpegFunc::StartConversion()
{
    if (FileListView->topLevelItemCount() == 0 || !AddFileBtn->isEnabled())
        return;
    // A stopped converter still finishing would have its end taken for the
    // end of row 0.
    if (JvCreateProcess->State() == TJvCreateProcess::TState::Watching) {
        JvEditCmdMsg->setText(StillFinishingMessage);
        return;
    }
    LockButtons();
    JvEditNumb->Assign("0");
    if (!AddFileBtn->isEnabled()) // row 0 could not start
        SetTimerEnabled(JvTimer, true);
}

void TFFmpegFunc::StopConversion()
{
    if (FileListView->topLevelItemCount() == 0 || AddFileBtn->isEnabled())
        return;
    UnlockButtons();
    JvCreateProcess->WriteInput("q");
    if (QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text())))
        MarkConverted(item, *FFmpegFrm->ImageList);
    SetTimerEnabled(JvTimer, false);
    JvTrayIcon->SetIconIndex(TImageList::Added);
}

void TFFmpegFunc::StopOnClose()
{
    if (FileListView->topLevelItemCount() == 0 || AddFileBtn->isEnabled())
        return;
    UnlockButtons();
    JvCreateProcess->WriteInput("q");
}

void TFFmpegFunc::HandleConverterOutput(const QByteArray& line)
{
    if (line.isEmpty())
        return;
    QTreeWidgetItem* item = RowAt(FileListView, StrToInt(JvEditNumb->text()));
    if (!item) // the list was cleared while a stopped converter finishes
        return;
    if (!IsProgressLine(line)) {
        RememberMessage(item, line);
        return;
    }
    const int position = ParseTimeSecs(line);
    if (position < 0)
        return;
    if (const std::optional<int> percent = ProgressPercent(position, GetCurrentDurationSecs()))
        item->setText(PercentColumn, QString::number(*percent) + '%');
    JvEditCmdMsg->setText(QString::fromUtf8(line));
}
