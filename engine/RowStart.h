#pragma once

#include <QtGlobal>

struct TSourceReading;

// The steps of a row's start that come back through the event loop. Each
// belongs to one start (see TFFmpegFrmComponents::PendingStart) and does
// nothing once the batch was stopped, closed or started anew meanwhile.

// The row's source has been read: the panel shows it and its converter's
// command line is made.
void PrepareConverterOnceRead(quint64 start, const TSourceReading& source);

// The list file holds the row about to be converted: its converter starts.
void StartConverterOnceKept(quint64 start);
