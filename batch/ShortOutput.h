#pragma once

#include <QString>
#include <optional>

// A source damaged part-way converts "successfully" into an output that
// plays only a part of it. Shorter by more than a second and by more than
// 5 % counts as short; playing times are in milliseconds.
bool IsShortOutput(qint64 sourceMs, qint64 outputMs);

// The row's note for a short output, with both playing times:
// "The output plays 0.28 s of the source's 3.00 s."
QString ShortOutputNote(qint64 sourceMs, qint64 outputMs);

struct TRowOutcome;

// A completed outcome whose output plays clearly shorter than its source
// keeps its kind but carries the note and a warning; any other is returned
// as it is, also when either playing time is unknown.
TRowOutcome FlagShortOutput(TRowOutcome outcome, std::optional<qint64> sourceMs);
