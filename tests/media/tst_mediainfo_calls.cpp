// The query sequence against a stand-in library that records every call.

#include "media/MediaInfoDll.h"
#include "RecordedCalls.h"

#include <QtTest>

#include <stdexcept>

namespace {
const QByteArray AbsentLibrary = "libmovarin-no-such-mediainfo.so.0";

// Opened only once the code under test has loaded the stand-in.
RecordedCalls Recorded() { return RecordedCalls(RECORDING_MEDIAINFO); }
}  // namespace

class MediaInfoCallsTest : public QObject {
  Q_OBJECT

private slots:
  // Runs first: later tests rely on the stand-in being bound.
  void retriesUntilLoadedThenKeepsTheLibrary();
  void followsTheQuerySequence_data();
  void followsTheQuerySequence();
  void releasesTheHandleWhenTheCallerThrows();
  void eachQueryHasAHandleOfItsOwn();
  void keepsAValueAfterTheNextGetOnTheHandle();
};

void MediaInfoCallsTest::retriesUntilLoadedThenKeepsTheLibrary() {
  QVERIFY(!LoadMediaInfo(AbsentLibrary));
  QVERIFY(!LoadMediaInfo(AbsentLibrary));

  SetMediaInfoLibraryName(RECORDING_MEDIAINFO);
  QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
  QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
  // Once loaded the library is kept, whatever name a later call brings.
  QVERIFY(LoadMediaInfo(AbsentLibrary));

  const auto recorded = Recorded();
  QVERIFY(recorded.LibraryLoaded());
  recorded.Forget();
  MediaInfoQuery query("clip.avi");
  QCOMPARE(query.Get(MediaInfoStream::General, "FileName"), "value of FileName");
}

void MediaInfoCallsTest::followsTheQuerySequence_data() {
  QTest::addColumn<QByteArray>("path");
  QTest::addColumn<int>("streamKind");
  QTest::addColumn<QByteArray>("parameter");
  QTest::addColumn<QByteArray>("value");

  QTest::newRow("video of a readable file")
      << QByteArray("/videos/holiday clip.avi") << MediaInfoStream::Video
      << QByteArray("Width") << QByteArray("value of Width");
  QTest::newRow("audio of a readable file")
      << QByteArray("/videos/holiday clip.avi") << MediaInfoStream::Audio
      << QByteArray("Channel(s)/String") << QByteArray("value of Channel(s)/String");
  QTest::newRow("file the library cannot open")
      << QByteArray("/videos/unreadable.avi") << MediaInfoStream::General
      << QByteArray("FileName") << QByteArray();
  QTest::newRow("UTF-8 path with quotes")
      << QByteArray("/videos/it's \"\xc3\xa9t\xc3\xa9\" \xd0\xb6.mp4")
      << MediaInfoStream::General << QByteArray("Duration/String3")
      << QByteArray("value of Duration/String3");
}

void MediaInfoCallsTest::followsTheQuerySequence() {
  const auto recorded = Recorded();
  QFETCH(QByteArray, path);
  QFETCH(int, streamKind);
  QFETCH(QByteArray, parameter);
  QFETCH(QByteArray, value);
  recorded.Forget();

  {
    MediaInfoQuery query(path);
    QCOMPARE(query.Get(streamKind, parameter.constData()), value);
  }

  const QList<QByteArray> expected{
      "New 1",
      "Open 1 " + path,
      "Get 1 " + QByteArray::number(streamKind) + " 0 " + parameter + " 1 0",
      "Close 1",
      "Delete 1",
  };
  QCOMPARE(recorded.Calls(), expected);
  QCOMPARE(recorded.LiveHandles(), 0);
}

void MediaInfoCallsTest::releasesTheHandleWhenTheCallerThrows() {
  const auto recorded = Recorded();
  recorded.Forget();
  try {
    MediaInfoQuery query("/videos/clip.avi");
    query.Get(MediaInfoStream::General, "FileSize/String4");
    throw std::runtime_error("the caller gave up half way");
  } catch (const std::runtime_error&) {
  }
  const QList<QByteArray> calls = recorded.Calls();
  QCOMPARE(calls.size(), 5);
  QCOMPARE(calls.mid(3), (QList<QByteArray>{"Close 1", "Delete 1"}));
  QCOMPARE(recorded.LiveHandles(), 0);
}

void MediaInfoCallsTest::eachQueryHasAHandleOfItsOwn() {
  const auto recorded = Recorded();
  recorded.Forget();
  {
    MediaInfoQuery first("/videos/a.avi");
    MediaInfoQuery second("/videos/b.avi");
    QCOMPARE(recorded.LiveHandles(), 2);
    QCOMPARE(second.Get(MediaInfoStream::General, "FileName"), "value of FileName");
  }
  const QList<QByteArray> expected{
      "New 1",   "Open 1 /videos/a.avi",        "New 2",    "Open 2 /videos/b.avi",
      "Get 2 0 0 FileName 1 0", "Close 2", "Delete 2", "Close 1", "Delete 1",
  };
  QCOMPARE(recorded.Calls(), expected);

  for (int round = 0; round < 100; ++round) {
    MediaInfoQuery query(round % 2 ? "/videos/unreadable.avi" : "/videos/a.avi");
    query.Get(MediaInfoStream::General, "FileName");
  }
  QCOMPARE(recorded.LiveHandles(), 0);
}

void MediaInfoCallsTest::keepsAValueAfterTheNextGetOnTheHandle() {
  MediaInfoQuery query("/videos/a.avi");
  const QByteArray name = query.Get(MediaInfoStream::General, "FileName");
  const QByteArray extension = query.Get(MediaInfoStream::General, "FileExtension");
  QCOMPARE(name, "value of FileName");
  QCOMPARE(extension, "value of FileExtension");
}

QTEST_GUILESS_MAIN(MediaInfoCallsTest)
#include "tst_mediainfo_calls.moc"
