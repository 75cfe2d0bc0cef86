#include "ToolRun.h"

#include <QProcess>

namespace {

ToolResult run(const QString &program, const QStringList &arguments,
               QProcess::ProcessChannelMode channels)
{
    QProcess process;
    process.setProcessChannelMode(channels);
    process.start(program, arguments);
    ToolResult result;
    result.started = process.waitForStarted(-1);
    if (!result.started) {
        result.output = process.errorString().toUtf8();
        return result;
    }
    process.closeWriteChannel();
    process.waitForFinished(-1);
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.output = process.readAllStandardOutput();
    return result;
}

} // namespace

ToolResult runTool(const QString &program, const QStringList &arguments)
{
    return run(program, arguments, QProcess::MergedChannels);
}

ToolResult runToolForOutput(const QString &program, const QStringList &arguments)
{
    return run(program, arguments, QProcess::ForwardedErrorChannel);
}
