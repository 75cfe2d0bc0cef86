// Without a usable library every query comes back empty and no handle is
// made. A program of its own, because a library once loaded stays loaded.

#include "media/MediaInfoDll.h"
#include "RecordedCalls.h"

#include <QtTest>

class MediaInfoAbsentTest : public QObject {
  Q_OBJECT

private slots:
  // In this order: the incomplete library, once loaded, stays.
  void absentLibraryFailsOnEveryAttempt();
  void libraryWithoutGetCountsAsAbsent();
};

void MediaInfoAbsentTest::absentLibraryFailsOnEveryAttempt() {
  SetMediaInfoLibraryName("libmovarin-no-such-mediainfo.so.0");
  QCOMPARE(QByteArray(MediaInfoLibraryName), "libmovarin-no-such-mediainfo.so.0");
  QVERIFY(!LoadMediaInfo(MediaInfoLibraryName));
  QVERIFY(!LoadMediaInfo(MediaInfoLibraryName));

  MediaInfoQuery query("/videos/clip.avi");
  QCOMPARE(query.Get(MediaInfoStream::General, "FileName"), QByteArray());
}

void MediaInfoAbsentTest::libraryWithoutGetCountsAsAbsent() {
  SetMediaInfoLibraryName(MEDIAINFO_WITHOUT_GET);
  QVERIFY(!LoadMediaInfo(MediaInfoLibraryName));
  const RecordedCalls recorded(MEDIAINFO_WITHOUT_GET);
  QVERIFY2(recorded.LibraryLoaded(), "the load was not tried again after failing");
  QVERIFY(!LoadMediaInfo(MediaInfoLibraryName));

  {
    MediaInfoQuery query("/videos/clip.avi");
    QCOMPARE(query.Get(MediaInfoStream::Video, "Width"), QByteArray());
  }
  // No handle was made that could not be used.
  QCOMPARE(recorded.Calls(), QList<QByteArray>());
  QCOMPARE(recorded.LiveHandles(), 0);
}

QTEST_GUILESS_MAIN(MediaInfoAbsentTest)
#include "tst_mediainfo_absent.moc"
