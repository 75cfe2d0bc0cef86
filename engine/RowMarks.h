#pragma once

#include "engine/RowOutcome.h"

#include <QByteArray>
#include <QString>

class QTreeWidget;
class QTreeWidgetItem;
class TImageList;

// What a row of the file list shows and remembers about its conversion.
namespace RowMarks {

inline constexpr int SourceColumn = 0;
inline constexpr int PlayingTimeColumn = 3;
inline constexpr int PercentColumn = 4;

void MarkConverting(QTreeWidgetItem* row, const TImageList& images);
// Mark, tool tip and, for a completed row, "100%".
void ShowOutcome(QTreeWidgetItem* row, const TImageList& images, const TRowOutcome& outcome);

// Every report of the converter's current line while the row converts.
// startsOnNewLine: the line before has ended, so it is kept when it was a
// message; later states of one line replace each other.
void RememberLine(QTreeWidgetItem* row, const QByteArray& line, bool startsOnNewLine);
// The converter's last distinct message lines, oldest first, each at most
// its newest 4096 bytes.
QStringList Messages(const QTreeWidgetItem* row);

// Where this row's output goes in the current batch, and whether a file was
// there before the converter started.
void RememberOutput(QTreeWidgetItem* row, const QString& outputPath, bool existedBefore);
QString Output(const QTreeWidgetItem* row);
bool OutputExistedBefore(const QTreeWidgetItem* row);

// What the row knows about its end, for DecideRowOutcome.
TRowEnd RowEnd(const QTreeWidgetItem* row, quint32 exitCode);
TRowEnd StoppedRowEnd(const QTreeWidgetItem* row);

// How the conversion of the row goes, in its tool tip.
void ShowProgressHint(QTreeWidgetItem* row, const QString& hint);

// The outcomes the rows show, for the end-of-batch notice; a row that has
// not ended since it last started converting counts nowhere.
struct TOutcomeTally {
    int completed = 0;
    int failed = 0;
    int warnings = 0; // completed rows whose tool tip warns
};
TOutcomeTally TallyOutcomes(const QTreeWidget* list);

// The row the conversion cursor names, or nullptr when it names none.
QTreeWidgetItem* RowAt(QTreeWidget* list, int index);

} // namespace RowMarks
