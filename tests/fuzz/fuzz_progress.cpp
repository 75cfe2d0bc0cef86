// The converter's progress lines and the row's playing time: any text is read
// without harm, a well-formed time gives its seconds, and the percentage is
// exactly position × 100 ÷ duration, truncated, for every position a
// progress line can express.
#include "FuzzCheck.h"

#include "batch/ConversionProgress.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <climits>
#include <cstdint>

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), qsizetype(text.size())); }

QByteArray TwoDigits(int value) { return QByteArray::number(value).rightJustified(2, '0'); }

void CheckPercent(int positionSecs, int durationSecs)
{
    const std::optional<qint64> percent = ProgressPercent(positionSecs, durationSecs);
    if (durationSecs == 0) {
        FUZZ_REQUIRE(!percent);
        return;
    }
    const std::int64_t exact = std::int64_t(positionSecs) * 100 / durationSecs;
    if (exact > INT_MAX || exact < INT_MIN)
        return;
    if (!percent || *percent != exact)
        std::fprintf(stderr, "%d s of %d s: %lld %% instead of %lld %%\n", positionSecs, durationSecs,
                     static_cast<long long>(percent.value_or(-1)), static_cast<long long>(exact));
    FUZZ_REQUIRE(percent && *percent == exact);
}

void CheckAnyProgressLine(const QByteArray& line, int durationSecs)
{
    IsProgressLine(line);
    const std::optional<int> position = ProgressTimeSecs(line);
    if (!position)
        return;
    FUZZ_REQUIRE(*position >= 0);
    CheckPercent(*position, durationSecs);
}

// A line as the converter writes it, with its time fields taken from the
// input and any text around them.
void CheckWrittenProgressLine(FuzzedDataProvider& input, int durationSecs)
{
    const int hours = input.ConsumeIntegralInRange(0, 99);
    const int minutes = input.ConsumeIntegralInRange(0, 99);
    const int seconds = input.ConsumeIntegralInRange(0, 99);
    QByteArray before = Bytes(input.ConsumeRandomLengthString(80));
    // Taking one "time=" out can join its neighbours into another.
    while (before.contains("time="))
        before.replace("time=", "");
    const QByteArray line = "frame=" + before + "time=" + TwoDigits(hours) + ':' + TwoDigits(minutes) + ':'
                            + TwoDigits(seconds) + '.' + TwoDigits(input.ConsumeIntegralInRange(0, 99))
                            + Bytes(input.ConsumeRandomLengthString(80));
    FUZZ_REQUIRE(IsProgressLine(line));
    const int expected = hours * 3600 + minutes * 60 + seconds;
    FUZZ_REQUIRE(ProgressTimeSecs(line) == expected);
    CheckPercent(expected, durationSecs);
}

void CheckPlayingTime(FuzzedDataProvider& input)
{
    // Any text is either read or refused with the conversion error.
    try {
        PlayingTimeSecs(QString::fromUtf8(Bytes(input.ConsumeRandomLengthString(12))));
    } catch (const EConvertError&) {
    }
    const int hours = input.ConsumeIntegralInRange(0, 99);
    const int minutes = input.ConsumeIntegralInRange(0, 59);
    const int seconds = input.ConsumeIntegralInRange(0, 59);
    const QString text = QString::fromLatin1(TwoDigits(hours) + ':' + TwoDigits(minutes) + ':' + TwoDigits(seconds));
    FUZZ_REQUIRE(PlayingTimeSecs(text) == hours * 3600 + minutes * 60 + seconds);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // Every position of one row: rounding faults hide in a few pairs only.
    // The row's duration comes from the last two bytes of the input.
    const int rowDuration = input.ConsumeIntegralInRange(1, 20000);
    for (int position = 0; position <= rowDuration; ++position)
        CheckPercent(position, rowDuration);

    const int durationSecs = input.ConsumeIntegralInRange(0, INT_MAX);
    CheckAnyProgressLine(Bytes(input.ConsumeRandomLengthString(200)), durationSecs);
    CheckWrittenProgressLine(input, durationSecs);
    CheckPlayingTime(input);
    return 0;
}
