#include "converter/SourceExtensions.h"

#include "converter/ListingRows.h"

#include <QSet>

#include <algorithm>

namespace {

struct TKnownFormat {
    const char* extension;
    const char* demuxer; // one of the names ffmpeg lists it under
};

constexpr TKnownFormat WellKnownVideo[] = {
    {"mp4", "mov"},      {"m4v", "mov"},      {"mov", "mov"},     {"qt", "mov"},
    {"3gp", "mov"},      {"3g2", "mov"},      {"mkv", "matroska"}, {"webm", "matroska"},
    {"avi", "avi"},      {"divx", "avi"},     {"wmv", "asf"},     {"asf", "asf"},
    {"flv", "flv"},      {"f4v", "mov"},      {"mpg", "mpeg"},    {"mpeg", "mpeg"},
    {"mpe", "mpeg"},     {"vob", "mpeg"},     {"m1v", "mpegvideo"}, {"m2v", "mpegvideo"},
    {"ts", "mpegts"},    {"m2ts", "mpegts"},  {"mts", "mpegts"},  {"m2t", "mpegts"},
    {"dv", "dv"},        {"dif", "dv"},       {"ogv", "ogg"},     {"ogg", "ogg"},
    {"ogm", "ogg"},      {"rm", "rm"},        {"rmvb", "rm"},     {"nut", "nut"},
    {"mxf", "mxf"},      {"y4m", "yuv4mpegpipe"}, {"ivf", "ivf"}, {"wtv", "wtv"},
    {"dvr-ms", "asf"},
};

// Formats whose demuxer recognises a file by its content and names no
// extension of its own (as of ffmpeg 5.1).
constexpr TKnownFormat RecognisedByContent[] = {
    {"wav", "wav"},   {"aif", "aiff"},  {"aiff", "aiff"}, {"au", "au"},      {"caf", "caf"},
    {"wv", "wv"},     {"amr", "amr"},   {"voc", "voc"},   {"w64", "w64"},    {"gif", "gif"},
    {"apng", "apng"}, {"swf", "swf"},   {"nsv", "nsv"},   {"nuv", "nuv"},    {"smk", "smk"},
    {"bik", "bink"},  {"fli", "flic"},  {"flc", "flic"},  {"mve", "ipmovie"}, {"roq", "roq"},
    {"r3d", "r3d"},   {"cine", "cine"}, {"gxf", "gxf"},   {"thp", "thp"},
};

const QSet<QString>& NoSourceDemuxers()
{
    static const QSet<QString> names = {
        // capture devices, also where the listing does not mark them
        "alsa", "android_camera", "avfoundation", "bktr", "decklink", "dshow", "dv1394", "fbdev",
        "gdigrab", "iec61883", "jack", "kmsgrab", "lavfi", "libcdio", "libdc1394", "openal", "oss",
        "pulse", "sndio", "v4l2", "video4linux2", "vfwcap", "x11grab", "xcbgrab",
        // playlists, stream descriptions, metadata, scripts
        "concat", "dash", "ffmetadata", "hls", "imf", "msnwctcp", "rtp", "rtsp", "sap", "sbg", "sdp",
        "webm_dash_manifest", "data",
        // subtitles and other text
        "aqtitle", "ass", "dvbsub", "dvbtxt", "jacosub", "lrc", "mcc", "microdvd", "mpl2", "mpsub",
        "pjs", "realtext", "sami", "scc", "srt", "stl", "subviewer", "subviewer1", "sup",
        "tedcaptions", "vobsub", "vplayer", "webvtt", "tty", "bin", "bintext", "xbin", "adf", "idf",
        // still images
        "image2", "image2pipe", "alias_pix", "brender_pix", "fits", "ico", "txd",
        // raw pictures, unreadable without being told their size
        "rawvideo", "bitpacked", "v210", "v210x",
    };
    return names;
}

const QSet<QString>& NoSourceExtensions()
{
    static const QSet<QString> extensions = {
        // subtitles and text
        "aqt", "ass", "idx", "js", "jss", "lrc", "mcc", "mpl2", "pjs", "rt", "sami", "scc", "smi",
        "srt", "ssa", "stl", "sub", "sup", "vtt", "ans", "art", "asc", "diz", "nfo", "txt", "vt",
        // playlists, manifests and generic data
        "ffconcat", "ism", "m3u", "m3u8", "mpd", "xml", "json", "dat", "bin", "cgi", "v",
        // still images
        "avif", "bmp", "dds", "dpx", "exr", "hdr", "ico", "j2k", "jp2", "jpeg", "jpg", "jxl", "mpo",
        "pam", "pbm", "pcx", "pfm", "pgm", "pgmyuv", "phm", "pix", "png", "ppm", "psd", "qoi", "sgi",
        "svg", "tga", "tif", "tiff", "webp", "xbm", "xpm", "xwd",
    };
    return extensions;
}

} // namespace

