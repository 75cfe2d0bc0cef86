#include "MiniPlayerRun.h"

#include "app/FFmpegGUI.h"
#include "batch/BatchRows.h"
#include "player/MplayerGUI.h"
#include "process/JvCreateProcess.h"

#include <QTimer>
#include <QToolButton>
#include <QTreeWidget>

void ListAndSelect(TFFmpegFrm* window, const QString& path)
{
    TBatchRow listed;
    listed.source = path;
    window->BatchRows->Append(listed);
    QTreeWidgetItem* row = window->FileListView->topLevelItem(window->BatchRows->Count() - 1);
    window->FileListView->setCurrentItem(row);
    row->setSelected(true);
}

bool PlayWhileOpen(TFFmpegFrm* window, const std::function<void(TMplayerFrm&)>& whileOpen)
{
    bool opened = false;
    QObject untilPlayReturns;
    // Runs as soon as the window's modal loop turns.
    QTimer::singleShot(0, &untilPlayReturns, [&] {
        if (!MplayerFrm)
            return;
        opened = true;
        whileOpen(*MplayerFrm);
        MplayerFrm->close();
    });
    window->PlayBtn->click();
    return opened;
}

void RecordDeliveries(TMplayerFrm& player, QList<QByteArray>& into)
{
    auto handle = player.JvCmdProc->OnRead;
    player.JvCmdProc->OnRead = [handle, &into](TJvCreateProcess* sender, const QByteArray& S, bool startsOnNewLine) {
        handle(sender, S, startsOnNewLine);
        into << S;
    };
}
