#include "Clips.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>

namespace {
QStringList ClipArguments(const ClipOptions& options, const QString& path) {
  QStringList arguments{"-v", "error", "-nostdin", "-y"};
  if (options.video) {
    arguments << "-f" << "lavfi" << "-i"
              << QStringLiteral("testsrc=size=%1x%2:rate=%3")
                     .arg(options.width).arg(options.height).arg(options.frameRate);
  }
  if (options.audio) {
    arguments << "-f" << "lavfi" << "-i"
              << QStringLiteral("sine=frequency=440:sample_rate=%1").arg(options.sampleRate);
  }
  arguments << "-t" << QString::number(options.seconds);
  if (options.video)
    arguments << "-c:v" << options.videoCodec << "-pix_fmt" << "yuv420p";
  if (options.audio)
    arguments << "-c:a" << options.audioCodec << "-ac" << QString::number(options.channels);
  arguments << options.extraArguments << path;
  return arguments;
}
}  // namespace

QString MakeClip(const QString& folder, const ClipOptions& options) {
  if (!options.video && !options.audio)
    throw ClipError("a clip needs video, audio or both");
  const QString path = QDir(folder).filePath(options.fileName);
  QProcess ffmpeg;
  ffmpeg.setProcessChannelMode(QProcess::MergedChannels);
  ffmpeg.start(QStringLiteral("ffmpeg"), ClipArguments(options, path));
  if (!ffmpeg.waitForStarted())
    throw ClipError("ffmpeg could not be started: " + ffmpeg.errorString().toStdString());
  if (!ffmpeg.waitForFinished(120000)) {
    ffmpeg.kill();
    ffmpeg.waitForFinished();
    throw ClipError("ffmpeg did not finish making " + path.toStdString());
  }
  const QByteArray output = ffmpeg.readAll();
  if (ffmpeg.exitStatus() != QProcess::NormalExit || ffmpeg.exitCode() != 0 ||
      QFileInfo(path).size() == 0) {
    throw ClipError("ffmpeg failed to make " + path.toStdString() + ": " +
                    output.toStdString());
  }
  return path;
}

QString MakeFile(const QString& folder, const QString& fileName,
                 const QByteArray& contents) {
  const QString path = QDir(folder).filePath(fileName);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
      file.write(contents) != contents.size()) {
    throw ClipError("cannot write " + path.toStdString());
  }
  return path;
}
