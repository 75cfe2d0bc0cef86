#include "process/JvLastingThread.h"

#include "process/JvProcessError.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace {

class TLastingThread {
public:
    TLastingThread() { std::thread([this] { Loop(); }).detach(); }

    void Run(const std::function<void()>& task)
    {
        const std::lock_guard oneCallerAtATime(callers_);
        std::unique_lock lock(mutex_);
        task_ = &task;
        wake_.notify_one();
        finished_.wait(lock, [this] { return task_ == nullptr; });
    }

private:
    void Loop()
    {
        std::unique_lock lock(mutex_);
        for (;;) {
            wake_.wait(lock, [this] { return task_ != nullptr; });
            (*task_)();
            task_ = nullptr;
            finished_.notify_all();
        }
    }

    std::mutex callers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const std::function<void()>* task_ = nullptr;
};

TLastingThread& LastingThread()
{
    // Never destroyed: the thread runs on while the process ends.
    static TLastingThread* const thread = new TLastingThread;
    return *thread;
}

} // namespace

void RunOnJvLastingThread(const std::function<void()>& task)
{
    TLastingThread* thread = nullptr;
    try {
        thread = &LastingThread();
    } catch (const std::system_error& error) {
        RaiseJvSystemError(error.code().value());
    }
    thread->Run(task);
}
