#include "batch/CommandLine.h"
#include "process/ShellWords.h"

#include <QtTest>

class TestCommandLine : public QObject {
    Q_OBJECT
private slots:
    void joinsThePiecesInOrder_data()
    {
        QTest::addColumn<QByteArray>("source");
        QTest::addColumn<QByteArray>("options");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("worked example")
            << QByteArray("/clips/trip.avi")
            << QByteArray("-vcodec mpeg4 -b 768k -s 320x240 -r 25 -aspect 4:3 -acodec aac -ab 128k -ac 2 -ar 48000")
            << QByteArray("/apps/conv/bin/ffmpeg -n -i /clips/trip.avi -vcodec mpeg4 "
                          "-b 768k -s 320x240 -r 25 -aspect 4:3 -acodec aac -ab 128k "
                          "-ac 2 -ar 48000 /apps/conv/FFOutput/trip.mp4");
        QTest::newRow("no options") << QByteArray("/clips/trip.avi") << QByteArray()
                                    << QByteArray("/apps/conv/bin/ffmpeg -n -i /clips/trip.avi /apps/conv/FFOutput/trip.mp4");
    }
    void joinsThePiecesInOrder()
    {
        QFETCH(QByteArray, source);
        QFETCH(QByteArray, options);
        QFETCH(QByteArray, expected);
        QCOMPARE(JoinCommandLine(ConverterPath("/apps/conv"), source, options, OutputPath("/apps/conv/FFOutput", "trip")),
                 expected);
    }

    void outputPath_data()
    {
        QTest::addColumn<QByteArray>("folder");
        QTest::addColumn<QByteArray>("baseName");
        QTest::addColumn<QByteArray>("expected");
        QTest::newRow("plain") << QByteArray("/out") << QByteArray("clip") << QByteArray("/out/clip.mp4");
        QTest::newRow("folder ending in a separator doubles it")
            << QByteArray("/media/usb/") << QByteArray("clip") << QByteArray("/media/usb//clip.mp4");
        QTest::newRow("root") << QByteArray("/") << QByteArray("clip") << QByteArray("//clip.mp4");
        QTest::newRow("no base name reported") << QByteArray("/out") << QByteArray() << QByteArray("/out/.mp4");
        QTest::newRow("base name with dots keeps them")
            << QByteArray("/out") << QByteArray("a.b.c") << QByteArray("/out/a.b.c.mp4");
    }
    void outputPath()
    {
        QFETCH(QByteArray, folder);
        QFETCH(QByteArray, baseName);
        QFETCH(QByteArray, expected);
        QCOMPARE(OutputPath(folder, baseName), expected);
    }

    // Whatever the three paths hold, the converter receives each as one
    // argument, byte for byte, and the fragments as the words they are.
    void pathsSurviveTheSplitIntoArguments_data()
    {
        QTest::addColumn<QString>("programFolder");
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("outputFolder");
        QTest::newRow("plain") << "/opt/movarin" << "/clips/trip.avi" << "/out";
        QTest::newRow("blanks") << "/opt/my programs/movarin" << "/my clips/a trip.avi" << "/my out";
        QTest::newRow("quotes") << "/opt/o'neil" << "/clips/\"best\" it's.avi" << "/out/'x'";
        QTest::newRow("shell characters") << "/opt/$HOME" << "/clips/`a`\\b;c&d|e*?.avi" << "/out/$(x)";
        QTest::newRow("non-ASCII") << "/opt/Программы" << "/clips/été 東京.avi" << "/média";
        QTest::newRow("leading dash") << "/opt/movarin" << "-i.avi" << "/out";
        QTest::newRow("tab and newline") << "/opt/movarin" << "/clips/a\tb\nc.avi" << "/out";
    }
    void pathsSurviveTheSplitIntoArguments()
    {
        QFETCH(QString, programFolder);
        QFETCH(QString, source);
        QFETCH(QString, outputFolder);
        const QByteArray output = OutputPath(outputFolder.toUtf8(), "trip");
        const QList<QByteArray> words = SplitShellWords(
            JoinCommandLine(ConverterPath(programFolder), source.toUtf8(), "-c:v mpeg4 -b:v 768k -vf 'scale=w=320:h=240'", output));
        const QList<QByteArray> expected{programFolder.toUtf8() + "/bin/ffmpeg",
                                         "-n",
                                         "-i",
                                         source.toUtf8(),
                                         "-c:v",
                                         "mpeg4",
                                         "-b:v",
                                         "768k",
                                         "-vf",
                                         "scale=w=320:h=240",
                                         output};
        QCOMPARE(words, expected);
    }
};

QTEST_APPLESS_MAIN(TestCommandLine)
#include "tst_commandline.moc"
