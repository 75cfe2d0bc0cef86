#pragma once

#include "batch/SourceFacts.h"

#include <QByteArray>
#include <optional>

// The picture's way through the converter's filters when it is encoded.

// The most a size choice lets the picture measure, as shown.
struct TPictureBox {
    int width = 0;
    int height = 0;
};

// A size entry of the catalogue: "fit:1280x720" fits the picture into that
// box; an empty one keeps the source's size. Other texts are converter
// arguments of their own (an older catalogue's "-s 1280x720").
inline constexpr char FitPrefix[] = "fit:";
bool IsFitChoice(const QByteArray& sizeFragment);
// The box of a "fit:" entry; nothing for anything else or a malformed one.
std::optional<TPictureBox> FitBox(const QByteArray& sizeFragment);

// The filter chain for an encoded picture: combed frames are deinterlaced
// (frames flagged interlaced by the file, and frames the detector finds
// combed; progressive frames pass untouched); the picture then keeps its
// size, or shrinks to fit the box keeping its shape as shown, never grows;
// both sides come out even, which 4:2:0 encoders need. The converter sets
// the pixel shape so that the display aspect stays the source's.
QByteArray PictureFilterChain(const std::optional<TPictureBox>& box);

// Whether the picture as the source shows it is larger than the box, so
// that fitting it would change it.
bool ExceedsBox(const TPictureFacts& picture, const TPictureBox& box);
