#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <stdexcept>

// Small media files made on the spot with the real ffmpeg (found on PATH), so
// tests work on true clips without keeping binary fixtures in the tree.

class ClipError : public std::runtime_error {
public:
  using std::runtime_error::runtime_error;
};

struct ClipOptions {
  QString fileName = QStringLiteral("clip.mp4");  // may hold blanks, quotes, any letters
  bool video = true;
  bool audio = true;
  int seconds = 3;
  int width = 320;
  int height = 240;
  int frameRate = 25;
  int sampleRate = 44100;
  int channels = 1;
  QString videoCodec = QStringLiteral("libx264");
  QString audioCodec = QStringLiteral("aac");
  QStringList extraArguments;  // placed before the output file, e.g. {"-b:v", "2M"}
};

// Writes the clip into folder and returns its full path. Throws ClipError
// when ffmpeg is missing, fails or leaves no file.
QString MakeClip(const QString& folder, const ClipOptions& options = {});

// Writes a file with the given bytes (empty for a zero-byte file) and returns
// its full path: for files that only pretend to be media.
QString MakeFile(const QString& folder, const QString& fileName,
                 const QByteArray& contents = {});
