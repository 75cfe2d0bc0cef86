#include "converter/InParallel.h"

#include <QThread>

#include <algorithm>
#include <atomic>
#include <exception>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

void ForEachInParallel(qsizetype count, int parallel, const std::function<void(qsizetype)>& work)
{
    std::atomic<qsizetype> next{0};
    std::atomic<bool> failed{false};
    std::exception_ptr firstError;
    std::mutex errorLock;
    const auto takeWork = [&] {
        for (qsizetype i = next++; i < count && !failed; i = next++) {
            try {
                work(i);
            } catch (...) {
                const std::lock_guard guard(errorLock);
                if (!firstError)
                    firstError = std::current_exception();
                failed = true;
            }
        }
    };
    // Threads are not created for nothing: a short list runs on fewer.
    const qsizetype helpers = std::clamp<qsizetype>(std::min<qsizetype>(parallel, count) - 1, 0, count);
    std::vector<std::thread> threads;
    threads.reserve(size_t(helpers));
    for (qsizetype i = 0; i < helpers; ++i) {
        try {
            threads.emplace_back(takeWork);
        } catch (const std::system_error&) {
            break; // the threads there are do the rest
        }
    }
    takeWork();
    for (std::thread& thread : threads)
        thread.join();
    if (firstError)
        std::rethrow_exception(firstError);
}

int ProbeParallelism()
{
    // One per core, but never more than four: the machine has other work,
    // and each program spends much of its short life loading libraries.
    return std::clamp(QThread::idealThreadCount(), 1, 4);
}
