#pragma once

// One table of console output for the line assembly, used twice: fed
// straight to the assembler and written by a real child through the runner.
// Each row gives the pieces in which the output arrives and, per piece, the
// reports expected, written "T:line" (starts a new line) or "F:line".

#include <QByteArrayList>
#include <QList>
#include <QTest>

using TPieceReports = QList<QByteArrayList>;

inline QByteArray T(const QByteArray& line)
{
    return "T:" + line;
}

inline QByteArray F(const QByteArray& line)
{
    return "F:" + line;
}

inline QByteArray Reported(const QByteArray& line, bool startsOnNewLine)
{
    return startsOnNewLine ? T(line) : F(line);
}

inline void AddLineAssemblyRows()
{
    QTest::addColumn<QByteArrayList>("pieces");
    QTest::addColumn<TPieceReports>("expected");

    const QByteArray longLine(1024, 'x');

    QTest::newRow("lines, then a later piece")
        << QByteArrayList{"abc\ndef\n", "ghi\n"}
        << TPieceReports{{T("abc"), T("def"), T("")}, {F("ghi"), T("")}};
    QTest::newRow("progress rewritten with CR")
        << QByteArrayList{"frame=  10\rframe=  11\r", "frame=  12\r"}
        << TPieceReports{{T("frame=  11")}, {F("frame=  12")}};
    QTest::newRow("shorter text after CR keeps the tail")
        << QByteArrayList{"abcdef\rxy"} << TPieceReports{{T("xycdef")}};
    QTest::newRow("CR LF ends a line like LF")
        << QByteArrayList{"abc\r\ndef\r\n"} << TPieceReports{{T("abc"), T("def"), T("")}};
    QTest::newRow("BS steps left without erasing")
        << QByteArrayList{"ab\bc"} << TPieceReports{{T("ac")}};
    QTest::newRow("BS at column 0 stays there")
        << QByteArrayList{"\b\bx\b\by"} << TPieceReports{{T("y")}};
    QTest::newRow("TAB writes eight spaces")
        << QByteArrayList{"a\tb"} << TPieceReports{{T("a        b")}};
    QTest::newRow("TAB overwrites after CR")
        << QByteArrayList{"abcdefghijk\r\tZ"} << TPieceReports{{T("        Zjk")}};
    QTest::newRow("NUL and BEL show as spaces")
        << QByteArrayList{QByteArray("a\0b\ac\0", 6)} << TPieceReports{{T("a b c ")}};
    QTest::newRow("line longer than a piece")
        << QByteArrayList{longLine, "yy\n"}
        << TPieceReports{{T(longLine)}, {F(longLine + "yy"), T("")}};
    QTest::newRow("line cut by a piece boundary")
        << QByteArrayList{"hel", "lo\nnext"} << TPieceReports{{T("hel")}, {F("hello"), T("next")}};
    QTest::newRow("output ending without LF")
        << QByteArrayList{"done\nlast"} << TPieceReports{{T("done"), T("last")}};
    QTest::newRow("nothing written") << QByteArrayList{} << TPieceReports{};
}
