// Line assembly: whatever pieces the output arrives in, the reader reports
// what a plain terminal line fed one byte at a time shows, and the lines it
// ends up with do not depend on the cuts.
#include "FuzzCheck.h"

#include "process/JvReader.h"

#include <QByteArray>
#include <QList>

#include <algorithm>

namespace {

struct Report {
    QByteArray line;
    bool startsOnNewLine;
    bool operator==(const Report&) const = default;
};

using Reports = QList<Report>;

// A terminal line, written for clarity rather than speed.
class TerminalLine {
public:
    explicit TerminalLine(Reports& reports) : reports_(reports) {}

    void Feed(char c)
    {
        switch (c) {
        case '\r':
            cursor_ = 0;
            break;
        case '\b':
            cursor_ = std::max<qsizetype>(cursor_ - 1, 0);
            break;
        case '\t':
            for (int i = 0; i < 8; ++i)
                Put(' ');
            break;
        case '\0':
        case '\a':
            Put(' ');
            break;
        case '\n':
            Report(true);
            line_.clear();
            cursor_ = 0;
            break;
        default:
            Put(c);
        }
    }

    void EndOfPiece() { Report(false); }
    void EndOfRun()
    {
        if (!line_.isEmpty())
            Report(false);
    }

private:
    // The only place the line grows: a bound on its length belongs here.
    void Put(char c)
    {
        if (cursor_ < line_.size())
            line_[cursor_] = c;
        else
            line_.append(c);
        ++cursor_;
    }

    // Each report says whether it begins a line; the next one does exactly
    // when this one ended its line.
    void Report(bool endsLine)
    {
        reports_.append({line_, startsOnNewLine_});
        startsOnNewLine_ = endsLine;
    }

    Reports& reports_;
    QByteArray line_;
    qsizetype cursor_ = 0;
    bool startsOnNewLine_ = true;
};

Reports ReaderReports(const QList<QByteArray>& pieces)
{
    Reports reports;
    TJvReader reader([&](const QByteArray& line, bool startsOnNewLine) { reports.append({line, startsOnNewLine}); });
    for (const QByteArray& piece : pieces)
        reader.ParsePiece(piece.constData(), piece.size());
    reader.ReportRest();
    return reports;
}

Reports ModelReports(const QList<QByteArray>& pieces)
{
    Reports reports;
    TerminalLine terminal(reports);
    for (const QByteArray& piece : pieces) {
        for (const char c : piece)
            terminal.Feed(c);
        terminal.EndOfPiece();
    }
    terminal.EndOfRun();
    return reports;
}

// What a reader of the reports ends up with: the last state of every line.
QList<QByteArray> FinalLines(const Reports& reports)
{
    QList<QByteArray> lines;
    for (const Report& report : reports) {
        if (report.startsOnNewLine || lines.isEmpty())
            lines.append(report.line);
        else
            lines.last() = report.line;
    }
    return lines;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // The first byte says how many cuts there are, the last bytes give the
    // length of each piece, the bytes between are the output; what the cuts
    // leave over arrives as one last piece.
    if (size == 0)
        return 0;
    const size_t cuts = std::min<size_t>(data[0] % 64, size - 1);
    const char* output = reinterpret_cast<const char*>(data) + 1;
    const qsizetype outputSize = qsizetype(size - 1 - cuts);
    const QByteArray whole(output, outputSize);
    QList<QByteArray> pieces;
    qsizetype at = 0;
    for (size_t cut = 0; cut < cuts && at < outputSize; ++cut) {
        const qsizetype length = std::min<qsizetype>(1 + data[size - 1 - cut], outputSize - at);
        pieces.append(whole.mid(at, length));
        at += length;
    }
    if (at < outputSize)
        pieces.append(whole.mid(at));

    const Reports cut = ReaderReports(pieces);
    FUZZ_REQUIRE(cut == ModelReports(pieces));
    const QList<QByteArray> asOnePiece = whole.isEmpty() ? QList<QByteArray>{} : QList<QByteArray>{whole};
    FUZZ_REQUIRE(FinalLines(cut) == FinalLines(ReaderReports(asOnePiece)));
    return 0;
}
