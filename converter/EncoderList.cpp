#include "converter/EncoderList.h"

#include "converter/ListingRows.h"

#include <algorithm>

bool TEncoderList::Has(const QString& name) const
{
    return video.contains(name) || audio.contains(name) || subtitle.contains(name);
}

bool TEncoderList::IsEmpty() const
{
    return video.isEmpty() && audio.isEmpty() && subtitle.isEmpty();
}

TEncoderList ParseEncoderList(const QByteArray& listing)
{
    TEncoderList encoders;
    for (const TListingRow& row : ParseListingRows(listing)) {
        const QString name = QString::fromUtf8(row.name);
        switch (row.flags.front()) {
        case 'V':
            encoders.video.append(name);
            break;
        case 'A':
            encoders.audio.append(name);
            break;
        case 'S':
            encoders.subtitle.append(name);
            break;
        default:
            break;
        }
    }
    return encoders;
}

bool IsHardwareEncoder(const QString& name)
{
    // The family is one part of the name: "h264_vaapi", "hevc_nvenc", and
    // the old spelling "nvenc_h264".
    static const QStringList families = {
        QStringLiteral("vaapi"),   QStringLiteral("nvenc"),        QStringLiteral("qsv"),
        QStringLiteral("v4l2m2m"), QStringLiteral("amf"),          QStringLiteral("vulkan"),
        QStringLiteral("mf"),      QStringLiteral("omx"),          QStringLiteral("videotoolbox"),
        QStringLiteral("mediacodec"), QStringLiteral("rkmpp"),     QStringLiteral("d3d12va"),
    };
    const QStringList parts = name.split('_');
    return std::any_of(parts.begin(), parts.end(), [](const QString& part) { return families.contains(part); });
}
