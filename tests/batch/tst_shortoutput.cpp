// When an output counts as clearly shorter than its source, and what the
// row then says.
#include "batch/RowOutcome.h"
#include "batch/ShortOutput.h"

#include <QtTest>

class TestShortOutput : public QObject {
    Q_OBJECT
private slots:
    void clearlyShorter_data()
    {
        QTest::addColumn<qint64>("sourceMs");
        QTest::addColumn<qint64>("outputMs");
        QTest::addColumn<bool>("isShort");
        QTest::newRow("cut off") << qint64(3000) << qint64(280) << true;
        QTest::newRow("equal") << qint64(3000) << qint64(3000) << false;
        QTest::newRow("longer") << qint64(3000) << qint64(3100) << false;
        QTest::newRow("a second exactly") << qint64(3000) << qint64(2000) << false;
        QTest::newRow("just over a second") << qint64(3000) << qint64(1999) << true;
        // Over an hour, one second is well within 5 %.
        QTest::newRow("long, 2 s short") << qint64(3600000) << qint64(3598000) << false;
        QTest::newRow("long, 5 % exactly") << qint64(3600000) << qint64(3420000) << false;
        QTest::newRow("long, over 5 %") << qint64(3600000) << qint64(3419000) << true;
        QTest::newRow("short source, under 5 %") << qint64(800) << qint64(0) << false;
    }
    void clearlyShorter()
    {
        QFETCH(qint64, sourceMs);
        QFETCH(qint64, outputMs);
        QFETCH(bool, isShort);
        QCOMPARE(IsShortOutput(sourceMs, outputMs), isShort);
    }

    void noteNamesBothPlayingTimes()
    {
        QCOMPARE(ShortOutputNote(3000, 280), QString("The output plays 0.28 s of the source's 3.00 s."));
        QCOMPARE(ShortOutputNote(5025000, 1830000), QString("The output plays 00:30:30 of the source's 01:23:45."));
    }

    void onlyACompletedRowWithBothTimesIsFlagged()
    {
        TRowOutcome completed{TRowOutcome::TKind::Completed, QString(), 280};
        const TRowOutcome flagged = FlagShortOutput(completed, 3000);
        QCOMPARE(int(flagged.kind), int(TRowOutcome::TKind::Completed));
        QVERIFY(flagged.warning);
        QCOMPARE(flagged.toolTip, QString("The output plays 0.28 s of the source's 3.00 s."));

        QVERIFY(!FlagShortOutput(completed, std::nullopt).warning);
        QVERIFY(!FlagShortOutput(completed, 1000).warning);
        TRowOutcome unknownOutput{TRowOutcome::TKind::Completed, QString(), std::nullopt};
        QVERIFY(!FlagShortOutput(unknownOutput, 3000).warning);
        TRowOutcome failed{TRowOutcome::TKind::Failed, "The converter ended with exit code 1.", 280};
        QCOMPARE(FlagShortOutput(failed, 3000).toolTip, failed.toolTip);
        QVERIFY(!FlagShortOutput(failed, 3000).warning);
    }
};

QTEST_MAIN(TestShortOutput)
#include "tst_shortoutput.moc"
