#include "process/JvReader.h"

#include <array>
#include <cstring>
#include <utility>

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
    if (cursor_ + size > line_.size())
        line_.resize(cursor_ + size);
    std::memcpy(line_.data() + cursor_, text, size);
    cursor_ += size;
}

void TJvReader::ReportLine(bool ended)
{
    const bool startsOnNewLine = std::exchange(startsOnNewLine_, ended);
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
    for (const char* p = data; p < end; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (!IsControl[c])
            continue;
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
