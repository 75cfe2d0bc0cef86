#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Result of running one of the installed command-line tools to its end.
struct ToolResult
{
    bool started = false;
    bool crashed = false;
    int exitCode = -1;
    QByteArray output; // standard output and standard error together

    bool succeeded() const { return started && !crashed && exitCode == 0; }
};

// Runs program with arguments and waits for it to end. Its standard input is
// closed at once, so ffmpeg never waits for a key press.
ToolResult runTool(const QString &program, const QStringList &arguments);

// Same, but only standard output is kept, for tools whose answer is machine
// readable and whose warnings would spoil it.
ToolResult runToolForOutput(const QString &program, const QStringList &arguments);
