// Shell words: a quoted word splits back into itself, and the converter's
// and the player's command lines split back into their paths as single
// words, whatever bytes the paths hold.
#include "FuzzCheck.h"

#include "batch/CommandLine.h"
#include "player/MplayerCommand.h"
#include "process/ShellWords.h"

#include <fuzzer/FuzzedDataProvider.h>

namespace {

// Paths never hold NUL: the system cannot pass one.
QByteArray PathBytes(FuzzedDataProvider& input)
{
    const std::string text = input.ConsumeRandomLengthString(200);
    QByteArray path(text.data(), qsizetype(text.size()));
    path.replace('\0', '_');
    return path;
}

// Option fragments are whole arguments as the catalogue keeps them: plain
// option words and values separated by blanks.
QByteArray FragmentBytes(FuzzedDataProvider& input)
{
    static constexpr char Alphabet[] = "abcxyz0129-:=,._ \t";
    QByteArray fragment;
    const int length = input.ConsumeIntegralInRange(0, 24);
    for (int i = 0; i < length; ++i)
        fragment += Alphabet[input.ConsumeIntegralInRange<size_t>(0, sizeof Alphabet - 2)];
    return fragment;
}

void CheckWordRoundTrip(const QByteArray& word)
{
    FUZZ_REQUIRE(SplitShellWords(QuoteShellWord(word)) == QList<QByteArray>{word});
}

void CheckConverterCommandLine(FuzzedDataProvider& input)
{
    const QByteArray converter = PathBytes(input);
    const QByteArray source = PathBytes(input);
    const QByteArray output = PathBytes(input);
    QList<QByteArray> fragments;
    QList<QByteArray> expected{converter, "-n", "-i", source};
    for (int kind = 0; kind < 9; ++kind) {
        fragments << FragmentBytes(input);
        expected += SplitShellWords(fragments.last());
    }
    expected += output;
    FUZZ_REQUIRE(SplitShellWords(JoinCommandLine(converter, source, fragments.join(' '), output)) == expected);
}

void CheckPlayerCommandLine(FuzzedDataProvider& input)
{
    // The player's paths are texts: what reaches the player is their UTF-8.
    const QString folder = QString::fromUtf8(PathBytes(input));
    const QString file = QString::fromUtf8(PathBytes(input));
    const auto window = input.ConsumeIntegral<unsigned long long>();
    const QList<QByteArray> expected{MplayerPath(folder).toUtf8(),
                                     "-slave", "-identify", "-wid", QByteArray::number(window),
                                     "-colorkey", "0x101010", "-framedrop", "-autosync", "100", "-vf", "screenshot",
                                     file.toUtf8()};
    FUZZ_REQUIRE(SplitShellWords(MplayerCommandLine(MplayerPath(folder), window, file)) == expected);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    // Any text splits without harm, quoted or not.
    const std::string text = input.ConsumeRandomLengthString(400);
    SplitShellWords(QByteArray(text.data(), qsizetype(text.size())));

    CheckWordRoundTrip(PathBytes(input));
    CheckConverterCommandLine(input);
    CheckPlayerCommandLine(input);
    return 0;
}
