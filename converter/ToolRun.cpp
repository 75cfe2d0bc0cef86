#include "converter/ToolRun.h"

#include "process/JvProcessError.h"
#include "process/JvSpawn.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

namespace {

using Clock = std::chrono::steady_clock;

// The nice value of a background run: low enough in priority to stay out
// of the way of a conversion, not so low that it starves on a busy machine.
constexpr int BackgroundNiceness = 10;

// Reads what the pipe holds now; false once it has reached its end.
bool ReadAvailable(int fd, QByteArray& output)
{
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count > 0) {
            output.append(buffer, std::min<qsizetype>(count, std::max<qsizetype>(0, MaxToolOutput - output.size())));
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        return count < 0 && errno == EAGAIN;
    }
}

int MillisecondsUntil(Clock::time_point deadline)
{
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? int(left.count()) : 0;
}

quint32 ExitCode(int status)
{
    if (WIFSIGNALED(status))
        return 128 + quint32(WTERMSIG(status));
    return quint32(WEXITSTATUS(status));
}

} // namespace

TToolRun RunTool(const QList<QByteArray>& arguments, std::chrono::milliseconds limit, TToolPriority priority)
{
    TJvChild child = SpawnJvChild(arguments);
    child.inputWriteEnd.Reset();
    if (priority == TToolPriority::Background)
        ::setpriority(PRIO_PROCESS, id_t(child.pid), BackgroundNiceness); // best effort

    TToolRun run;
    const Clock::time_point deadline = Clock::now() + limit;
    bool outputEnded = false;
    int waitError = 0;
    while (!(run.ended && outputEnded)) {
        const int timeout = MillisecondsUntil(deadline);
        if (timeout == 0)
            break;
        pollfd watched[2] = {{outputEnded ? -1 : child.outputReadEnd.Get(), POLLIN, 0},
                             {run.ended ? -1 : child.pidfd.Get(), POLLIN, 0}};
        if (::poll(watched, 2, timeout) < 0) {
            if (errno == EINTR)
                continue;
            waitError = errno;
            break;
        }
        if (watched[0].revents != 0)
            outputEnded = !ReadAvailable(child.outputReadEnd.Get(), run.output);
        if (watched[1].revents != 0)
            run.ended = true;
    }
    // Until the child is reaped its number still names its process group,
    // so this reaches only what it started: a program that overran its time,
    // and anything of its making that still holds the output pipe.
    ::kill(-child.pid, SIGKILL);
    int status = 0;
    while (::waitpid(child.pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (waitError != 0)
        RaiseJvSystemError(waitError);
    if (run.ended)
        run.exitCode = ExitCode(status);
    return run;
}
