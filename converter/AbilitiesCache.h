#pragma once

#include "converter/ConverterAbilities.h"
#include "converter/ConverterBuild.h"

#include <QString>

#include <optional>

// What one ffmpeg build can do, remembered between runs in a small file in
// the user's cache folder, so that a start with an unchanged build asks
// ffmpeg nothing.
struct TRememberedAbilities {
    TConverterBuild build;
    TConverterAbilities abilities;
};

// "movarin/converter-abilities.json" in the user's cache folder
// ($XDG_CACHE_HOME, by default ~/.cache).
QString DefaultAbilitiesFile();

// What the file holds; nothing when there is no file or it is not one that
// SaveAbilities wrote in this format. A damaged file counts as none: the
// next probe writes it afresh.
std::optional<TRememberedAbilities> LoadAbilities(const QString& file);

// Replaces the file as a whole or not at all, making its folder when
// needed. Throws EConverterError with the system's message.
void SaveAbilities(const QString& file, const TRememberedAbilities& remembered);
