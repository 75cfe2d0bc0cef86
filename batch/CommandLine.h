#pragma once

#include <QByteArray>
#include <QString>

// The converter beside the program: <program folder>/bin/ffmpeg.
QByteArray ConverterPath(const QString& programFolder);

// converter -n -i source options output. With -n the converter never
// replaces a file: one that appears at the output path after its name was
// found free ends the run as a failure, in the converter's own words. The
// three paths are quoted as single words so that blanks, quotes and any
// letters reach the converter intact; the options are command-line text
// already (see ConversionPlan.h) and go in as they stand.
QByteArray JoinCommandLine(const QByteArray& converter, const QByteArray& source, const QByteArray& options,
                           const QByteArray& output);

// folder + "/" + base name + ".mp4"; the separator is added even when the
// folder already ends in one.
QByteArray OutputPath(const QByteArray& folder, const QByteArray& baseName);
