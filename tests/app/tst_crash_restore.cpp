// The program killed outright at random moments of a running batch, and
// started again in the same folder each time: the list comes back whole,
// completed rows stay completed and are never converted again, the row cut
// off is marked and its unfinished output gone, and no converter outlives
// the program that started it.

#include "ProcessState.h"
#include "batch/BatchListFile.h"
#include "components/ImageList.h"
#include "tst_batch_support.h"

#include <QProcess>
#include <QRandomGenerator>
#include <QtTest>

#include <csignal>

namespace {

constexpr int Kills = 50;
constexpr int Rows = 10;
// Past the end of a batch the program has nothing left to kill.
constexpr int LatestKillMs = 1500;

struct TShownRow {
    int mark;
    QString toolTip;
};

// The program in crash_probe, started in the folder; what it printed.
class Probe {
public:
    explicit Probe(const QString& folder)
    {
        m_process.setProcessChannelMode(QProcess::SeparateChannels);
        m_process.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        m_process.start(QCoreApplication::applicationDirPath() + "/crash_probe", {folder});
    }
    ~Probe()
    {
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished();
        }
    }
    // The rows as the window showed them once the list was back.
    std::optional<QList<TShownRow>> Shown()
    {
        while (!m_output.contains("shown\n") && m_process.waitForReadyRead(30000))
            m_output += m_process.readAllStandardOutput();
        if (!m_output.contains("shown\n"))
            return std::nullopt;
        QList<TShownRow> rows;
        for (const QByteArray& line : m_output.left(m_output.indexOf("shown\n")).split('\n')) {
            if (line.isEmpty() || line == "all done")
                continue;
            const QList<QByteArray> fields = line.split('\t');
            rows.append({fields[0].toInt(), QString::fromUtf8(fields.value(1)).replace("\\n", "\n")});
        }
        return rows;
    }
    // Nothing was left to convert: the program has ended by itself.
    bool AllDone()
    {
        if (!m_output.contains("all done\n"))
            return false;
        m_process.waitForFinished(30000);
        return true;
    }
    void Kill()
    {
        ::kill(pid_t(m_process.processId()), SIGKILL);
        m_process.waitForFinished(10000);
    }

private:
    QProcess m_process;
    QByteArray m_output;
};

QList<TBatchRow> Kept(const QString& folder)
{
    QFile file(folder + '/' + BatchListFileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return ReadBatchListJson(file.readAll()); // a damaged file throws: the test fails
}

} // namespace

class TestCrashRestore : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { ScriptedConverter::Install(); }

    void killedAtRandomMomentsLosesNothing()
    {
        ScriptedConverter converter;
        converter.Put("output", ScriptedConverter::PlayableOutput());
        converter.Put("partial", "unfinished");
        converter.Put("hold", "0.1");
        converter.Put("release");
        QTemporaryDir folder;
        QDir(folder.path()).mkpath("out");
        QDir(folder.path()).mkpath("src");
        QStringList sources;
        for (int number = 0; number < Rows; ++number)
            sources << MakeFile(folder.filePath("src"), QStringLiteral("%1.avi").arg(number, 2, 10, QChar('0')),
                                "not really a video");
        const quint32 seed = QRandomGenerator::global()->generate();
        qInfo("kill moments from seed %u", seed);
        QRandomGenerator random(seed);

        QList<TBatchRow> kept;         // the list as the last kill left it
        QSet<QString> completed;       // sources the list ever held completed
        int runsSeen = 0;
        int fullBatches = 0;
        for (int kill = 0; kill < Kills;) {
            Probe probe(folder.path());
            const std::optional<QList<TShownRow>> shown = probe.Shown();
            QVERIFY2(shown, "the program did not show its list");
            if (!kept.isEmpty()) {
                QCOMPARE(shown->size(), Rows);
                for (int row = 0; row < Rows; ++row)
                    checkRowAfterRestart(kept[row], shown->at(row), row);
            }
            if (probe.AllDone()) {
                // Every row converted, each once after it was last cut off:
                // the next round starts from scratch.
                for (const QString& source : sources)
                    QVERIFY(completed.contains(source));
                ++fullBatches;
                QVERIFY(QFile::remove(folder.filePath(BatchListFileName)));
                QVERIFY(QDir(folder.filePath("out")).removeRecursively() && QDir(folder.path()).mkpath("out"));
                kept.clear();
                completed.clear();
                continue;
            }
            QTest::qWait(int(random.bounded(LatestKillMs)));
            probe.Kill();
            ++kill;

            // The converters the program started went with it.
            const int runs = converter.Runs();
            for (int run = runsSeen + 1; run <= runs; ++run) {
                const qint64 pid = converter.Read(QStringLiteral("pid.%1").arg(run)).trimmed().toLongLong();
                QTRY_VERIFY2_WITH_TIMEOUT(ProcessEnded(pid), qPrintable(QStringLiteral("run %1 still runs").arg(run)),
                                          1000);
                // A row the list held completed is never converted again.
                const QString input = QString::fromUtf8(converter.Arguments(run).value(3));
                QVERIFY2(!completed.contains(input), qPrintable(input + " converted again"));
            }
            runsSeen = runs;

            kept = Kept(folder.path());
            if (kept.isEmpty())
                continue; // killed before the list was first written
            QCOMPARE(kept.size(), Rows);
            int converting = 0;
            for (int row = 0; row < Rows; ++row) {
                QCOMPARE(kept[row].source, sources[row]);
                converting += kept[row].state == TRowState::Converting ? 1 : 0;
                if (kept[row].state == TRowState::Completed)
                    completed.insert(kept[row].source);
            }
            QVERIFY(converting <= 1);
        }
        qInfo("%d kills, %d batches converted to the end, %d conversions", Kills, fullBatches, runsSeen);
    }

private:
    void checkRowAfterRestart(const TBatchRow& kept, const TShownRow& shown, int row)
    {
        const QString where = QStringLiteral("row %1").arg(row);
        switch (kept.state) {
        case TRowState::Completed:
            QVERIFY2(shown.mark == TImageList::Converted && shown.toolTip.isEmpty(), qPrintable(where));
            QVERIFY2(QFile::exists(kept.output), qPrintable(where));
            break;
        case TRowState::Converting:
            QVERIFY2(shown.mark == TImageList::ConversionFailed, qPrintable(where));
            QCOMPARE(shown.toolTip, QString("Interrupted: the program ended during this conversion."));
            QVERIFY2(kept.output.isEmpty() || !QFile::exists(kept.output), qPrintable(where + ": " + kept.output));
            break;
        case TRowState::Waiting:
            QVERIFY2(shown.mark == TImageList::Added, qPrintable(where));
            break;
        case TRowState::Failed:
            QVERIFY2(shown.mark == TImageList::ConversionFailed, qPrintable(where));
            break;
        case TRowState::Stopped:
            QVERIFY2(shown.mark == TImageList::Stopped, qPrintable(where));
            break;
        }
    }
};

QTEST_GUILESS_MAIN(TestCrashRestore)
#include "tst_crash_restore.moc"
