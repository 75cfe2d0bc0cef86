// The binding against the real media-information library, on clips made
// with ffmpeg for the run.

#include "media/MediaInfoDll.h"
#include "Clips.h"

#include <QtTest>

namespace {
using MediaInfoStream::Audio;
using MediaInfoStream::General;
using MediaInfoStream::Video;

const QString OddName = QStringLiteral("it's \"quoted\" \u00dcn\u00efc\u00f6d\u00e9 \u0436\u0443\u043a clip.mp4");

QString Exactly(const QString& text) {
  return QRegularExpression::anchoredPattern(QRegularExpression::escape(text));
}
QString Matching(const QString& pattern) {
  return QRegularExpression::anchoredPattern(pattern);
}

// Every parameter the program asks for, by stream kind.
const QList<QPair<int, const char*>> ParametersInUse{
    {General, "FileName"},        {General, "FileExtension"},
    {General, "FileSize/String4"}, {General, "Duration/String3"},
    {Video, "Codec/String"},      {Video, "BitRate/String"},
    {Video, "Width"},             {Video, "Height"},
    {Video, "FrameRate/String"},  {Video, "DisplayAspectRatio/String"},
    {Audio, "Codec/String"},      {Audio, "BitRate/String"},
    {Audio, "Channel(s)/String"}, {Audio, "SamplingRate/String"},
};
}  // namespace

class MediaInfoTest : public QObject {
  Q_OBJECT

private slots:
  void initTestCase();
  void loadsOnceAndSucceedsEachTime();
  void reportsProperties_data();
  void reportsProperties();
  void reportsTheFileSizeWithItsUnit_data();
  void reportsTheFileSizeWithItsUnit();
  void everyValueIsEmptyWhenTheFileCannotBeOpened_data();
  void everyValueIsEmptyWhenTheFileCannotBeOpened();

private:
  QByteArray Value(const QString& fixture, int streamKind, const char* parameter);

  QTemporaryDir folder_;
  QHash<QString, QString> fixtures_;
};

void MediaInfoTest::initTestCase() {
  QVERIFY(folder_.isValid());
  const QString folder = folder_.path();
  try {
    ClipOptions videoAndAudio;
    videoAndAudio.fileName = "av.mp4";
    fixtures_["video and audio"] = MakeClip(folder, videoAndAudio);

    ClipOptions videoOnly;
    videoOnly.fileName = "video-only.mp4";
    videoOnly.audio = false;
    videoOnly.seconds = 2;
    fixtures_["video only"] = MakeClip(folder, videoOnly);

    ClipOptions audioOnly;
    audioOnly.fileName = "audio-only.m4a";
    audioOnly.video = false;
    audioOnly.seconds = 2;
    audioOnly.sampleRate = 48000;
    audioOnly.channels = 2;
    fixtures_["audio only"] = MakeClip(folder, audioOnly);

    ClipOptions oddName;
    oddName.fileName = OddName;
    oddName.seconds = 1;
    fixtures_["odd name"] = MakeClip(folder, oddName);

    fixtures_["zero bytes"] = MakeFile(folder, "zero.avi");
    fixtures_["text"] = MakeFile(folder, "notes.avi", "this is not a video\n");
    fixtures_["3 MiB of zeros"] =
        MakeFile(folder, "zeros.avi", QByteArray(3 * 1024 * 1024, '\0'));
  } catch (const ClipError& error) {
    QFAIL(error.what());
  }
  fixtures_["missing"] = QDir(folder).filePath("missing.avi");
  QVERIFY(QDir(folder).mkdir("folder.avi"));
  fixtures_["folder"] = QDir(folder).filePath("folder.avi");

  QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
}

QByteArray MediaInfoTest::Value(const QString& fixture, int streamKind,
                                const char* parameter) {
  MediaInfoQuery query(fixtures_.value(fixture).toUtf8());
  return query.Get(streamKind, parameter);
}

void MediaInfoTest::loadsOnceAndSucceedsEachTime() {
  QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
  QVERIFY(LoadMediaInfo(MediaInfoLibraryName));
  // The library loaded first is kept: a later name is not even tried.
  QVERIFY(LoadMediaInfo("libmovarin-no-such-mediainfo.so.0"));
  QCOMPARE(Value("video and audio", General, "FileExtension"), "mp4");
}

