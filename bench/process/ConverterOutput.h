#pragma once

#include <QByteArray>

// Console output shaped like the converter's: a banner of LF-ended lines,
// then progress lines rewritten with CR, with a warning line now and then.
inline QByteArray ConverterOutput(qsizetype size)
{
    QByteArray banner;
    banner += "ffmpeg version 5.1.4-0+deb12u1 Copyright (c) 2000-2023 the FFmpeg developers\n";
    banner += "  built with gcc 12 (Debian 12.2.0-14)\n";
    for (const char* library : {"libavutil", "libavcodec", "libavformat", "libavdevice", "libavfilter",
                                "libswscale", "libswresample", "libpostproc"})
        banner += QByteArray("  ") + library + "      57. 28.100 / 57. 28.100\n";
    banner += "Input #0, avi, from 'source clip.avi':\n"
              "  Duration: 00:10:00.00, start: 0.000000, bitrate: 1500 kb/s\n"
              "  Stream #0:0: Video: mpeg4 (Simple Profile) (XVID / 0x44495658), yuv420p, 640x480, 25 fps\n"
              "  Stream #0:1: Audio: mp3 (U[0][0][0] / 0x0055), 44100 Hz, stereo, fltp, 128 kb/s\n"
              "Stream mapping:\n  Stream #0:0 -> #0:0 (mpeg4 (native) -> mpeg4 (native))\n"
              "Press [q] to stop, [?] for help\n";

    QByteArray output = banner;
    for (int frame = 1; output.size() < size; ++frame) {
        const int seconds = frame / 25;
        output += QByteArray("frame=") + QByteArray::number(frame).rightJustified(6) +
                  " fps=250 q=4.0 size=" + QByteArray::number(frame * 6).rightJustified(8) +
                  "kB time=00:" + QByteArray::number(seconds / 60).rightJustified(2, '0') + ":" +
                  QByteArray::number(seconds % 60).rightJustified(2, '0') + "." +
                  QByteArray::number(frame % 25 * 4).rightJustified(2, '0') +
                  " bitrate=1966.1kbits/s speed=10.0x    \r";
        if (frame % 5000 == 0)
            output += "\n[mpeg4 @ 0x55d5c0a3c2c0] warning: first frame is no keyframe\n";
    }
    output.truncate(size);
    return output;
}
