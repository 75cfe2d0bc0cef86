#pragma once

#include <QtGlobal>

struct TFFmpegFrmComponents;

// What the window does when the converter of the current row has ended:
// mark the row, start the next one, or end the batch (unlock, power off
// when asked to, idle indication). The end of a stopped converter, or of
// one still finishing while the window closes, starts nothing.
void RunEndOfFileStep(TFFmpegFrmComponents& window, quint32 exitCode);
