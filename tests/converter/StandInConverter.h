#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// A scripted ffmpeg in a folder of its own. It writes every command line it
// is given to calls.log and answers from files beside it:
//   -encoders          encoders.txt (and exits with encoders-exit, if there)
//   -demuxers          demuxers.txt
//   -h demuxer=NAME    demuxer-NAME.txt, after as many seconds as a file
//                      named slow says, if there is one
//   a trial encode     fails for h264_vaapi; for h264_nvenc starts a
//                      sleeping child, notes its number in hung.pid and waits
//                      for it; works for anything else.
class TStandInConverter {
public:
    explicit TStandInConverter(const QString& folder);

    QString Program() const { return program_; }
    void Write(const QString& name, const QByteArray& contents) const;
    // One line per run, the arguments joined by blanks.
    QStringList Calls() const;
    // The script once more with one more line: a program of another size.
    void Rebuild() const;

private:
    QString folder_;
    QString program_;
};

// The listings the stand-in gives unless a test writes others.
extern const QByteArray StandInEncoders;
extern const QByteArray StandInDemuxers;

// Gone, or ended and waiting to be reaped by whoever took it over.
bool IsGoneOrZombie(qint64 pid);
