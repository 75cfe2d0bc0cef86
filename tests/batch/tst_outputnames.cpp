#include "batch/OutputNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

void touch(const QString& path)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
}

// A temporary folder with out/, src/ and link -> out; "@" in a name stands
// for it.
class Tree {
public:
    Tree()
    {
        QDir(m_folder.path()).mkpath("out");
        QDir(m_folder.path()).mkpath("src");
        QFile::link(m_folder.filePath("out"), m_folder.filePath("link"));
    }
    QString Path(QString name) const { return name.replace('@', m_folder.path()); }
    QStringList Paths(QStringList names) const { return names.replaceInStrings("@", m_folder.path()); }

private:
    QTemporaryDir m_folder;
};

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
        QTest::newRow("placeholders in a name stay as they are")
            << "@/out/%1 %2 %L1.mp4" << QStringList{"@/out/%1 %2 %L1.mp4"} << QStringList{"@/out/%1 %2 %L1.mp4"}
            << "@/out/%1 %2 %L1 (2).mp4";
        QTest::newRow("placeholders in the folder stay as they are")
            << "@/out/%1/clip.mp4" << QStringList{"@/out/%1/clip.mp4"} << QStringList{} << "@/out/%1/clip (2).mp4";
        QTest::newRow("placeholders without a clash") << "@/out/%2%1.mp4" << QStringList{"@/src/%2%1.avi"}
                                                      << QStringList{} << "@/out/%2%1.mp4";
    }
    void picksAFreeName()
    {
        QFETCH(QString, wanted);
        QFETCH(QStringList, taken);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        const Tree tree;
        for (const QString& file : existing)
            touch(tree.Path(file));
        QCOMPARE(FreeOutputPath(tree.Path(wanted), tree.Paths(taken)), tree.Path(expected));
    }

    // A hard link shares the taken file's data under a name of its own: the
    // converter writing to it would overwrite that file.
    void hardLinksOfTakenFilesAreTaken_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QStringList>("taken");
        QTest::addColumn<QStringList>("hardLinks"); // "file>link": file is created, link made to it
        QTest::addColumn<QString>("expected");
        QTest::newRow("of a source") << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"}
                                     << QStringList{"@/src/clip.avi>@/out/clip.mp4"} << "@/out/clip (2).mp4";
        QTest::newRow("of a source, also the numbered name")
            << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"}
            << QStringList{"@/src/clip.avi>@/out/clip.mp4", "@/src/clip.avi>@/out/clip (2).mp4"}
            << "@/out/clip (3).mp4";
        QTest::newRow("of an earlier output") << "@/out/clip.mp4" << QStringList{"@/src/a.avi", "@/out/a.mp4"}
                                              << QStringList{"@/out/a.mp4>@/out/clip.mp4"} << "@/out/clip (2).mp4";
        QTest::newRow("through a link to the folder")
            << "@/link/clip.mp4" << QStringList{"@/src/clip.avi"} << QStringList{"@/src/clip.avi>@/out/clip.mp4"}
            << "@/link/clip (2).mp4";
        QTest::newRow("of a file that is not taken is replaced")
            << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"} << QStringList{"@/src/other.avi>@/out/clip.mp4"}
            << "@/out/clip.mp4";
    }
    void hardLinksOfTakenFilesAreTaken()
    {
        QFETCH(QString, wanted);
        QFETCH(QStringList, taken);
        QFETCH(QStringList, hardLinks);
        QFETCH(QString, expected);
        const Tree tree;
        touch(tree.Path("@/src/clip.avi"));
        for (const QString& pair : hardLinks) {
            const QStringList ends = tree.Paths(pair.split('>'));
            if (!QFile::exists(ends[0]))
                touch(ends[0]);
            QCOMPARE(::link(QFile::encodeName(ends[0]).constData(), QFile::encodeName(ends[1]).constData()), 0);
        }
        QCOMPARE(FreeOutputPath(tree.Path(wanted), tree.Paths(taken)), tree.Path(expected));
    }

    void sourceBaseName_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("baseName");
        QTest::newRow("plain") << "/v/clip.wmv" << "clip";
        QTest::newRow("only the last extension goes") << "/v/a.b.c.avi" << "a.b.c";
        QTest::newRow("no extension") << "/v/clip" << "clip";
        QTest::newRow("ends in a dot") << "/v/clip." << "clip";
        QTest::newRow("a leading dot begins no extension") << "/v/.clip" << ".clip";
        QTest::newRow("leading dot and extension") << "/v/.clip.avi" << ".clip";
        QTest::newRow("dotted folder") << "/v.d/clip" << "clip";
        QTest::newRow("line feed") << "/v/line\nfeed.avi" << "line\nfeed";
        QTest::newRow("placeholders") << "/v/%1 %2 %L1.avi" << "%1 %2 %L1";
        QTest::newRow("backslash and blanks") << "/v/a\\b  c .avi" << "a\\b  c ";
        QTest::newRow("no folder") << "clip.avi" << "clip";
    }
    void sourceBaseName()
    {
        QFETCH(QString, source);
        QFETCH(QString, baseName);
        QCOMPARE(SourceBaseName(source), baseName);
    }
};

QTEST_APPLESS_MAIN(TestOutputNames)
#include "tst_outputnames.moc"
