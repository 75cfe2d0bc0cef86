#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The encoders an ffmpeg build has, by the kind of stream they write, in the
// order ffmpeg lists them.
struct TEncoderList {
    QStringList video;
    QStringList audio;
    QStringList subtitle;

    bool Has(const QString& name) const;
    bool IsEmpty() const;
    friend bool operator==(const TEncoderList&, const TEncoderList&) = default;
};

// Reads what "ffmpeg -hide_banner -encoders" prints. The first flag of a
// row tells the kind: V video, A audio, S subtitle.
TEncoderList ParseEncoderList(const QByteArray& listing);

// Whether the encoder hands the work to a device (VAAPI, NVENC, Quick Sync,
// V4L2 memory-to-memory, AMF, Vulkan, Media Foundation, OpenMAX and the
// like). Such an encoder is listed whenever ffmpeg was built with it, even
// on a machine without the device or its driver, so it is offered only after
// a trial encode has worked.
bool IsHardwareEncoder(const QString& name);
