#pragma once

#include "settings/OptionKinds.h"

#include <QByteArray>
#include <QString>
#include <array>

// The nine option fragments in the order the converter receives them.
using OptionFragments = std::array<QByteArray, OptionKinds.size()>;

// The converter beside the program: <program folder>/bin/ffmpeg.
QByteArray ConverterPath(const QString& programFolder);

// converter -n -i source f1 … f9 output. With -n the converter never
// replaces a file: one that appears at the output path after its name was
// found free ends the run as a failure, in the converter's own words. The
// three paths are quoted as single words so that blanks, quotes and any
// letters reach the converter intact; the fragments are whole arguments and
// go in as they stand, so an empty one leaves two blanks.
QByteArray JoinCommandLine(const QByteArray& converter, const QByteArray& source,
                           const OptionFragments& fragments, const QByteArray& output);

// folder + "/" + base name + ".mp4"; the separator is added even when the
// folder already ends in one.
QByteArray OutputPath(const QByteArray& folder, const QByteArray& baseName);
