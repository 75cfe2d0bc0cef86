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
