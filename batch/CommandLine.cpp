#include "batch/CommandLine.h"
#include "process/ShellWords.h"

QByteArray ConverterPath(const QString& programFolder) { return programFolder.toUtf8() + "/bin/ffmpeg"; }

QByteArray JoinCommandLine(const QByteArray& converter, const QByteArray& source, const QByteArray& options,
                           const QByteArray& output)
{
    QByteArray line = QuoteShellWord(converter) + " -n -i " + QuoteShellWord(source);
    if (!options.isEmpty())
        line += ' ' + options;
    return line + ' ' + QuoteShellWord(output);
}

QByteArray OutputPath(const QByteArray& folder, const QByteArray& baseName)
{
    return folder + '/' + baseName + ".mp4";
}
