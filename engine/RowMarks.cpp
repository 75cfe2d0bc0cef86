#include "engine/RowMarks.h"
#include "engine/components/ImageList.h"

#include <QTreeWidget>

namespace RowMarks {

namespace {

constexpr int MessageRole = Qt::UserRole + 2;
constexpr int OutputRole = Qt::UserRole + 3;
constexpr int FailedRole = Qt::UserRole + 4;

void SetMark(QTreeWidgetItem* row, const TImageList& images, int mark, const QString& toolTip)
{
    row->setIcon(SourceColumn, images.Icon(mark));
    for (int column = 0; column < row->columnCount(); ++column)
        row->setToolTip(column, toolTip);
}

} // namespace

void MarkConverting(QTreeWidgetItem* row, const TImageList& images)
{
    SetMark(row, images, TImageList::Converting, {});
    row->setData(SourceColumn, MessageRole, QVariant());
    row->setData(SourceColumn, FailedRole, QVariant());
}

void MarkConverted(QTreeWidgetItem* row, const TImageList& images)
{
    SetMark(row, images, TImageList::Converted, {});
}

void MarkFailed(QTreeWidgetItem* row, const TImageList& images, const QString& reason)
{
    SetMark(row, images, TImageList::ConversionFailed, reason);
    row->setData(SourceColumn, FailedRole, true);
}

bool HasFailed(const QTreeWidgetItem* row) { return row->data(SourceColumn, FailedRole).toBool(); }

void ShowProgressHint(QTreeWidgetItem* row, const QString& hint)
{
    for (int column = 0; column < row->columnCount(); ++column)
        row->setToolTip(column, hint);
}

void RememberMessage(QTreeWidgetItem* row, const QByteArray& line)
{
    row->setData(SourceColumn, MessageRole, line);
}

QString LastMessage(const QTreeWidgetItem* row)
{
    return QString::fromUtf8(row->data(SourceColumn, MessageRole).toByteArray());
}

void RememberOutput(QTreeWidgetItem* row, const QString& outputPath)
{
    row->setData(SourceColumn, OutputRole, outputPath);
}

QString Output(const QTreeWidgetItem* row) { return row->data(SourceColumn, OutputRole).toString(); }

QTreeWidgetItem* RowAt(QTreeWidget* list, int index)
{
    return index >= 0 && index < list->topLevelItemCount() ? list->topLevelItem(index) : nullptr;
}

} // namespace RowMarks
