// Play: the main window's controller opens the mini player. It lives with
// the player so that the engine never needs to know the player's window.
#include "batch/BatchRows.h"
#include "engine/FFmpegFunc.h"
#include "components/Dialogs.h"
#include "player/MplayerGUI.h"

#include <QLabel>
#include <QScopeGuard>
#include <QTreeWidget>
#include <memory>

void TFFmpegFunc::PlaySelectedFile()
{
    const int row = SelectedRow();
    if (row < 0) {
        ShowMessage(FileListView->window(), "message", "Please choose to play video file", QMessageBox::NoIcon);
        return;
    }
    const auto window = std::make_unique<TMplayerFrm>();
    MplayerFrm = window.get();
    // Cleared however the modal loop is left, an error included.
    const auto forget = qScopeGuard([] { MplayerFrm = nullptr; });
    window->JvLabFile->setText(BatchRows.At(row).source);
    window->exec();
}
