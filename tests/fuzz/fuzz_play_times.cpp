// The mini player's times: a status line as the player writes it never
// raises an error, however the output is cut on its way, a complete one gives
// its whole seconds, and a formatted time reads back as its seconds.
#include "FuzzCheck.h"

#include "batch/StrToInt.h"
#include "player/MplayerFunc.h"
#include "player/PlayTimes.h"
#include "process/JvReader.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), qsizetype(text.size())); }

// Any text is read or refused with the conversion error, nothing else.
void CheckAnyText(const QByteArray& text)
{
    try {
        TMplayerFunc::ParsePlayPosition(text, false);
    } catch (const EConvertError&) {
    }
    try {
        TotalTimeSeconds(TotalTimeText(text));
    } catch (const EConvertError&) {
    }
}

void CheckFormatThenRead(int seconds)
{
    const QByteArray text = TMplayerFunc::FormatSeconds(seconds).toUtf8();
    // The label holds two digits of hours up to ten hours; beyond that the
    // text is for reading by eye.
    if (seconds >= 0 && seconds < 10 * 3600)
        FUZZ_REQUIRE(TotalTimeSeconds(text) == seconds);
}

// A status line as the player writes it while it plays: with sound the
// audio position leads ("A:"), without sound only the video position shows.
// wholeSeconds is the position the line stands for.
QByteArray StatusLine(FuzzedDataProvider& input, int& wholeSeconds)
{
    const int tenths = input.ConsumeIntegralInRange(0, 99999);
    const double position = tenths / 10.0;
    const int frame = input.ConsumeIntegralInRange(0, 999999);
    const int percent = input.ConsumeIntegralInRange(0, 99);
    wholeSeconds = tenths / 10;
    if (input.ConsumeBool()) {
        return QString::asprintf("A:%6.1f V:%6.1f A-V:%7.3f ct:%7.3f %3d/%3d %2d%% %2d%% %4.1f%% 0 0 \x1b[J",
                                 position, position, 0.002, 0.0, frame, frame, percent, percent, 0.1)
            .toLatin1();
    }
    return QString::asprintf("V:%6.1f %3d/%3d %2d%% %2d%% %4.1f%% 0 0 \x1b[J", position, frame, frame, percent,
                             percent, 0.1)
        .toLatin1();
}

// The position shown for a text the runner delivered (none while the text
// is cut short); a conversion error here would pop up the error box in the
// middle of playback.
std::optional<int> ShownPosition(const QByteArray& text, bool cut)
{
    try {
        return TMplayerFunc::ParsePlayPosition(text, cut);
    } catch (const EConvertError& error) {
        std::fprintf(stderr, "\"%s\": %s\n", text.constData(), error.what());
        PropertyViolated("a status line as the player writes it is shown without an error", __FILE__, __LINE__);
    }
}

// Every state of the current line that the runner can report, as pieces
// arrive, is shown without an error.
void CheckOutputCutIntoPieces(const QByteArray& output, FuzzedDataProvider& input)
{
    TJvReader* delivering = nullptr;
    TJvReader reader([&](const QByteArray& line, bool) { ShownPosition(line, delivering->ReportIsCut()); });
    delivering = &reader;
    for (qsizetype at = 0; at < output.size();) {
        const qsizetype length = input.ConsumeIntegralInRange<qsizetype>(1, 64);
        const qsizetype piece = std::min(length, output.size() - at);
        reader.ParsePiece(output.constData() + at, piece);
        at += piece;
    }
    reader.ReportRest();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    CheckAnyText(Bytes(input.ConsumeRandomLengthString(40)));
    CheckFormatThenRead(input.ConsumeIntegral<int>());

    QByteArray output = "Starting playback...\n";
    const int lines = input.ConsumeIntegralInRange(1, 4);
    for (int i = 0; i < lines; ++i) {
        int wholeSeconds = 0;
        const QByteArray line = StatusLine(input, wholeSeconds);
        FUZZ_REQUIRE(ShownPosition(line, false) == wholeSeconds);
        output += line + '\r';
    }
    output += "\nExiting... (End of file)\n";
    CheckOutputCutIntoPieces(output, input);
    return 0;
}
