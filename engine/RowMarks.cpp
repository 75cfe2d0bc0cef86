#include "engine/RowMarks.h"
#include "engine/ConversionProgress.h"
#include "engine/components/ImageList.h"

#include <QTreeWidget>

namespace RowMarks {

namespace {

constexpr int MessagesRole = Qt::UserRole + 2;
constexpr int OutputRole = Qt::UserRole + 3;
constexpr int OpenMessageRole = Qt::UserRole + 4;
constexpr int OutputExistedRole = Qt::UserRole + 5;
constexpr int OutcomeRole = Qt::UserRole + 6;
// A converter's message is a line or two; a child writing on without a line
// end must not make the row (and its tool tip) hold more than this.
constexpr qsizetype MessageKeptSize = 4096;

void SetMark(QTreeWidgetItem* row, const TImageList& images, int mark, const QString& toolTip)
{
    row->setIcon(SourceColumn, images.Icon(mark));
    for (int column = 0; column < row->columnCount(); ++column)
        row->setToolTip(column, toolTip);
}

int MarkOf(TRowOutcome::TKind kind)
{
    return kind == TRowOutcome::TKind::Failed ? TImageList::ConversionFailed : TImageList::Converted;
}

} // namespace

void MarkConverting(QTreeWidgetItem* row, const TImageList& images)
{
    SetMark(row, images, TImageList::Converting, {});
    row->setData(SourceColumn, MessagesRole, QVariant());
    row->setData(SourceColumn, OpenMessageRole, QVariant());
    row->setData(SourceColumn, OutcomeRole, QVariant());
}

void ShowOutcome(QTreeWidgetItem* row, const TImageList& images, const TRowOutcome& outcome)
{
    SetMark(row, images, MarkOf(outcome.kind), outcome.toolTip);
    row->setData(SourceColumn, OutcomeRole, int(outcome.kind) * 2 + (outcome.warning ? 1 : 0));
    // Whole seconds of progress stop short of the end; a verified output is
    // the whole file.
    if (outcome.kind == TRowOutcome::TKind::Completed)
        row->setText(PercentColumn, QStringLiteral("100%"));
}

void RememberLine(QTreeWidgetItem* row, const QByteArray& line, bool startsOnNewLine)
{
    if (startsOnNewLine)
        row->setData(SourceColumn, MessagesRole, Messages(row));
    const bool isMessage = !IsProgressLine(line) && !IsListingLine(line);
    row->setData(SourceColumn, OpenMessageRole, isMessage ? QString::fromUtf8(line.right(MessageKeptSize)) : QString());
}

QStringList Messages(const QTreeWidgetItem* row)
{
    return AddMessageLine(row->data(SourceColumn, MessagesRole).toStringList(),
                          row->data(SourceColumn, OpenMessageRole).toString());
}

void RememberOutput(QTreeWidgetItem* row, const QString& outputPath, bool existedBefore)
{
    row->setData(SourceColumn, OutputRole, outputPath);
    row->setData(SourceColumn, OutputExistedRole, existedBefore);
}

QString Output(const QTreeWidgetItem* row) { return row->data(SourceColumn, OutputRole).toString(); }

bool OutputExistedBefore(const QTreeWidgetItem* row) { return row->data(SourceColumn, OutputExistedRole).toBool(); }

TRowEnd RowEnd(const QTreeWidgetItem* row, quint32 exitCode)
{
    return {false, exitCode, Output(row), Messages(row), row->text(PercentColumn)};
}

TRowEnd StoppedRowEnd(const QTreeWidgetItem* row)
{
    TRowEnd end = RowEnd(row, 0);
    end.stopped = true;
    return end;
}

void ShowProgressHint(QTreeWidgetItem* row, const QString& hint)
{
    for (int column = 0; column < row->columnCount(); ++column)
        row->setToolTip(column, hint);
}

TOutcomeTally TallyOutcomes(const QTreeWidget* list)
{
    TOutcomeTally tally;
    for (int index = 0; index < list->topLevelItemCount(); ++index) {
        const QVariant shown = list->topLevelItem(index)->data(SourceColumn, OutcomeRole);
        if (!shown.isValid())
            continue;
        const auto kind = TRowOutcome::TKind(shown.toInt() / 2);
        tally.completed += kind == TRowOutcome::TKind::Completed ? 1 : 0;
        tally.failed += kind == TRowOutcome::TKind::Failed ? 1 : 0;
        tally.warnings += shown.toInt() % 2;
    }
    return tally;
}

QTreeWidgetItem* RowAt(QTreeWidget* list, int index)
{
    return index >= 0 && index < list->topLevelItemCount() ? list->topLevelItem(index) : nullptr;
}

} // namespace RowMarks
