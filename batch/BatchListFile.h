#pragma once

#include "batch/BatchRow.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

// The batch's rows as the list file keeps them between two runs of the
// program: JSON with the kind of file and a version, then each row's source,
// facts, state, percentage, tool tip, notes and output. What the converter
// said while it ran is not kept.

// In the working folder, beside the settings database.
inline constexpr const char* BatchListFileName = "BatchList.json";

QByteArray BatchListJson(const QList<TBatchRow>& rows);

// The rows a list file holds. Throws std::runtime_error saying what is
// wrong with it when it is not a list file this program can read.
QList<TBatchRow> ReadBatchListJson(const QByteArray& json);

inline constexpr const char* InterruptedToolTip = "Interrupted: the program ended during this conversion.";
inline constexpr const char* MissingSourceToolTip = "The source file no longer exists.";

// What the kept rows mean when the program starts again: a conversion that
// was running when the program ended is interrupted (a failure), its output
// unfinished and to be removed unless that file was there before; a row
// whose source has gone has failed too.
struct TRestoredBatchList {
    QList<TBatchRow> rows;
    QStringList unfinishedOutputs;
};
TRestoredBatchList RestoreBatchRows(QList<TBatchRow> rows, const std::function<bool(const QString&)>& sourceExists);
