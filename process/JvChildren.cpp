#include "process/JvChildren.h"

#include <condition_variable>
#include <mutex>

namespace {

std::mutex lock;
std::condition_variable changed;
int watched = 0;

} // namespace

void CountJvChildWatched()
{
    const std::lock_guard guard(lock);
    ++watched;
}

void CountJvChildEnded()
{
    const std::lock_guard guard(lock);
    --watched;
    changed.notify_all();
}

bool WaitForJvChildren(std::chrono::milliseconds limit)
{
    std::unique_lock guard(lock);
    return changed.wait_for(guard, limit, [] { return watched == 0; });
}
