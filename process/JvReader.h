#pragma once

#include <QByteArray>

#include <functional>

// Turns a console program's output into the states of its current line, the
// way a terminal shows them: CR returns to column 0 and later text overwrites,
// BS steps left, TAB writes eight spaces, NUL and BEL show as spaces, LF ends
// the line. The line is reported after every LF and at the end of every
// piece, so a progress line rewritten with CR arrives once per piece in its
// latest state.
//
// A program that writes on and on without a line end must neither exhaust
// memory nor make every report ever longer: the line holds at most
// MaxLineSize bytes. When text would take it beyond that, its oldest bytes
// are dropped so that the newest KeptLineSize bytes remain, and column 0 is
// the first byte kept. Dropping half at a time keeps the cost of a byte
// constant.
//
// It knows nothing of pipes or threads: it is fed pieces of bytes.
class TJvReader {
public:
    using TReport = std::function<void(const QByteArray& line, bool startsOnNewLine)>;

    static constexpr qsizetype PieceSize = 1024;
    static constexpr qsizetype MaxLineSize = 64 * 1024;
    static constexpr qsizetype KeptLineSize = MaxLineSize / 2;

    explicit TJvReader(TReport report);

    // Back to the state of a new run: empty line, cursor 0, next report
    // starts a new line.
    void Reset();

    // Parses one piece. If the report throws, the line state is already
    // consistent with what was reported and the rest of the piece is lost.
    void ParsePiece(const char* data, qsizetype size);

    // At the end of a run: the unfinished last line once more.
    void ReportRest();

    const QByteArray& Line() const { return line_; }

    // During a report: true when the line is reported only because the
    // piece ended while the text was being written, that is with the cursor
    // after column 0 and no LF; the same line goes on in the next piece.
    // False for a line ended by LF and for one that a CR has returned over.
    bool ReportIsCut() const { return reportIsCut_; }

private:
    void WriteText(const char* text, qsizetype size);
    void ReportLine(bool ended);

    TReport report_;
    QByteArray line_;
    qsizetype cursor_ = 0;
    bool startsOnNewLine_ = true;
    bool reportIsCut_ = false;
};
