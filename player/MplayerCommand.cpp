#include "player/MplayerCommand.h"

#include "process/ShellWords.h"

QString MplayerPath(const QString& programFolder) { return programFolder + "/bin/mplayer"; }

QByteArray MplayerCommandLine(const QString& playerPath, unsigned long long videoWindow, const QString& filePath)
{
    return QuoteShellWord(playerPath.toUtf8()) + "  -slave -identify -wid " + QByteArray::number(videoWindow)
           + " -colorkey 0x101010" + " -framedrop -autosync 100 -vf screenshot " + QuoteShellWord(filePath.toUtf8());
}
