#pragma once

#include <QString>
#include <QStringList>

// The encoders a catalogue fragment chooses, in order: the word after each
// codec option ("-c:v libx264 -pix_fmt yuv420p" gives libx264; also -c:a,
// -c, -codec:v, -vcodec, -acodec, -scodec). "copy" chooses none, and so does
// a fragment without a codec option. The fragment is split into words the
// way the whole command line is.
QStringList EncodersChosenBy(const QString& fragment);

// Whether the fragment passes its stream through untouched ("-c:v copy").
bool ChoosesCopy(const QString& fragment);

// The fragment's words rejoined with single blanks, so that two spellings
// of one fragment are remembered as one.
QString NormalFragment(const QString& fragment);
