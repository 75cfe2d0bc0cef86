#include "LineAssemblyCases.h"

#include "process/JvReader.h"
#include "process/JvTransferBuffer.h"

#include <QTest>

#include <stdexcept>

class TestLineAssembly : public QObject {
    Q_OBJECT

private slots:
    void reportsPerPiece_data() { AddLineAssemblyRows(); }
    void reportsPerPiece();
    void endOfRunReportsTheUnfinishedLine();
    void failingReportLosesTheRestOfThePieceOnly();
    void endlessLineKeepsItsNewestPart_data();
    void endlessLineKeepsItsNewestPart();
    void returnAfterABoundedLineOverwritesTheFirstKeptByte();
    void transferBufferGrowsThenDiscards();
    void transferBufferKeepsOrderAcrossTheWrap();
};

void TestLineAssembly::reportsPerPiece()
{
    QFETCH(QByteArrayList, pieces);
    QFETCH(TPieceReports, expected);

    QByteArrayList reports;
    TJvReader reader([&](const QByteArray& line, bool startsOnNewLine) {
        reports.append(Reported(line, startsOnNewLine));
    });
    TPieceReports perPiece;
    for (const QByteArray& piece : pieces) {
        reports.clear();
        reader.ParsePiece(piece.constData(), piece.size());
        perPiece.append(reports);
    }
    QCOMPARE(perPiece, expected);
}

void TestLineAssembly::endOfRunReportsTheUnfinishedLine()
{
    QByteArrayList reports;
    TJvReader reader([&](const QByteArray& line, bool startsOnNewLine) {
        reports.append(Reported(line, startsOnNewLine));
    });
    reader.ParsePiece("a\nb", 3);
    reader.ReportRest();
    QCOMPARE(reports, (QByteArrayList{T("a"), T("b"), F("b")}));

    // The unfinished line goes on in the next piece; an ended line has
    // nothing left to report; a new run starts afresh.
    reports.clear();
    reader.ParsePiece("c\n", 2);
    reader.ReportRest();
    reader.Reset();
    reader.ParsePiece("d", 1);
    QCOMPARE(reports, (QByteArrayList{F("bc"), T(""), T("d")}));
}

namespace {

// Text without a line end in which every stretch is told apart from others.
QByteArray EndlessText(qsizetype size)
{
    QByteArray text;
    for (int number = 0; text.size() < size; ++number)
        text += QByteArray::number(number) + ' ';
    text.truncate(size);
    return text;
}

} // namespace

