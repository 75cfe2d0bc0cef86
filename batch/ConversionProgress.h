#pragma once

#include "batch/StrToInt.h"

#include <QByteArray>
#include <QString>
#include <optional>

// Only these lines of the converter carry its progress; conversions without
// video report theirs in lines that begin with "size=".
inline bool IsProgressLine(const QByteArray& line) { return line.startsWith("frame=") || line.startsWith("size="); }

// The position after the first "time=" of a progress line, in whole
// seconds: two characters each for hours, minutes and seconds, three apart,
// each trimmed of blanks and control characters; the fraction is ignored.
// Empty when a field is not a plain decimal number (N/A, a negative time, a
// line without "time=").
std::optional<int> ProgressTimeSecs(const QByteArray& line);

// Whole seconds of a playing time "HH:MM:SS", each field read as it stands.
// Throws the usual conversion error for a field that is no whole number.
int PlayingTimeSecs(const QString& playingTime);

// position * 100 / duration in whole numbers, truncated toward zero; above
// 100 when the converter reports a position past the playing time. Empty
// when the playing time is zero and there is nothing to divide by.
std::optional<qint64> ProgressPercent(int positionSecs, int durationSecs);

