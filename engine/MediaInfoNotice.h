#pragma once

class QLineEdit;

// Tells the user on the status line why adding a file shows no row: the
// media-information library could not be loaded. Said once per run, so
// that a converter message shown later is not pushed aside again.
void ShowMediaInfoMissingOnce(QLineEdit* statusLine);
