#pragma once

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
void MarkConverted(QTreeWidgetItem* row, const TImageList& images);
// The row's tool tip tells why.
void MarkFailed(QTreeWidgetItem* row, const TImageList& images, const QString& reason);
// Whether the row's latest conversion was marked failed.
bool HasFailed(const QTreeWidgetItem* row);
// How the conversion of the row goes, in its tool tip.
void ShowProgressHint(QTreeWidgetItem* row, const QString& hint);

// The converter's latest line that was no progress line: its error message
// when it fails.
void RememberMessage(QTreeWidgetItem* row, const QByteArray& line);
QString LastMessage(const QTreeWidgetItem* row);

// Where this row's output went in the current batch.
void RememberOutput(QTreeWidgetItem* row, const QString& outputPath);
QString Output(const QTreeWidgetItem* row);

// The row the conversion cursor names, or nullptr when it names none.
QTreeWidgetItem* RowAt(QTreeWidget* list, int index);

} // namespace RowMarks
