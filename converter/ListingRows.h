#pragma once

#include <QByteArray>
#include <QList>

// One row of an ffmpeg listing such as "-encoders" or "-demuxers": a column
// of one-letter flags, the name, a description.
struct TListingRow {
    QByteArray flags; // blanks and dots stand for flags that are not set
    QByteArray name;
};

// The rows below the listing's dashed line. The legend above that line
// (" V..... = Video", " ..d = Is a device") tells how wide the flag column
// is: it has grown between ffmpeg releases, so it is read, not assumed.
// Lines that do not fit the pattern, such as warnings, are skipped.
QList<TListingRow> ParseListingRows(const QByteArray& listing);
