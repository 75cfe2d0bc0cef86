#include "engine/ProgramFolder.h"

#include <QCoreApplication>

QString ProgramFolder() { return QCoreApplication::applicationDirPath(); }

QString DefaultOutputDir(const QString& programFolder) { return programFolder + "/FFOutput"; }
