#pragma once

#include "converter/EncoderList.h"
#include "converter/InParallel.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

// The steps of learning what an ffmpeg build can do. Each runs the program
// at ffmpeg as a console program and blocks until it has answered: they
// belong on a worker thread. A step whose answer is needed throws
// EConverterError, or EJvProcessError when ffmpeg cannot be started.

struct TProbeOptions {
    // The longest one run of ffmpeg may take; a run that takes longer is
    // killed. Generous: ffmpeg answers in a fraction of a second, but a busy
    // machine or a slow device may hold it up.
    std::chrono::milliseconds perRun{5000};
    // How many runs at once.
    int parallel = ProbeParallelism();
    // Asked before each run of a long step: once it says yes, the remaining
    // runs are skipped and the step's answer is incomplete, to be thrown
    // away.
    std::function<bool()> abandoned = [] { return false; };
};

// The FFmpeg libraries the program loads, asked of the dynamic loader;
// ffmpeg itself does not run. None for a program that is not dynamically
// linked.
QStringList ProbeLibraries(const QString& ffmpeg, const TProbeOptions& options);

TEncoderList ProbeEncoders(const QString& ffmpeg, const TProbeOptions& options);

// The command line that tries a hardware entry: one generated grey frame
// encoded with the entry's fragment, the result thrown away.
QList<QByteArray> TrialArguments(const QString& ffmpeg, const QString& fragment);

// Runs the trial of each fragment; true for those that ended well within
// the time limit. A trial that hangs is killed and counts as failed.
QHash<QString, bool> TryHardwareEntries(const QString& ffmpeg, const QStringList& fragments,
                                        const TProbeOptions& options);

// The extensions of the sources the build reads (see SourceExtensions()).
// Asks every source demuxer for its extensions, one short run each, at low
// priority. A demuxer that is not there or fails names none; one that does
// not answer in time fails the step, which is asked again next time.
QStringList ProbeSourceExtensions(const QString& ffmpeg, const TProbeOptions& options);
