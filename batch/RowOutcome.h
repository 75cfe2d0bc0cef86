#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <optional>

// What the end of one row's conversion means, decided in one place so that
// the window only shows it.

struct TRowEnd {
    bool stopped = false;        // Stop ended the batch during this row
    quint32 exitCode = 0;        // the converter's, when it ended on its own
    QString outputPath;          // where the converter was told to write
    bool outputExistedBefore = false; // a file was there when the row started
    QStringList messages;        // its last distinct lines that were no progress
    QString percent;             // the row's Percent text when it ended
};

struct TRowOutcome {
    enum class TKind { Completed, Failed, Stopped };

    TKind kind = TKind::Failed;
    QString toolTip; // why it failed or that it was stopped; empty when completed
    // The playing time the library reads from the output, when it reads one.
    std::optional<qint64> outputPlayingTimeMs;
    bool warning = false; // completed, but the tool tip tells of a fault
};

// A row counts as completed only when the converter ended with 0 and its
// output exists, is not empty and has a playing time the media-information
// library can read; otherwise it failed, and the tool tip gives the
// converter's last words, what is wrong with the output and the exit code.
TRowOutcome DecideRowOutcome(const TRowEnd& end);

// Removes what the converter left at the output path of a row that failed
// or was stopped: an unfinished file must not pass for a converted one. A
// file that was there when the row started stays, and so does one that the
// converter refused to replace because it turned up just before it started.
// Returns the path when it was the converter's to write, else nothing.
QString RemoveUnfinishedOutput(const TRowEnd& end);

// The failure of a row whose converter could not be started at all.
TRowOutcome NotStartedOutcome(const QString& cause);

// The playing time the library reads from a file, in milliseconds; empty
// when it reads none or none above zero.
std::optional<qint64> ReadPlayingTimeMs(const QString& path);

// How many of the converter's message lines a row keeps for its tool tip.
inline constexpr int KeptMessageLines = 4;

// The converter's closing lines after a failure ("Conversion failed!",
// "Error initializing output stream …"): they say that it failed, not why.
bool IsClosingFailureLine(const QString& line);

// messages with line added as the newest, an equal older line taken out, at
// most KeptMessageLines long. What has to go to make room is the oldest
// closing line, and only when there is none the oldest line: the cause stays
// however many closing lines follow it.
QStringList AddMessageLine(QStringList messages, const QString& line);

// The converter's banner, its listing of streams, its prompt and the
// interlace detector's counts: lines that never tell why a conversion failed.
bool IsListingLine(const QByteArray& line);
