#pragma once
// The real program on the machine's ffmpeg (see BenchProgram), driven only
// through what a user touches: the controller's add operation (the one the
// Add dialog uses), the Convert button, the file list and the output folder
// field; with a clock per row.

#include "bench/batch/BenchProgram.h"

#include <QHash>
#include <QString>
#include <QStringList>

struct RowResult {
    QString source;
    bool added = false;
    bool completed = false; // the row shows 100 % and no tool tip
    QString toolTip;        // why it failed, or the warning of a completed row
    double seconds = -1;    // wall time of the row, see RunBatch
    double cpuSeconds = -1; // processor time of its converter (user + system)
};

// Processor time (user + system) of this process's ended and waited-for
// children so far: unlike wall time on a shared machine, it does not swing
// with what else runs.
double ChildrenCpuSeconds();

class ProgramRun {
public:
    ProgramRun();

    // TFFmpegFunc().AddFiles(paths); returns how many rows the list has.
    int AddFiles(const QStringList& paths);
    // Sets the output folder, presses Convert and returns when Add is
    // enabled again. A row's wall time runs from the moment the previous
    // row's converter ended (the Convert click for the first row) to the
    // moment its own converter ended, as the runner reports it: it holds
    // the window's check of the previous output, the start of the converter
    // and the conversion. The row's processor time is that of its converter
    // alone. Returns the batch's wall time.
    double RunBatch(const QString& outputFolder);
    QList<RowResult> Rows() const;

private:
    BenchProgram m_program;
    QHash<QString, double> m_rowSeconds;    // by source path
    QHash<QString, double> m_rowCpuSeconds; // by source path
};
