#include "batch/OutputNames.h"

#include <QFile>
#include <QTemporaryDir>
#include <QtTest>

#include <unistd.h>

namespace {

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

    // "name" makes an empty file, "name/" a folder, "name>target" a
    // symbolic link and "name=target" a hard link.
    void Make(const QString& entry) const
    {
        for (const char kind : {'>', '='}) {
            if (!entry.contains(kind))
                continue;
            const QByteArray link = QFile::encodeName(Path(entry.section(kind, 0, 0)));
            const QByteArray target = QFile::encodeName(Path(entry.section(kind, 1)));
            const int made = kind == '>' ? ::symlink(target.constData(), link.constData())
                                         : ::link(target.constData(), link.constData());
            QCOMPARE(made, 0);
            return;
        }
        if (entry.endsWith('/')) {
            QVERIFY(QDir().mkpath(Path(entry)));
            return;
        }
        QFile file(Path(entry));
        QVERIFY(file.open(QIODevice::WriteOnly));
    }

private:
    QTemporaryDir m_folder;
};

} // namespace

class TestOutputNames : public QObject {
    Q_OBJECT
private slots:
    // Whatever is at a name keeps it: the user's files, the sources, what an
    // earlier row or batch wrote, and anything that only looks like a file.
    // Names are relative to a temporary folder; "@" stands for it.
    void picksAFreeName_data()
    {
        QTest::addColumn<QString>("wanted");
        QTest::addColumn<QStringList>("existing");
        QTest::addColumn<QString>("expected");
        QTest::newRow("free") << "@/out/clip.mp4" << QStringList{"@/src/clip.avi"} << "@/out/clip.mp4";
        QTest::newRow("a file already in the folder") << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4"}
                                                      << "@/out/clip (2).mp4";
        QTest::newRow("numbered names already there")
            << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4", "@/out/clip (2).mp4"} << "@/out/clip (3).mp4";
        QTest::newRow("the first free number, not the next one")
            << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4", "@/out/clip (3).mp4"} << "@/out/clip (2).mp4";
        QTest::newRow("a hard link of a source") << "@/out/clip.mp4"
                                                 << QStringList{"@/src/clip.avi", "@/out/clip.mp4=@/src/clip.avi"}
                                                 << "@/out/clip (2).mp4";
        QTest::newRow("a link that leads nowhere") << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4>@/src/gone"}
                                                   << "@/out/clip (2).mp4";
        QTest::newRow("a folder") << "@/out/clip.mp4" << QStringList{"@/out/clip.mp4/"} << "@/out/clip (2).mp4";
        QTest::newRow("through a link to the folder")
            << "@/link/clip.mp4" << QStringList{"@/out/clip.mp4"} << "@/link/clip (2).mp4";
        QTest::newRow("doubled separator") << "@/out//clip.mp4" << QStringList{"@/out/clip.mp4"}
                                           << "@/out//clip (2).mp4";
        QTest::newRow("other case is another file")
            << "@/out/Clip.mp4" << QStringList{"@/out/clip.mp4"} << "@/out/Clip.mp4";
        QTest::newRow("no base name") << "@/out/.mp4" << QStringList{"@/out/.mp4"} << "@/out/ (2).mp4";
        QTest::newRow("placeholders in a name stay as they are")
            << "@/out/%1 %2 %L1.mp4" << QStringList{"@/out/%1 %2 %L1.mp4"} << "@/out/%1 %2 %L1 (2).mp4";
        QTest::newRow("placeholders in the folder stay as they are")
            << "@/out/%1/clip.mp4" << QStringList{"@/out/%1/", "@/out/%1/clip.mp4"} << "@/out/%1/clip (2).mp4";
    }
    void picksAFreeName()
    {
        QFETCH(QString, wanted);
        QFETCH(QStringList, existing);
        QFETCH(QString, expected);
        const Tree tree;
        for (const QString& entry : existing)
            tree.Make(entry);
        QCOMPARE(FreeOutputPath(tree.Path(wanted)), tree.Path(expected));
    }

    // A name with a NUL in it reaches the file system cut at the NUL: every
    // numbered name then asks about the same folder, which is there. The
    // search ends with a failure that names the last name it tried.
    void searchEndsWhereEveryNameLooksTaken()
    {
        const Tree tree;
        const QString wanted = tree.Path("@/out") + QChar(0) + "y/clip.mp4";
        try {
            FreeOutputPath(wanted);
            QFAIL("a free name was found");
        } catch (const std::runtime_error& error) {
            const QString text = QString::fromUtf8(error.what());
            QVERIFY2(text.startsWith("No free name for the output: "), qPrintable(text));
            QVERIFY2(text.contains(QStringLiteral("clip (%1).mp4").arg(LastOutputNumber)), qPrintable(text));
        }
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
