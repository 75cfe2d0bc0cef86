#include "batch/SourceReader.h"

#include <QTemporaryDir>
#include <QtTest>

#include <spawn.h>
#include <sys/wait.h>

extern char** environ;

namespace {

// One second of test picture and tone. Started with a plain spawn: the
// thread checker this test also runs under cannot follow the way QProcess
// starts its children.
bool MakeClip(const QString& path, QSize size)
{
    const QByteArray picture = QStringLiteral("testsrc=size=%1x%2:rate=25").arg(size.width()).arg(size.height()).toUtf8();
    const QByteArray output = path.toUtf8();
    const char* arguments[] = {"ffmpeg", "-v", "error", "-y", "-f", "lavfi", "-i", picture.constData(), "-f", "lavfi",
                               "-i", "sine", "-t", "1", "-c:v", "libx264", "-c:a", "aac", output.constData(), nullptr};
    pid_t child = 0;
    if (posix_spawnp(&child, "ffmpeg", nullptr, nullptr, const_cast<char**>(arguments), environ) != 0)
        return false;
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

class TestSourceReader : public QObject {
    Q_OBJECT

    QTemporaryDir folder;
    QStringList clips;
    const QList<QSize> sizes{{160, 120}, {320, 180}, {96, 96}};

private slots:
    void initTestCase()
    {
        for (int index = 0; index < sizes.size(); ++index) {
            clips << folder.filePath(QStringLiteral("clip%1.mkv").arg(index));
            QVERIFY(MakeClip(clips.last(), sizes[index]));
        }
    }

    // Readings end on the asking thread, in the order asked, each with what
    // a reading on the spot finds, while that thread reads files too.
    void readingsEndInOrderWithWhatTheFilesHold()
    {
        TSourceReader reader;
        QList<int> order;
        QList<TSourceReading> readings;
        QList<QThread*> threads;
        for (int index = 0; index < clips.size(); ++index)
            reader.Read(clips[index], [&, index](const TSourceReading& reading) {
                order << index;
                readings << reading;
                threads << QThread::currentThread();
            });
        QList<TSourceReading> onTheSpot;
        for (const QString& clip : clips)
            onTheSpot << ReadSource(clip);
        QTRY_COMPARE(order.size(), clips.size());
        QCOMPARE(order, (QList<int>{0, 1, 2}));
        QCOMPARE(threads, QList<QThread*>(clips.size(), thread()));
        for (int index = 0; index < clips.size(); ++index) {
            QVERIFY(readings[index].panel);
            QVERIFY(readings[index].panel == onTheSpot[index].panel);
            QCOMPARE(readings[index].panel->at(1), QFileInfo(clips[index]).fileName());
            QVERIFY(readings[index].facts.picture);
            QCOMPARE(QSize(readings[index].facts.picture->width, readings[index].facts.picture->height), sizes[index]);
            QCOMPARE(readings[index].facts.sound.size(), 1);
        }
    }

    // Gone with readings still to come: it waits for the file being read,
    // and none of them ends afterwards.
    void destroyedWhileReading()
    {
        int ended = 0;
        {
            TSourceReader reader;
            for (int round = 0; round < 20; ++round)
                reader.Read(clips[round % clips.size()], [&](const TSourceReading&) { ++ended; });
        }
        QTest::qWait(100);
        QCOMPARE(ended, 0);
    }
};

QTEST_GUILESS_MAIN(TestSourceReader)
#include "tst_sourcereader.moc"
