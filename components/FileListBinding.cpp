#include "components/FileListBinding.h"
#include "batch/BatchRows.h"
#include "components/ImageList.h"

#include <QTreeWidget>

namespace {

int MarkOf(TRowState state)
{
    switch (state) {
    case TRowState::Waiting:
        return TImageList::Added;
    case TRowState::Converting:
        return TImageList::Converting;
    case TRowState::Failed:
        return TImageList::ConversionFailed;
    case TRowState::Stopped:
        return TImageList::Stopped;
    case TRowState::Completed:
        break;
    }
    return TImageList::Converted;
}

} // namespace

TFileListBinding::TFileListBinding(QTreeWidget* list, const TBatchRows* rows, const TImageList* images)
    : QObject(list), m_list(list), m_rows(rows), m_images(images)
{
    connect(rows, &TBatchRows::Appended, this, &TFileListBinding::Insert);
    connect(rows, &TBatchRows::Changed, this, &TFileListBinding::Show);
    connect(rows, &TBatchRows::Removed, this, [this](int index) { delete m_list->takeTopLevelItem(index); });
    connect(rows, &TBatchRows::Cleared, m_list, &QTreeWidget::clear);
}

void TFileListBinding::Insert(int index)
{
    m_list->insertTopLevelItem(index, new QTreeWidgetItem);
    Show(index);
}

void TFileListBinding::Show(int index)
{
    const TBatchRow& row = m_rows->At(index);
    QTreeWidgetItem* item = m_list->topLevelItem(index);
    const QString texts[] = {row.source, row.type, row.size, row.playingTime, PercentText(row.percent)};
    for (int column = 0; column < int(std::size(texts)); ++column) {
        item->setText(column, texts[column]);
        item->setToolTip(column, ShownToolTip(row));
    }
    item->setIcon(SourceColumn, m_images->Icon(MarkOf(row.state)));
}
