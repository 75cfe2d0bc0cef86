#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// How long a running batch still needs, and how that is put into words.

// The converter's speed on a progress line ("speed=2.51x" gives 2.51);
// empty for "N/A", zero or a line without one.
std::optional<double> ProgressSpeed(const QByteArray& line);

// "less than a minute left", "about 3 min left", "about 1 h 25 min left".
QString TimeLeftText(double seconds);

// The tool tip of the row being converted: "Speed 2.51x, about 3 min left",
// or "Speed 2.51x" when the row's playing time is unknown.
QString RowProgressText(double speed, std::optional<double> mediaSecondsLeft);

// The tray icon's tool tip during a batch: "Movarin", then "File 2 of 5",
// with the estimate when there is one.
QString BatchProgressText(int fileNumber, int fileCount, std::optional<double> secondsLeft);

// Milliseconds of a clock that the wall clock's adjustments do not move.
qint64 SteadyClockMs();

// Measures the batch's pace: playing time converted per second of real time,
// over the whole batch so far, leaving out the time it was paused. Averaging
// over everything converted keeps the estimate from following every stall
// and burst of the converter.
class TBatchClock {
public:
    void Start(qint64 nowMs);
    // The converter of the given row has got this far into its file.
    void Reached(int row, double positionSecs);
    void Pause(qint64 nowMs);
    void Resume(qint64 nowMs);
    // The real time the rest needs at the pace so far; empty until a few
    // seconds of work show what the pace is.
    std::optional<double> SecondsLeft(double mediaSecondsLeft, qint64 nowMs) const;

private:
    static constexpr qint64 SettleMs = 3000;
    qint64 m_startMs = 0;
    qint64 m_pausedMs = 0;       // paused before the current pause
    qint64 m_pausedSinceMs = -1; // while paused: when the pause began
    int m_row = -1;
    double m_rowPosition = 0;
    double m_doneBeforeRow = 0;
};
