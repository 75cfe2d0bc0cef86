// Transfer buffer: bounded, hands bytes out in the order they came, loses
// nothing while there is room, keeps the newest bytes when there is not, and
// counts what it dropped.
#include "FuzzCheck.h"

#include "process/JvTransferBuffer.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr qsizetype Maximum = TJvTransferBuffer::MaximumCapacity;

// The stream repeats with a period longer than anything the buffer can hold,
// so a byte out of place never matches. Stored twice over, any stretch of
// the stream up to one period long is one slice of the table.
constexpr std::uint64_t Period = 3 * Maximum + 7;

const char* Stream(std::uint64_t position)
{
    static const std::vector<char> table = [] {
        std::vector<char> bytes(2 * Period);
        for (std::uint64_t i = 0; i < bytes.size(); ++i)
            bytes[i] = static_cast<char>(((i % Period) * 0x9E3779B97F4A7C15ull) >> 56);
        return bytes;
    }();
    return table.data() + position % Period;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    TJvTransferBuffer buffer;
    std::uint64_t appended = 0; // stream position after the newest byte
    std::uint64_t front = 0;    // stream position of the oldest byte waiting
    std::uint64_t taken = 0;
    std::vector<char> out(size_t(Maximum + 10));

    while (input.remaining_bytes() > 0) {
        if (input.ConsumeBool()) {
            // Sizes around the doublings, and past the maximum in one go.
            const qsizetype count = input.ConsumeBool() ? input.ConsumeIntegralInRange<qsizetype>(0, 2100)
                                                        : input.ConsumeIntegralInRange<qsizetype>(0, 2 * Maximum + 10);
            const qsizetype before = buffer.Size();
            buffer.Append(Stream(appended), count);
            appended += std::uint64_t(count);

            FUZZ_REQUIRE(buffer.Size() <= Maximum);
            FUZZ_REQUIRE(buffer.Size() >= std::min(count, Maximum));
            if (before + count <= Maximum)
                FUZZ_REQUIRE(buffer.Size() == before + count);
            front = appended - std::uint64_t(buffer.Size());
        } else {
            const qsizetype wanted = input.ConsumeIntegralInRange<qsizetype>(0, Maximum + 10);
            const qsizetype waiting = buffer.Size();
            const qsizetype got = buffer.Take(out.data(), wanted);
            FUZZ_REQUIRE(got == std::min(wanted, waiting));
            FUZZ_REQUIRE(std::memcmp(out.data(), Stream(front), size_t(got)) == 0);
            front += std::uint64_t(got);
            taken += std::uint64_t(got);
        }
        FUZZ_REQUIRE(buffer.Capacity() <= Maximum);
        FUZZ_REQUIRE(buffer.Size() <= buffer.Capacity());
        FUZZ_REQUIRE(std::uint64_t(buffer.Discarded()) == appended - taken - std::uint64_t(buffer.Size()));
    }
    // What is left comes out whole and in order.
    const qsizetype rest = buffer.Take(out.data(), Maximum);
    FUZZ_REQUIRE(std::uint64_t(rest) == appended - front);
    FUZZ_REQUIRE(std::memcmp(out.data(), Stream(front), size_t(rest)) == 0);
    return 0;
}
