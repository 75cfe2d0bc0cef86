#include "batch/FileFacts.h"

#include "media/MediaInfoQuery.h"

#include <utility>

namespace {

// The library counts in powers of 1024 and says so; the list has always shown
// the short decimal-looking names, and only the name changes here.
constexpr std::pair<const char*, const char*> UnitNames[] = {
    {"Byte", "B"}, {"Bytes", "B"}, {"KiB", "KB"}, {"MiB", "MB"}, {"GiB", "GB"}, {"TiB", "TB"}, {"PiB", "PB"},
};

constexpr int UnitLength = 3;

QString FromLibrary(const QByteArray& libraryText) { return QString::fromUtf8(libraryText); }

} // namespace

QString SizeText(const QByteArray& librarySize)
{
    const QString size = FromLibrary(librarySize);
    const qsizetype blank = size.lastIndexOf(' ');
    if (blank >= 0) {
        const QString unit = size.mid(blank + 1);
        for (const auto& [libraryName, shownName] : UnitNames)
            if (unit == QLatin1String(libraryName))
                return size.left(blank + 1) + QLatin1String(shownName);
    }
    return (size.size() > UnitLength ? size.chopped(UnitLength) : QString()) + "MB";
}

QString PlayingTimeText(const QByteArray& libraryDuration, const char* fallback)
{
    if (libraryDuration.isEmpty())
        return QString::fromLatin1(fallback);
    return FromLibrary(libraryDuration).left(8);
}

QByteArray CodecOrFormat(const QByteArray& codec, const std::function<QByteArray()>& format)
{
    return codec.isEmpty() ? format() : codec;
}

FileRowTexts MakeFileRowTexts(const FileProperty& property)
{
    using MediaInfoStream::General;
    FileRowTexts row;
    row.type = FromLibrary(property(General, "FileExtension"));
    row.size = SizeText(property(General, "FileSize/String4"));
    const QByteArray duration = property(General, "Duration/String3");
    row.playingTime = PlayingTimeText(duration, ListDefaultPlayingTime);
    row.playingTimeRead = !duration.isEmpty();
    return row;
}

InfoPanelValues MakeInfoPanelValues(const FileProperty& property)
{
    using namespace MediaInfoStream;
    const auto codec = [&](int stream) {
        return FromLibrary(CodecOrFormat(property(stream, "Codec/String"), [&] { return property(stream, "Format"); }));
    };
    // One statement per line keeps the library asked in the panel's order.
    InfoPanelValues lines;
    const QString name = FromLibrary(property(General, "FileName"));
    lines[1] = name + '.' + FromLibrary(property(General, "FileExtension"));
    lines[2] = FromLibrary(property(General, "FileExtension"));
    lines[3] = SizeText(property(General, "FileSize/String4"));
    lines[4] = PlayingTimeText(property(General, "Duration/String3"), PanelDefaultPlayingTime);
    lines[6] = codec(Video);
    lines[7] = FromLibrary(property(Video, "BitRate/String"));
    const QString width = FromLibrary(property(Video, "Width"));
    lines[8] = width + 'x' + FromLibrary(property(Video, "Height"));
    lines[9] = FromLibrary(property(Video, "FrameRate/String"));
    lines[10] = FromLibrary(property(Video, "DisplayAspectRatio/String"));
    lines[12] = codec(Audio);
    lines[13] = FromLibrary(property(Audio, "BitRate/String"));
    lines[14] = FromLibrary(property(Audio, "Channel(s)/String"));
    lines[15] = FromLibrary(property(Audio, "SamplingRate/String"));
    return lines;
}

InfoPanelValues EmptyInfoPanelValues()
{
    InfoPanelValues lines;
    for (int line : {1, 2, 3, 4, 6, 7, 8, 9, 10, 12, 13, 14, 15})
        lines[line] = QString();
    return lines;
}
