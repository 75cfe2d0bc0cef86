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

void Fill(QTreeWidgetItem* item, const TBatchRow& row, const TImageList& images)
{
    const QString texts[] = {row.source, row.type, row.size, row.playingTime, PercentText(row.percent)};
    const QString toolTip = ShownToolTip(row);
    for (int column = 0; column < int(std::size(texts)); ++column) {
        item->setText(column, texts[column]);
        item->setToolTip(column, toolTip);
    }
    item->setIcon(TFileListBinding::SourceColumn, images.Icon(MarkOf(row.state)));
}

} // namespace

TFileListBinding::TFileListBinding(QTreeWidget* list, const TBatchRows* rows, const TImageList* images)
    : QObject(list), m_list(list), m_rows(rows), m_images(images)
{
    connect(rows, &TBatchRows::Appended, this, &TFileListBinding::Insert);
    connect(rows, &TBatchRows::Changed, this, &TFileListBinding::Show);
    connect(rows, &TBatchRows::Removed, this, [this](int index) { delete m_list->takeTopLevelItem(index); });
    connect(rows, &TBatchRows::Cleared, m_list, &QTreeWidget::clear);
    connect(rows, &TBatchRows::Restored, this, &TFileListBinding::ShowAll);
}

void TFileListBinding::Insert(int index)
{
    m_list->insertTopLevelItem(index, new QTreeWidgetItem);
    Show(index);
}

void TFileListBinding::Show(int index) { Fill(m_list->topLevelItem(index), m_rows->At(index), *m_images); }

// Items filled before they join the list cost the list nothing: a long list
// comes back at once.
void TFileListBinding::ShowAll()
{
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    items.reserve(m_rows->Count());
    for (const TBatchRow& row : m_rows->All()) {
        items << new QTreeWidgetItem;
        Fill(items.constLast(), row, *m_images);
    }
    m_list->addTopLevelItems(items);
}
