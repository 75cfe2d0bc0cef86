#include "process/JvReader.h"

#include <array>
#include <cstring>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

constexpr std::array<bool, 256> MakeControlTable()
{
    std::array<bool, 256> table{};
    for (const unsigned char c : {0, 7, 8, 9, 10, 13})
        table[c] = true;
    return table;
}

constexpr std::array<bool, 256> IsControl = MakeControlTable();

constexpr char EightSpaces[] = "        ";

// The next control byte at or after p, or end. Converter output is mostly
// text between CRs, so sixteen bytes are ruled out at a time where the CPU
// allows it.
const char* FindControl(const char* p, const char* end)
{
#if defined(__SSE2__)
    const __m128i thirteen = _mm_set1_epi8(13);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        // Bytes <= 13 (unsigned) are the only candidates.
        unsigned candidates = unsigned(_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(bytes, thirteen), bytes)));
        while (candidates != 0) {
            const int offset = __builtin_ctz(candidates);
            if (IsControl[static_cast<unsigned char>(p[offset])])
                return p + offset;
            candidates &= candidates - 1;
        }
    }
#endif
    while (p < end && !IsControl[static_cast<unsigned char>(*p)])
        ++p;
    return p;
}

} // namespace

TJvReader::TJvReader(TReport report) : report_(std::move(report)) {}

void TJvReader::Reset()
{
    line_.clear();
    cursor_ = 0;
    startsOnNewLine_ = true;
}

void TJvReader::WriteText(const char* text, qsizetype size)
{
    if (size == 0)
        return;
    if (cursor_ + size > MaxLineSize) {
        if (size >= KeptLineSize) {
            line_ = QByteArray(text + size - KeptLineSize, KeptLineSize);
            cursor_ = KeptLineSize;
            return;
        }
        // Writing ends at column KeptLineSize; what lay beyond the cursor
        // moves along with it.
        const qsizetype dropped = cursor_ + size - KeptLineSize;
        line_.remove(0, dropped);
        cursor_ -= dropped;
    }
    if (cursor_ + size > line_.size())
        line_.resize(cursor_ + size);
    std::memcpy(line_.data() + cursor_, text, size);
    cursor_ += size;
}

void TJvReader::ReportLine(bool ended)
{
    const bool startsOnNewLine = std::exchange(startsOnNewLine_, ended);
    reportIsCut_ = !ended && cursor_ > 0;
    if (!ended) {
        report_(line_, startsOnNewLine);
        return;
    }
    // The line is emptied even when the report throws, so that the next
    // line never continues an ended one.
    struct EmptyLineAfterReport {
        TJvReader* reader;
        ~EmptyLineAfterReport()
        {
            reader->line_.resize(0);
            reader->cursor_ = 0;
        }
    } emptyLine{this};
    report_(line_, startsOnNewLine);
}

void TJvReader::ParsePiece(const char* data, qsizetype size)
{
    const char* const end = data + size;
    const char* text = data;
    for (const char* p = FindControl(data, end); p < end; p = FindControl(p + 1, end)) {
        const auto c = static_cast<unsigned char>(*p);
        WriteText(text, p - text);
        text = p + 1;
        switch (c) {
        case 0:
        case 7:
            WriteText(" ", 1);
            break;
        case 8:
            if (cursor_ > 0)
                --cursor_;
            break;
        case 9:
            WriteText(EightSpaces, 8);
            break;
        case 10:
            ReportLine(true);
            break;
        case 13:
            cursor_ = 0;
            break;
        }
    }
    WriteText(text, end - text);
    ReportLine(false);
}

void TJvReader::ReportRest()
{
    if (!line_.isEmpty())
        ReportLine(false);
}