QStringList WellKnownVideoExtensions()
{
    QStringList extensions;
    for (const TKnownFormat& format : WellKnownVideo)
        extensions.append(QString::fromLatin1(format.extension));
    return extensions;
}

QList<TDemuxer> ParseDemuxerList(const QByteArray& listing)
{
    QList<TDemuxer> demuxers;
    for (const TListingRow& row : ParseListingRows(listing)) {
        if (!row.flags.contains('D'))
            continue;
        demuxers.append({QString::fromUtf8(row.name).split(',', Qt::SkipEmptyParts), row.flags.contains('d')});
    }
    return demuxers;
}

bool IsSourceDemuxer(const TDemuxer& demuxer)
{
    return !demuxer.device && std::none_of(demuxer.names.begin(), demuxer.names.end(), [](const QString& name) {
        return NoSourceDemuxers().contains(name) || name.endsWith(QLatin1String("_pipe"));
    });
}

QStringList ParseCommonExtensions(const QByteArray& demuxerHelp)
{
    static const QByteArray label = "Common extensions:";
    for (const QByteArray& line : demuxerHelp.split('\n')) {
        const qsizetype at = line.indexOf(label);
        if (at < 0)
            continue;
        QByteArray list = line.mid(at + label.size()).trimmed();
        if (list.endsWith('.'))
            list.chop(1);
        QStringList extensions;
        for (const QByteArray& extension : list.split(','))
            if (!extension.trimmed().isEmpty())
                extensions.append(QString::fromUtf8(extension.trimmed()).toLower());
        return extensions;
    }
    return {};
}

QStringList SourceExtensions(const QList<TDemuxer>& demuxers, const QList<QStringList>& namedExtensions)
{
    QSet<QString> present;
    for (const TDemuxer& demuxer : demuxers)
        for (const QString& name : demuxer.names)
            present.insert(name);

    QStringList extensions;
    QSet<QString> taken = NoSourceExtensions();
    const auto take = [&](const QString& named) {
        const QString extension = named.toLower();
        if (!taken.contains(extension)) {
            taken.insert(extension);
            extensions.append(extension);
        }
    };
    for (const TKnownFormat& format : WellKnownVideo)
        if (present.contains(QLatin1String(format.demuxer)))
            take(QString::fromLatin1(format.extension));

    QStringList rest;
    for (qsizetype i = 0; i < demuxers.size() && i < namedExtensions.size(); ++i)
        if (IsSourceDemuxer(demuxers[i]))
            rest += namedExtensions[i];
    for (const TKnownFormat& format : RecognisedByContent)
        if (present.contains(QLatin1String(format.demuxer)))
            rest.append(QString::fromLatin1(format.extension));
    std::sort(rest.begin(), rest.end(), [](const QString& left, const QString& right) {
        return left.compare(right, Qt::CaseInsensitive) < 0;
    });
    for (const QString& extension : rest)
        take(extension);
    return extensions;
}