void MediaInfoTest::reportsProperties_data() {
  QTest::addColumn<QString>("fixture");
  QTest::addColumn<int>("streamKind");
  QTest::addColumn<QByteArray>("parameter");
  QTest::addColumn<QString>("expected");  // a pattern for the whole value

  const auto row = [](const QString& fixture, int streamKind, const char* parameter,
                      const QString& expected) {
    QTest::addRow("%s: %d %s", qPrintable(fixture), streamKind, parameter)
        << fixture << streamKind << QByteArray(parameter) << expected;
  };
  const QString bitRate = Matching(R"(\d+(\.\d+)? kb/s)");

  row("video and audio", General, "FileName", Exactly("av"));
  row("video and audio", General, "FileExtension", Exactly("mp4"));
  row("video and audio", General, "Duration/String3", Matching(R"(00:00:03\.\d{3})"));
  row("video and audio", Video, "Format", Exactly("AVC"));
  // This generation of the library leaves the old codec parameter empty.
  row("video and audio", Video, "Codec/String", Exactly(""));
  row("video and audio", Video, "Width", Exactly("320"));
  row("video and audio", Video, "Height", Exactly("240"));
  row("video and audio", Video, "FrameRate/String", Exactly("25.000 FPS"));
  row("video and audio", Video, "DisplayAspectRatio/String", Exactly("4:3"));
  row("video and audio", Video, "BitRate/String", bitRate);
  row("video and audio", Audio, "Format", Exactly("AAC"));
  row("video and audio", Audio, "Codec/String", Exactly(""));
  row("video and audio", Audio, "Channel(s)/String", Exactly("1 channel"));
  row("video and audio", Audio, "SamplingRate/String", Exactly("44.1 kHz"));
  row("video and audio", Audio, "BitRate/String", bitRate);

  row("video only", Video, "Width", Exactly("320"));
  row("video only", Audio, "Format", Exactly(""));
  row("video only", Audio, "Channel(s)/String", Exactly(""));
  row("video only", Audio, "SamplingRate/String", Exactly(""));

  row("audio only", General, "Duration/String3", Matching(R"(00:00:02\.\d{3})"));
  row("audio only", Video, "Width", Exactly(""));
  row("audio only", Video, "Height", Exactly(""));
  row("audio only", Video, "FrameRate/String", Exactly(""));
  row("audio only", Audio, "Channel(s)/String", Exactly("2 channels"));
  row("audio only", Audio, "SamplingRate/String", Exactly("48.0 kHz"));

  // The name travels to the library and back byte for byte.
  row("odd name", General, "FileName", Exactly(QFileInfo(OddName).completeBaseName()));
  row("odd name", General, "FileExtension", Exactly("mp4"));
  row("odd name", Video, "Width", Exactly("320"));

  // Files that only pretend to be media: the library still names them, but
  // finds no playing time and no streams.
  for (const QString fixture : {"zero bytes", "text"}) {
    row(fixture, General, "FileExtension", Exactly("avi"));
    row(fixture, General, "Duration/String3", Exactly(""));
    row(fixture, Video, "Width", Exactly(""));
    row(fixture, Audio, "Channel(s)/String", Exactly(""));
  }
  row("zero bytes", General, "FileName", Exactly("zero"));
  row("text", General, "FileName", Exactly("notes"));
}

void MediaInfoTest::reportsProperties() {
  QFETCH(QString, fixture);
  QFETCH(int, streamKind);
  QFETCH(QByteArray, parameter);
  QFETCH(QString, expected);

  const QString value = QString::fromUtf8(Value(fixture, streamKind, parameter.constData()));
  QVERIFY2(QRegularExpression(expected).match(value).hasMatch(),
           qPrintable(QStringLiteral("got \"%1\", wanted %2").arg(value, expected)));
}

void MediaInfoTest::reportsTheFileSizeWithItsUnit_data() {
  QTest::addColumn<QString>("fixture");
  QTest::addColumn<QString>("unit");
  QTest::addColumn<double>("bytesPerUnit");

  QTest::newRow("empty file") << "zero bytes" << "Byte" << 1.0;
  QTest::newRow("a few bytes") << "text" << "Bytes" << 1.0;
  QTest::newRow("small clip") << "video and audio" << "KiB" << 1024.0;
  QTest::newRow("megabytes") << "3 MiB of zeros" << "MiB" << 1024.0 * 1024.0;
}

void MediaInfoTest::reportsTheFileSizeWithItsUnit() {
  QFETCH(QString, fixture);
  QFETCH(QString, unit);
  QFETCH(double, bytesPerUnit);

  const QString size = QString::fromUtf8(Value(fixture, General, "FileSize/String4"));
  const QRegularExpressionMatch shape =
      QRegularExpression(Matching(R"(([0-9]+\.[0-9]+) (\S+))")).match(size);
  QVERIFY2(shape.hasMatch(), qPrintable(size));
  QCOMPARE(shape.captured(2), unit);
  // Four significant digits: within one part in a thousand of the true size.
  const double reported = shape.captured(1).toDouble() * bytesPerUnit;
  const double actual = QFileInfo(fixtures_.value(fixture)).size();
  QVERIFY2(qAbs(reported - actual) <= actual / 1000.0, qPrintable(size));
}

void MediaInfoTest::everyValueIsEmptyWhenTheFileCannotBeOpened_data() {
  QTest::addColumn<QString>("fixture");
  QTest::newRow("missing file") << "missing";
  QTest::newRow("folder") << "folder";
}

void MediaInfoTest::everyValueIsEmptyWhenTheFileCannotBeOpened() {
  QFETCH(QString, fixture);
  MediaInfoQuery query(fixtures_.value(fixture).toUtf8());
  for (const auto& [streamKind, parameter] : ParametersInUse)
    QVERIFY2(query.Get(streamKind, parameter).isEmpty(), parameter);
}

QTEST_GUILESS_MAIN(MediaInfoTest)
#include "tst_mediainfo.moc"