void TestLineAssembly::endlessLineKeepsItsNewestPart_data()
{
    QTest::addColumn<qsizetype>("pieceSize");
    QTest::addColumn<qsizetype>("total");
    QTest::newRow("byte by byte") << qsizetype(1) << qsizetype(150'000);
    QTest::newRow("runner pieces") << TJvReader::PieceSize << qsizetype(1'000'000);
    QTest::newRow("odd pieces") << qsizetype(4093) << qsizetype(1'000'000);
    QTest::newRow("one piece far beyond the bound") << qsizetype(300'000) << qsizetype(300'000);
    QTest::newRow("exactly the bound") << TJvReader::PieceSize << TJvReader::MaxLineSize;
}

void TestLineAssembly::endlessLineKeepsItsNewestPart()
{
    QFETCH(qsizetype, pieceSize);
    QFETCH(qsizetype, total);
    const QByteArray text = EndlessText(total);
    qsizetype longest = 0;
    QByteArray last;
    TJvReader reader([&](const QByteArray& line, bool) {
        longest = std::max(longest, line.size());
        last = line;
    });
    for (qsizetype offset = 0; offset < total; offset += pieceSize)
        reader.ParsePiece(text.constData() + offset, std::min(pieceSize, total - offset));

    QVERIFY(longest <= TJvReader::MaxLineSize);
    QVERIFY(last.size() >= std::min(total, TJvReader::KeptLineSize));
    QVERIFY(text.endsWith(last));
    QCOMPARE(reader.Line(), last);
}

void TestLineAssembly::returnAfterABoundedLineOverwritesTheFirstKeptByte()
{
    const QByteArray text = EndlessText(TJvReader::MaxLineSize + 10);
    QByteArrayList reports;
    TJvReader reader([&](const QByteArray& line, bool startsOnNewLine) {
        reports.append(Reported(line.left(3) + '|' + QByteArray::number(line.size()), startsOnNewLine));
    });
    reader.ParsePiece(text.constData(), text.size());
    const QByteArray kept = reader.Line();
    reader.ParsePiece("\rab\n", 4);
    reader.ParsePiece("next", 4);
    QCOMPARE(kept, text.right(TJvReader::KeptLineSize));
    const QByteArray keptSize = QByteArray::number(TJvReader::KeptLineSize);
    QCOMPARE(reports, (QByteArrayList{T(kept.left(3) + '|' + keptSize), F("ab" + kept.mid(2, 1) + '|' + keptSize),
                                      T("|0"), F("nex|4")}));
}

void TestLineAssembly::failingReportLosesTheRestOfThePieceOnly()
{
    QByteArrayList reports;
    TJvReader reader([&](const QByteArray& line, bool startsOnNewLine) {
        reports.append(Reported(line, startsOnNewLine));
        if (line == "boom")
            throw std::runtime_error("handler failed");
    });
    QVERIFY_THROWS_EXCEPTION(std::runtime_error, reader.ParsePiece("boom\nlost\n", 10));
    // The failed line still counts as ended: the next text starts a new,
    // empty line instead of overwriting the old one.
    reader.ParsePiece("x", 1);
    QCOMPARE(reports, (QByteArrayList{T("boom"), T("x")}));
}

void TestLineAssembly::transferBufferGrowsThenDiscards()
{
    TJvTransferBuffer buffer;
    const QByteArray kilobyte(1024, 'k');
    QList<qsizetype> capacities;
    for (int i = 0; i < 128; ++i) {
        buffer.Append(kilobyte.constData(), kilobyte.size());
        if (capacities.isEmpty() || capacities.last() != buffer.Capacity())
            capacities.append(buffer.Capacity());
    }
    QCOMPARE(capacities, (QList<qsizetype>{1024, 2048, 4096, 8192, 16384, 32768, 65536, 131072}));
    QCOMPARE(buffer.Size(), 131072);

    // Full: everything waiting goes, the newest bytes stay, no growth.
    buffer.Append("new", 3);
    QCOMPARE(buffer.Capacity(), 131072);
    QCOMPARE(buffer.Size(), 3);
    char out[8];
    QCOMPARE(buffer.Take(out, sizeof out), 3);
    QCOMPARE(QByteArray(out, 3), QByteArray("new"));
}

void TestLineAssembly::transferBufferKeepsOrderAcrossTheWrap()
{
    TJvTransferBuffer buffer;
    QByteArray written;
    QByteArray taken;
    char out[1024];
    // Uneven appends and takes move the front around the ring many times,
    // through every growth step.
    for (int round = 0; round < 2000; ++round) {
        QByteArray chunk;
        for (int i = 0; i < (round * 37) % 1000 + 1; ++i)
            chunk.append(char('a' + (written.size() + i) % 26));
        buffer.Append(chunk.constData(), chunk.size());
        written += chunk;
        const qsizetype count = buffer.Take(out, (round * 53) % 1000 + 1);
        taken.append(out, count);
    }
    while (const qsizetype count = buffer.Take(out, sizeof out))
        taken.append(out, count);
    QVERIFY(buffer.Capacity() <= TJvTransferBuffer::MaximumCapacity);
    QCOMPARE(taken, written);
}

QTEST_GUILESS_MAIN(TestLineAssembly)
#include "tst_line_assembly.moc"
