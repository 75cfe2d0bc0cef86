#pragma once

#include "converter/ConverterAbilities.h"
#include "converter/ProbeSteps.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <memory>

class TProbeChannel;

// Learns what the installed ffmpeg can do without holding up the interface.
// It lives on the interface thread and is used there only; ffmpeg runs on a
// worker thread, and what it answers is remembered per ffmpeg build (see
// AbilitiesCache.h), so that a start with an unchanged build runs no program
// at all.
class TConverterProbe : public QObject {
    Q_OBJECT

public:
    explicit TConverterProbe(QObject* parent = nullptr);
    // A probe still running stops once its current runs of ffmpeg have
    // ended, and is waited for; the part it was learning is not remembered.
    ~TConverterProbe() override;

    // Where the abilities are remembered; DefaultAbilitiesFile() unless set.
    void SetAbilitiesFile(const QString& file);
    // The longest one run of ffmpeg may take, and how many run at once
    // (see TProbeOptions).
    void SetLimits(std::chrono::milliseconds perRun, int parallel);

    // Learns what the ffmpeg at ffmpegPath (a path, never looked up on PATH)
    // can do for a catalogue whose codec selectors hold these fragments. When the remembered abilities belong
    // to the build installed now they are Abilities() on return, read from
    // the file without starting any program. Whatever they lack (everything
    // for a build not seen before; hardware entries not yet tried; the
    // source extensions) is learnt on a worker thread, and AbilitiesChanged
    // follows each time more is known: once the encoders and the hardware
    // trials are known (a second or so, the trials' time limit at most),
    // once more when the source extensions are (tens of seconds). Until then
    // Abilities() has the parts still unknown, with their stand-ins.
    //
    // A new Start drops the answers of a probe still running. Throws
    // EJvProcessError when no worker thread can be made.
    void Start(const QString& ffmpegPath, const QStringList& codecFragments);

    const TConverterAbilities& Abilities() const { return abilities_; }

    // Lets tests answer for ffmpeg: while set, Start runs nothing and the
    // abilities are exactly these. Tests whose bin/ffmpeg is a scripted
    // stand-in keep it free of the probe's calls this way.
    static void AnswerWith(std::optional<TConverterAbilities> abilities);

    // From a Start that left something to learn until all of it is learnt
    // and remembered, or ProbeFailed.
    bool IsProbing() const { return probing_; }

signals:
    // More is known; more may follow while IsProbing().
    void AbilitiesChanged(const TConverterAbilities& abilities);
    // ffmpeg did not answer what it must, or the answer could not be
    // remembered; message says why, with the system's words. What was
    // learnt before stays in Abilities(), and the next start tries again.
    void ProbeFailed(const QString& message);

private:
    friend class TProbeChannel;
    void Receive(quint64 run, const TConverterAbilities& abilities);
    void ReceiveEnd(quint64 run, const QString& failure);
    void AbandonRun();

    QString file_;
    TProbeOptions options_;
    TConverterAbilities abilities_;
    bool probing_ = false;
    quint64 run_ = 0;
    std::shared_ptr<TProbeChannel> channel_;
};
