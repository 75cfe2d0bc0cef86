// What the end of a row means, decided on real files read back with the
// real media-information library.
#include "Clips.h"
#include "batch/RowOutcome.h"
#include "media/MediaInfoDll.h"

#include <QFile>
#include <QtTest>

using Kind = TRowOutcome::TKind;
Q_DECLARE_METATYPE(Kind)

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestRowOutcome : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QString clip;

private slots:
    void initTestCase()
    {
        QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
        ClipOptions options;
        options.seconds = 2;
        options.width = 160;
        options.height = 120;
        clip = MakeClip(folder.path(), options);
    }

    void decidesFromExitCodeAndOutput_data()
    {
        QTest::addColumn<bool>("stopped");
        QTest::addColumn<quint32>("exitCode");
        QTest::addColumn<QString>("output"); // how the output file is made
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<QString>("toolTip");
        const QString messages = "Error writing trailer of out.mp4: No space left on device\nConversion failed!\n";
        QTest::newRow("playable output, exit 0") << false << 0u << "clip" << Kind::Completed << "";
        QTest::newRow("cut-off output, exit 0")
            << false << 0u << "cut" << Kind::Failed
            << messages + "The output file cannot be read back: it has no playing time.\n"
                          "The converter ended with exit code 0.";
        QTest::newRow("empty output, exit 0") << false << 0u << "empty" << Kind::Failed
                                              << messages + "The output file is empty.\n"
                                                            "The converter ended with exit code 0.";
        QTest::newRow("no output, exit 0") << false << 0u << "none" << Kind::Failed
                                           << messages + "The converter wrote no output file.\n"
                                                         "The converter ended with exit code 0.";
        QTest::newRow("playable output, exit 1")
            << false << 1u << "clip" << Kind::Failed << messages + "The converter ended with exit code 1.";
        QTest::newRow("no output, exit 255")
            << false << 255u << "none" << Kind::Failed << messages + "The converter ended with exit code 255.";
        QTest::newRow("stopped, whatever the output") << true << 0u << "cut" << Kind::Stopped << "Stopped at 42%.";
    }
    void decidesFromExitCodeAndOutput()
    {
        QFETCH(bool, stopped);
        QFETCH(quint32, exitCode);
        QFETCH(QString, output);
        QFETCH(Kind, kind);
        QFETCH(QString, toolTip);
        QTemporaryDir out;
        const QString path = out.filePath("out.mp4");
        if (output == "clip")
            QVERIFY(QFile::copy(clip, path));
        else if (output == "cut")
            MakeFile(out.path(), "out.mp4", ReadAll(clip).left(2048));
        else if (output == "empty")
            MakeFile(out.path(), "out.mp4");
        TRowEnd end;
        end.stopped = stopped;
        end.exitCode = exitCode;
        end.outputPath = path;
        end.messages = QStringList{"Error writing trailer of out.mp4: No space left on device", "Conversion failed!"};
        end.percent = "42%";
        const TRowOutcome outcome = DecideRowOutcome(end);
        QCOMPARE(outcome.kind, kind);
        QCOMPARE(outcome.toolTip, toolTip);
        if (kind == Kind::Completed) {
            QVERIFY(outcome.outputPlayingTimeMs);
            QVERIFY2(qAbs(*outcome.outputPlayingTimeMs - 2000) < 100, qPrintable(QString::number(*outcome.outputPlayingTimeMs)));
        }
    }

    // Only what the converter itself wrote goes.
    void removesOnlyTheConvertersOwnUnfinishedOutput_data()
    {
        QTest::addColumn<bool>("existedBefore");
        QTest::addColumn<QString>("lastWords"); // "@" stands for the output path
        QTest::addColumn<bool>("kept");
        QTest::newRow("written by the converter") << false << "Conversion failed!" << false;
        QTest::newRow("there when the row started") << true << "Conversion failed!" << true;
        QTest::newRow("refused by the converter") << false << "File '@' already exists. Exiting." << true;
        QTest::newRow("another file refused") << false << "File '@.old' already exists. Exiting." << false;
    }
    void removesOnlyTheConvertersOwnUnfinishedOutput()
    {
        QFETCH(bool, existedBefore);
        QFETCH(QString, lastWords);
        QFETCH(bool, kept);
        QTemporaryDir out;
        TRowEnd end;
        end.outputPath = MakeFile(out.path(), "it's out.mp4", "half a file");
        end.outputExistedBefore = existedBefore;
        end.messages = QStringList{lastWords.replace('@', end.outputPath)};
        RemoveUnfinishedOutput(end);
        QCOMPARE(QFile::exists(end.outputPath), kept);
    }
};

QTEST_MAIN(TestRowOutcome)
#include "tst_rowoutcome.moc"
