#pragma once

#include <QByteArray>

// The total time shown for a file, from the media library's duration text
// ("00:02:51.000"): its first eight characters, or "02:50:00" when the file
// has no duration.
QByteArray TotalTimeText(const QByteArray& duration);

// The seconds of a total time "hh:mm:ss", read from characters 1-2, 4-5 and
// 7-8. Throws EConvertError when one of them is not a whole number.
int TotalTimeSeconds(const QByteArray& totalText);
