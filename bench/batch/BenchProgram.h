#pragma once
// The real program started in-process for a benchmark, on a fresh copy of
// the default database, with the given converter as bin/ffmpeg beside the
// benchmark.

#include "tests/support/RecordingDesktop.h"

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

class TFFmpegFrm;
struct TProgram;

class BenchProgram {
public:
    // A scripted converter answers the batch only, so the program is told
    // what it can do; the machine's real ffmpeg is asked, as at a user's start.
    enum class TAbilities { Unknown, Probed };

    // keptList, when given, is the list file the program finds at its start,
    // as after an earlier run.
    explicit BenchProgram(const QString& converter, TAbilities abilities = TAbilities::Unknown,
                          const QByteArray& keptList = {});
    ~BenchProgram();

    TFFmpegFrm* Window() const;
    QString Folder() const { return m_folder.path(); }
    void AddRow(const QString& path, const QString& playingTime);
    // Presses Convert and returns when the batch has ended. Every line the
    // runner reports goes to onLine after the window has handled it; each
    // converter's command line goes to onEnd as soon as it has ended, before
    // the window hears of it.
    void RunBatch(const std::function<void(const QByteArray& line)>& onLine = {},
                  const std::function<void(const QByteArray& commandLine)>& onEnd = {});
    // The command line of every converter the last batch ran.
    QList<QByteArray> CommandLines;

private:
    // The machine's own login manager and notification service stay out of
    // the measurement.
    RecordingSleepInhibitor m_sleepLock;
    RecordingNotifier m_notifier;
    QTemporaryDir m_folder;
    std::unique_ptr<TProgram> m_program;
};

double Median(QList<double> values);
double Percentile(QList<double> values, double fraction);
