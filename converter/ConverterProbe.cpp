#include "converter/ConverterProbe.h"

#include "converter/AbilitiesCache.h"

#include "process/JvWorkerThread.h"

#include <QMetaObject>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <optional>

// The way from a worker to its probe. Once the probe lets go of a run (a new
// start, or the probe's end) the channel closes: what the worker still says
// is dropped, and it stops before its next run of ffmpeg.
class TProbeChannel {
public:
    TProbeChannel(TConverterProbe* probe, quint64 run) : probe_(probe), run_(run) {}

    void Deliver(const TConverterAbilities& abilities)
    {
        Post([run = run_, abilities](TConverterProbe* probe) { probe->Receive(run, abilities); });
    }

    // The probe has ended; failure says why it ended early, empty when it
    // did not.
    void End(const QString& failure = {})
    {
        Post([run = run_, failure](TConverterProbe* probe) { probe->ReceiveEnd(run, failure); });
    }

    bool IsClosed() const { return closed_; }

    void Close()
    {
        const std::lock_guard guard(lock_);
        probe_ = nullptr;
        closed_ = true;
    }

    // Called by the worker as its last step.
    void WorkerEnded()
    {
        const std::lock_guard guard(lock_);
        workerEnded_ = true;
        workerEnd_.notify_all();
    }

    // Once closed, the worker starts no further run of ffmpeg, so it ends
    // when the runs in flight do: within their time limit.
    bool WaitForWorker(std::chrono::milliseconds limit)
    {
        std::unique_lock guard(lock_);
        return workerEnd_.wait_for(guard, limit, [this] { return workerEnded_; });
    }

private:
    // Under the lock, so that the probe cannot be destroyed between the
    // check and the posting; a call posted before its end is discarded with
    // the probe's other posted events.
    template <typename Call>
    void Post(Call call)
    {
        const std::lock_guard guard(lock_);
        if (probe_ != nullptr)
            QMetaObject::invokeMethod(probe_, [probe = probe_, call] { call(probe); }, Qt::QueuedConnection);
    }

    std::mutex lock_;
    std::condition_variable workerEnd_;
    bool workerEnded_ = false;
    TConverterProbe* probe_;
    const quint64 run_;
    std::atomic<bool> closed_{false};
};

namespace {

struct TProbePlan {
    QString ffmpeg;
    QStringList fragments;
    TProbeOptions options;
    QString file;
    std::optional<TRememberedAbilities> remembered; // of the build installed now
};

// Learns what the plan's remembered abilities lack, quickest parts first,
// telling the probe after each part and remembering it.
void RunProbe(const TProbePlan& plan, TProbeChannel& channel)
{
    try {
        TRememberedAbilities state;
        if (plan.remembered)
            state = *plan.remembered;
        else
            state.build = StampBuild(plan.ffmpeg, ProbeLibraries(plan.ffmpeg, plan.options));
        TConverterAbilities& abilities = state.abilities;
        if (!abilities.encoders)
            abilities.encoders = ProbeEncoders(plan.ffmpeg, plan.options);
        abilities.trials.insert(
            TryHardwareEntries(plan.ffmpeg, abilities.UntriedHardwareEntries(plan.fragments), plan.options));
        if (channel.IsClosed())
            return;
        channel.Deliver(abilities);
        SaveAbilities(plan.file, state);

        if (!abilities.sourceExtensions) {
            abilities.sourceExtensions = ProbeSourceExtensions(plan.ffmpeg, plan.options);
            if (channel.IsClosed())
                return;
            channel.Deliver(abilities);
            SaveAbilities(plan.file, state);
        }
        channel.End();
    } catch (const std::exception& error) {
        channel.End(QString::fromUtf8(error.what()));
    }
}

} // namespace

TConverterProbe::TConverterProbe(QObject* parent) : QObject(parent), file_(DefaultAbilitiesFile()) {}

// A worker left running would go on using the library while the program
// tears it down at its end: it is waited for, a run of ffmpeg's time limit
// at most (a fraction of a second as a rule).
TConverterProbe::~TConverterProbe()
{
    const std::shared_ptr<TProbeChannel> channel = channel_;
    AbandonRun();
    if (channel)
        channel->WaitForWorker(options_.perRun + std::chrono::seconds(1));
}

void TConverterProbe::SetAbilitiesFile(const QString& file)
{
    file_ = file;
}

void TConverterProbe::SetLimits(std::chrono::milliseconds perRun, int parallel)
{
    options_.perRun = perRun;
    options_.parallel = parallel;
}

namespace {
std::optional<TConverterAbilities> standInAnswer;
}

void TConverterProbe::AnswerWith(std::optional<TConverterAbilities> abilities) { standInAnswer = std::move(abilities); }

void TConverterProbe::Start(const QString& ffmpegPath, const QStringList& codecFragments)
{
    AbandonRun();
    if (standInAnswer) {
        abilities_ = *standInAnswer;
        return;
    }
    std::optional<TRememberedAbilities> remembered = LoadAbilities(file_);
    if (remembered && !IsInstalledBuild(remembered->build, ffmpegPath))
        remembered.reset();
    abilities_ = remembered ? remembered->abilities : TConverterAbilities();
    if (abilities_.encoders && abilities_.sourceExtensions && abilities_.UntriedHardwareEntries(codecFragments).isEmpty())
        return;

    auto channel = std::make_shared<TProbeChannel>(this, run_);
    TProbePlan plan{ffmpegPath, codecFragments, options_, file_, std::move(remembered)};
    plan.options.abandoned = [channel] { return channel->IsClosed(); };
    StartJvWorkerThread([plan = std::move(plan), channel] {
        RunProbe(plan, *channel);
        channel->WorkerEnded();
    });
    channel_ = std::move(channel);
    probing_ = true;
}

void TConverterProbe::Receive(quint64 run, const TConverterAbilities& abilities)
{
    if (run != run_)
        return;
    abilities_ = abilities;
    emit AbilitiesChanged(abilities_);
}

void TConverterProbe::ReceiveEnd(quint64 run, const QString& failure)
{
    if (run != run_)
        return;
    probing_ = false;
    if (!failure.isEmpty())
        emit ProbeFailed(failure);
}

void TConverterProbe::AbandonRun()
{
    if (channel_)
        channel_->Close();
    channel_.reset();
    ++run_;
    probing_ = false;
}
