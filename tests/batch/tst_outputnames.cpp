#include "engine/OutputNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

} // namespace

class TestOutputNames : public QObject {
    Q_OBJECT
private slots:
    // Names are relative to a temporary folder; "@" stands for it.
    void picksAFreeName_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"} << QStringList{} << "@/out/clip.mp4";
        QTest::newRow("existing before the batch is replaced")
            << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"} << QStringList{"@/out/clip.mp4"} << "@/out/clip.mp4";
        QTest::newRow("own source") << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4"}
                                    << QStringList{"@/out/clip.mp4"} << "@/out/clip (2).mp4";
        QTest::newRow("earlier output of the batch")
            << "@/out/clip.mp4" << QStringList{"@/a/clip.avi", "@/b/clip.avi", "@/out/clip.mp4"}
            << QStringList{"@/out/clip.mp4"} << "@/out/clip (2).mp4";
        QTest::newRow("third of the same name")
            << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4", "@/out/clip (2).mp4"}
            << QStringList{"@/out/clip.mp4", "@/out/clip (2).mp4"} << "@/out/clip (3).mp4";
        QTest::newRow("free number skips a taken one even before it exists")
            << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4", "@/out/clip (2).mp4"} << QStringList{}
            << "@/out/clip (3).mp4";
        QTest::newRow("doubled separator is the same file")
            << "@/out//clip.mp4" << QStringList{"@/out/clip.mp4"} << QStringList{"@/out/clip.mp4"}
            << "@/out//clip (2).mp4";
        QTest::newRow("dot segments are the same file")
            << "@/out/./clip.mp4" << QStringList{"@/src/../out/clip.mp4"} << QStringList{} << "@/out/./clip (2).mp4";
        QTest::newRow("through a link to the folder")
            << "@/link/clip.mp4" << QStringList{"@/out/clip.mp4"} << QStringList{"@/out/clip.mp4"}
            << "@/link/clip (2).mp4";
        QTest::newRow("through a link, not written yet")
            << "@/link/clip.mp4" << QStringList{"@/out/clip.mp4"} << QStringList{} << "@/link/clip (2).mp4";
        QTest::newRow("other case is another file")
            << "@/out/Clip.mp4" << QStringList{"@/out/clip.mp4"} << QStringList{"@/out/clip.mp4"} << "@/out/Clip.mp4";
        QTest::newRow("no base name") << "@/out/.mp4" << QStringList{"@/out/.mp4"} << QStringList{}
                                      << "@/out/ (2).mp4";
    }
    void picksAFreeName()
    {
        QFETCH(QString, wanted);
        QFETCH(QStringList, taken);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        QTemporaryDir folder;
        QVERIFY(QDir(folder.path()).mkpath("out") && QDir(folder.path()).mkpath("src"));
        QVERIFY(QFile::link(folder.filePath("out"), folder.filePath("link")));
        for (const QString& file : existing)
            touch(QString(file).replace('@', folder.path()));
        taken.replaceInStrings("@", folder.path());
        QCOMPARE(FreeOutputPath(wanted.replace('@', folder.path()), taken),
                 expected.replace('@', folder.path()));
    }
};

QTEST_APPLESS_MAIN(TestOutputNames)
#include "tst_outputnames.moc"
