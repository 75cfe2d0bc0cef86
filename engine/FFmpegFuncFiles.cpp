// The source file list and the information panel.
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "engine/FileFacts.h"
#include "engine/MediaInfoNotice.h"
#include "engine/components/CursorEdit.h"
#include "engine/components/Dialogs.h"
#include "engine/components/ImageList.h"
#include "media/MediaInfoDll.h"

#include <QLineEdit>
#include <QTreeWidget>

namespace {

constexpr int ValueColumn = 1;

// Asks the library about one file; nothing when the library is not there.
template <typename Make>
auto DescribeFile(const QString& path, Make make) -> std::optional<decltype(make(FileProperty()))>
{
    if (!LoadMediaInfo(MediaInfoLibraryName))
        return std::nullopt;
    MediaInfoQuery query(path.toUtf8());
    return make([&query](int streamKind, const char* parameter) { return query.Get(streamKind, parameter); });
}

// Every line loses its value first, so the caption line and the headings are
// left without one, whatever they held.
void ShowInfoPanelValues(QTreeWidget* panel, const InfoPanelValues& values)
{
    for (int line = 1; line < InfoPanelLineCount; ++line) {
        QTreeWidgetItem* item = panel->topLevelItem(line);
        item->setData(ValueColumn, Qt::DisplayRole, QVariant());
        if (values[line])
            item->setText(ValueColumn, *values[line]);
    }
}

} // namespace

void TFFmpegFunc::ClearInfoPanel() { ShowInfoPanelValues(MsgListView, EmptyInfoPanelValues()); }

void TFFmpegFunc::AddFile()
{
    if (!OpenDialog1->Execute())
        return;
    const QString path = OpenDialog1->FileName;
    const std::optional<FileRowTexts> row = DescribeFile(path, MakeFileRowTexts);
    if (!row) {
        ShowMediaInfoMissingOnce(JvEditCmdMsg);
        return;
    }
    auto* item = new QTreeWidgetItem(QStringList{path, row->type, row->size, row->playingTime, row->percent});
    item->setIcon(0, FFmpegFrm->ImageList->Icon(TImageList::Added));
    FileListView->addTopLevelItem(item);
    ShowFileInfo(path);
}

void TFFmpegFunc::ShowFileInfo(const QString& path)
{
    if (const std::optional<InfoPanelValues> values = DescribeFile(path, MakeInfoPanelValues))
        ShowInfoPanelValues(MsgListView, *values);
}

void TFFmpegFunc::ShowSelectedFileInfo()
{
    const QList<QTreeWidgetItem*> selected = FileListView->selectedItems();
    if (!selected.isEmpty())
        ShowFileInfo(selected.constFirst()->text(0));
}

void TFFmpegFunc::DeleteSelectedFile()
{
    const QList<QTreeWidgetItem*> selected = FileListView->selectedItems();
    if (!selected.isEmpty()) {
        delete selected.constFirst();
        // The list would otherwise select a neighbour, and the next Delete
        // would remove a row the user never chose.
        FileListView->clearSelection();
    }
    if (FileListView->topLevelItemCount() == 0)
        ClearInfoPanel();
}

void TFFmpegFunc::ClearFiles()
{
    if (FileListView->topLevelItemCount() == 0)
        return;
    FileListView->clear();
    ClearInfoPanel();
    JvEditNumb->Assign("-1");
    JvEditCmdMsg->clear();
}
