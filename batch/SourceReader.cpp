#include "batch/SourceReader.h"

#include "media/MediaInfoDll.h"

#include <condition_variable>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

TSourceReading ReadSource(const QString& path)
{
    // One opening serves both: opening costs the library milliseconds even
    // for an empty file.
    return ReadWithMediaInfo(path.toUtf8(), [](MediaInfoQuery& query) {
               return TSourceReading{
                   MakeInfoPanelValues([&query](int kind, const char* parameter) { return query.Get(kind, parameter); }),
                   ReadSourceFacts(query)};
           })
        .value_or(TSourceReading());
}

// The reading thread. Paths come in and readings go out through queues
// under one lock; the readings' callbacks never leave the reader's thread.
struct TSourceReader::TWorker {
    struct TJob {
        QString path;
        bool libraryLoaded;
    };

    explicit TWorker(TSourceReader* reader) : reader(reader) { thread = std::thread([this] { Run(); }); }
    ~TWorker()
    {
        {
            const std::lock_guard guard(lock);
            stop = true;
        }
        wake.notify_one();
        thread.join();
    }

    void Run()
    {
        for (;;) {
            TJob job;
            {
                std::unique_lock guard(lock);
                wake.wait(guard, [this] { return stop || !jobs.empty(); });
                if (stop)
                    return;
                job = std::move(jobs.front());
                jobs.pop_front();
            }
            TSourceReading reading = job.libraryLoaded ? ReadSource(job.path) : TSourceReading();
            const std::lock_guard guard(lock);
            readings.push_back(std::move(reading));
            // Posted under the lock that Deliver takes, so that everything
            // written here is seen there in order.
            QMetaObject::invokeMethod(reader, [reader = reader] { reader->Deliver(); }, Qt::QueuedConnection);
        }
    }

    TSourceReader* const reader;
    std::mutex lock;
    std::condition_variable wake;
    std::deque<TJob> jobs;
    std::deque<TSourceReading> readings;
    bool stop = false;
    std::thread thread;
};

TSourceReader::TSourceReader(QObject* parent) : QObject(parent), m_worker(std::make_unique<TWorker>(this)) {}

// The file being read is finished first; the deliveries it posts go with
// this object's other posted events.
TSourceReader::~TSourceReader() = default;

void TSourceReader::Read(const QString& path, std::function<void(TSourceReading)> done)
{
    // Loading binds the library's entry points and may set the character
    // type: that happens here, on the caller's thread, never beside it.
    const bool libraryLoaded = LoadMediaInfo(MediaInfoLibraryName);
    m_waiting.push_back(std::move(done));
    {
        const std::lock_guard guard(m_worker->lock);
        m_worker->jobs.push_back({path, libraryLoaded});
    }
    m_worker->wake.notify_one();
}

void TSourceReader::Deliver()
{
    std::deque<TSourceReading> ready;
    {
        const std::lock_guard guard(m_worker->lock);
        ready.swap(m_worker->readings);
    }
    // Each reading is paired with its callback before any runs: a callback
    // may ask for more readings, or show a dialog whose event loop delivers
    // the next ones.
    std::vector<std::pair<std::function<void(TSourceReading)>, TSourceReading>> due;
    for (TSourceReading& reading : ready) {
        due.emplace_back(std::move(m_waiting.front()), std::move(reading));
        m_waiting.pop_front();
    }
    for (auto& [done, reading] : due)
        done(std::move(reading));
}
