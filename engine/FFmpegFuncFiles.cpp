// The source file list and the information panel.
#include "batch/BatchRows.h"
#include "engine/FFmpegFrmComponents.h"
#include "engine/FFmpegFunc.h"
#include "batch/FileFacts.h"
#include "engine/MediaInfoNotice.h"
#include "batch/SourceFiles.h"
#include "components/CursorEdit.h"
#include "components/Dialogs.h"
#include "media/MediaInfoDll.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>

namespace {

constexpr int ValueColumn = 1;

// Asks the library about one file; nothing when the library is not there.
template <typename Make>
auto DescribeFile(const QString& path, Make make) -> std::optional<decltype(make(FileProperty()))>
{
    return ReadWithMediaInfo(path.toUtf8(), [&make](MediaInfoQuery& query) {
        return make([&query](int streamKind, const char* parameter) { return query.Get(streamKind, parameter); });
    });
}

// Reading the properties of hundreds of files takes seconds: the status line
// counts them and the window keeps painting. Clicks and keys wait until every
// file is in, so nothing can change the list halfway.
class ReadingProgress {
public:
    ReadingProgress(QLineEdit* statusLine, qsizetype total)
        : m_statusLine(statusLine), m_total(total), m_before(statusLine->text())
    {
        m_sinceRefresh.start();
    }
    ~ReadingProgress()
    {
        if (m_shown)
            m_statusLine->setText(m_before);
    }

    void Reached(qsizetype done)
    {
        if (m_sinceRefresh.elapsed() < RefreshMs)
            return;
        m_shown = true;
        m_statusLine->setText(QStringLiteral("Reading files… %1 of %2").arg(done).arg(m_total));
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_sinceRefresh.restart();
    }

private:
    static constexpr qint64 RefreshMs = 100;
    QLineEdit* m_statusLine;
    qsizetype m_total;
    QString m_before;
    QElapsedTimer m_sinceRefresh;
    bool m_shown = false;
};

} // namespace

void TFFmpegFunc::ClearInfoPanel() { ShowInfoPanelValues(EmptyInfoPanelValues()); }

// Every line loses its value first, so the caption line and the headings are
// left without one, whatever they held.
void TFFmpegFunc::ShowInfoPanelValues(const InfoPanelValues& values)
{
    for (int line = 1; line < InfoPanelLineCount; ++line) {
        QTreeWidgetItem* item = MsgListView->topLevelItem(line);
        item->setData(ValueColumn, Qt::DisplayRole, QVariant());
        if (values[line])
            item->setText(ValueColumn, *values[line]);
    }
}

void TFFmpegFunc::AddFile()
{
    if (OpenDialog1->Execute())
        AddFiles(OpenDialog1->Files);
}

void TFFmpegFunc::AddDroppedFiles(const QList<QUrl>& dropped)
{
    if (!AddFileBtn->isEnabled()) // a batch runs
        return;
    AddFiles(DroppedSourceFiles(dropped, FilterExtensions(OpenDialog1->Filter)));
}

void TFFmpegFunc::AddFiles(const QStringList& paths)
{
    ReadingProgress progress(JvEditCmdMsg, paths.size());
    for (qsizetype index = 0; index < paths.size(); ++index) {
        const std::optional<FileRowTexts> row = DescribeFile(paths[index], MakeFileRowTexts);
        if (!row) {
            ShowMediaInfoMissingOnce(JvEditCmdMsg);
            return;
        }
        TBatchRow added;
        added.source = paths[index];
        added.type = row->type;
        added.size = row->size;
        added.playingTime = row->playingTime;
        added.playingTimeRead = row->playingTimeRead;
        BatchRows.Append(std::move(added));
        progress.Reached(index + 1);
    }
    if (!paths.isEmpty())
        ShowFileInfo(paths.constLast());
}

void TFFmpegFunc::ShowFileInfo(const QString& path)
{
    if (const std::optional<InfoPanelValues> values = DescribeFile(path, MakeInfoPanelValues))
        ShowInfoPanelValues(*values);
}

int TFFmpegFunc::SelectedRow() const
{
    const QList<QTreeWidgetItem*> selected = FileListView->selectedItems();
    return selected.isEmpty() ? -1 : FileListView->indexOfTopLevelItem(selected.constFirst());
}

QList<int> TFFmpegFunc::SelectedRows() const
{
    QList<int> rows;
    for (QTreeWidgetItem* item : FileListView->selectedItems())
        rows << FileListView->indexOfTopLevelItem(item);
    std::sort(rows.begin(), rows.end());
    return rows;
}

void TFFmpegFunc::ShowSelectedFileInfo()
{
    if (const int row = SelectedRow(); row >= 0)
        ShowFileInfo(BatchRows.At(row).source);
}

void TFFmpegFunc::DeleteSelectedFile()
{
    if (!AddFileBtn->isEnabled()) // a batch reads the rows by their places
        return;
    if (const QList<int> rows = SelectedRows(); !rows.isEmpty()) {
        // From the last, so that the places of the others still hold.
        for (auto row = rows.crbegin(); row != rows.crend(); ++row)
            BatchRows.Remove(*row);
        // The list would otherwise select a neighbour, and the next Delete
        // would remove a row the user never chose.
        FileListView->clearSelection();
    }
    if (BatchRows.Count() == 0)
        ClearInfoPanel();
}

void TFFmpegFunc::ConvertSelectedAgain()
{
    if (!AddFileBtn->isEnabled()) // a batch reads the rows by their places
        return;
    for (const int row : SelectedRows())
        BatchRows.Requeue(row);
}

void TFFmpegFunc::ClearFiles()
{
    if (BatchRows.Count() == 0)
        return;
    BatchRows.Clear();
    ClearInfoPanel();
    JvEditNumb->Assign("-1");
    JvEditCmdMsg->clear();
}
