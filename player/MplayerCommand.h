#pragma once

#include <QByteArray>
#include <QString>

// The player beside the program: <program folder>/bin/mplayer.
QString MplayerPath(const QString& programFolder);

// The player's command line: slave mode, video drawn into the given X11
// window, status lines on its output. Both paths are quoted as single
// arguments, so blanks and quotes in them reach the player unchanged.
QByteArray MplayerCommandLine(const QString& playerPath, unsigned long long videoWindow, const QString& filePath);
