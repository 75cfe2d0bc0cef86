#pragma once

#include <QtGlobal>

struct TFFmpegFrmComponents;

// What the window does when the converter of the current row has ended:
// show what the end means for the row, start the next one that is not
// completed, or end the batch. The end of a stopped converter starts
// nothing, unless Convert was pressed while it finished: then the new batch
// starts.
void RunEndOfFileStep(TFFmpegFrmComponents& window, quint32 exitCode);

// A row whose choices could not work ended before its converter started:
// the batch goes on as after a converter's end, unless it was stopped
// meanwhile.
void ContinueAfterRefusedRow();

