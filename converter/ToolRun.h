#pragma once

#include <QByteArray>
#include <QList>

#include <chrono>

// How one run of a console program went.
struct TToolRun {
    bool ended = false;   // it ended by itself within the time limit
    quint32 exitCode = 0; // once ended: its exit status, 128 + the signal's number when a signal ended it
    QByteArray output;    // standard output and error together; at most MaxToolOutput bytes, the first ones

    bool Succeeded() const { return ended && exitCode == 0; }
};

inline constexpr qsizetype MaxToolOutput = 1024 * 1024;

enum class TToolPriority { Normal, Background };

// Runs arguments[0] (a path, or a name looked up on PATH) with the given
// arguments, its standard input at its end from the start, and waits for
// its end on the calling thread, at most limit. A program still running then
// is killed together with whatever it started (it runs in a session of its
// own) and counts as not ended. Either way nothing is left behind: no
// process, no zombie, no descriptor. Background runs the program at a lower
// priority, so that it yields to the interface and to conversions.
//
// It blocks: never call it on the interface thread. Throws EJvProcessError
// with the system's message when the program cannot be started.
TToolRun RunTool(const QList<QByteArray>& arguments, std::chrono::milliseconds limit,
                 TToolPriority priority = TToolPriority::Normal);
