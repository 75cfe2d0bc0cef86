#pragma once

#include <array>

// The nine conversion parameters. Their order is the loading order and the
// order of the fragments on the converter's command line.
struct OptionKind {
    int tag;
    const char* selectorName;
    const char* table;
    const char* label;
};

inline constexpr std::array<OptionKind, 9> OptionKinds{{
    {1, "JvCmbVdo1", "cmbex_vdocodec", "Video Codec"},
    {2, "JvCmbVdo2", "cmbex_vdobitrate", "Video Bitrate"},
    {3, "JvCmbVdo3", "cmbex_vdosize", "Video Size"},
    {4, "JvCmbVdo4", "cmbex_vdofps", "Video Frame Rate"},
    {5, "JvCmbVdo5", "cmbex_vdoaspect", "Width Ratio"},
    {6, "JvCmbAdo1", "cmbex_adocodec", "Audio Codec"},
    {7, "JvCmbAdo2", "cmbex_adobitrate", "Audio Bitrate"},
    {8, "JvCmbAdo3", "cmbex_adochannels", "Audio Channel"},
    {9, "JvCmbAdo4", "cmbex_adofreq", "Sampling Frequency"},
}};

enum OptionKindIndex { VdoCodec, VdoBitrate, VdoSize, VdoFps, VdoAspect, AdoCodec, AdoBitrate, AdoChannels, AdoFreq };
