// File facts: whatever bytes the media-information library returns, the row
// and panel texts are made without harm, sizes keep their number and get the
// short unit, playing times keep their first eight characters, and a row's
// playing time is read back as seconds or refused with the conversion error.
#include "FuzzCheck.h"

#include "batch/ConversionProgress.h"
#include "batch/FileFacts.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <utility>

namespace {

QByteArray Bytes(const std::string& text) { return QByteArray(text.data(), qsizetype(text.size())); }

void CheckSizeWithUnit(const QByteArray& number, FuzzedDataProvider& input)
{
    static constexpr std::pair<const char*, const char*> Units[] = {
        {"Byte", "B"}, {"Bytes", "B"}, {"KiB", "KB"}, {"MiB", "MB"}, {"GiB", "GB"}, {"TiB", "TB"}, {"PiB", "PB"},
    };
    const auto& [libraryUnit, shownUnit] = Units[input.ConsumeIntegralInRange<size_t>(0, std::size(Units) - 1)];
    const QString shown = SizeText(number + ' ' + libraryUnit);
    FUZZ_REQUIRE(shown == QString::fromUtf8(number) + ' ' + QLatin1String(shownUnit));
}

void CheckPlayingTime(const QByteArray& duration)
{
    const QString shown = PlayingTimeText(duration, ListDefaultPlayingTime);
    FUZZ_REQUIRE(shown == (duration.isEmpty() ? QString(ListDefaultPlayingTime) : QString::fromUtf8(duration).left(8)));
    try {
        PlayingTimeSecs(shown);
    } catch (const EConvertError&) {
    }
}

// The library's answers, in the order they are asked for.
class LibraryAnswers {
public:
    explicit LibraryAnswers(FuzzedDataProvider& input) : input_(input) {}

    QByteArray operator()(int streamKind, const char* parameter)
    {
        FUZZ_REQUIRE(streamKind >= 0 && streamKind <= 2 && parameter && *parameter);
        return Bytes(input_.ConsumeRandomLengthString(40));
    }

private:
    FuzzedDataProvider& input_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // A number without blanks, as the library writes it.
    QByteArray number = Bytes(input.ConsumeRandomLengthString(12));
    number.replace(' ', '.');
    CheckSizeWithUnit(number, input);
    CheckPlayingTime(Bytes(input.ConsumeRandomLengthString(20)));

    LibraryAnswers answers(input);
    const FileRowTexts row = MakeFileRowTexts(answers);
    FUZZ_REQUIRE(row.size.endsWith('B'));
    const InfoPanelValues panel = MakeInfoPanelValues(answers);
    for (int line = 0; line < InfoPanelLineCount; ++line)
        FUZZ_REQUIRE(panel[line].has_value() == (line != 0 && line != 5 && line != 11));
    return 0;
}
