#pragma once

#include <QByteArray>
#include <QString>

#include <array>
#include <functional>
#include <optional>

// How the library's words about a file become the texts of a file-list row
// and of the information panel.

inline constexpr char ListDefaultPlayingTime[] = "02:50:00";
inline constexpr char PanelDefaultPlayingTime[] = "02:00:00";

// "FileSize/String4" without the library's binary unit names: "12.35 MiB"
// reads "12.35 MB", "494.9 KiB" reads "494.9 KB", "512 Bytes" reads "512 B".
// A text without a known unit loses its last three characters and gets "MB",
// so an empty size reads "MB".
QString SizeText(const QByteArray& librarySize);

// The first eight characters (HH:MM:SS) of "Duration/String3", or the
// fallback when the library has no duration.
QString PlayingTimeText(const QByteArray& libraryDuration, const char* fallback);

// The library leaves "Codec/String" empty for most current files; the
// stream's "Format" names the codec then.
QByteArray CodecOrFormat(const QByteArray& codec, const std::function<QByteArray()>& format);

// The texts of one file-list row after the caption.
struct FileRowTexts {
    QString type;
    QString size;
    QString playingTime;
    bool playingTimeRead = false; // false: playingTime is the stand-in
};

// One property of the file being described, as the library words it.
using FileProperty = std::function<QByteArray(int streamKind, const char* parameter)>;

// Asks for the general stream's extension, size and duration, in that order.
FileRowTexts MakeFileRowTexts(const FileProperty& property);

inline constexpr int InfoPanelLineCount = 16;

// The value of every information-panel line; no value for the caption line 0
// and the headings 5 and 11. Properties are asked for in the order the panel
// lists them.
using InfoPanelValues = std::array<std::optional<QString>, InfoPanelLineCount>;
InfoPanelValues MakeInfoPanelValues(const FileProperty& property);

// The panel after it was emptied: an empty text on every value line.
InfoPanelValues EmptyInfoPanelValues();
