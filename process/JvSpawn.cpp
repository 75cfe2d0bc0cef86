#include "process/JvSpawn.h"

#include "process/JvProcessError.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

extern char** environ;

namespace {

struct TPipe {
    TJvUniqueFd readEnd;
    TJvUniqueFd writeEnd;
};

// Ends below 3 would be the child's own standard descriptors already, and
// dup2 onto itself would keep close-on-exec set.
TJvUniqueFd AboveStandardDescriptors(TJvUniqueFd fd)
{
    if (fd.Get() > STDERR_FILENO)
        return fd;
    TJvUniqueFd moved(::fcntl(fd.Get(), F_DUPFD_CLOEXEC, STDERR_FILENO + 1));
    if (!moved.IsOpen())
        RaiseJvSystemError(errno);
    return moved;
}

TPipe MakePipe()
{
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) < 0)
        RaiseJvSystemError(errno);
    TPipe pipe{TJvUniqueFd(ends[0]), TJvUniqueFd(ends[1])};
    pipe.readEnd = AboveStandardDescriptors(std::move(pipe.readEnd));
    pipe.writeEnd = AboveStandardDescriptors(std::move(pipe.writeEnd));
    return pipe;
}

// Called through syscall(): this C library declares pidfd_open without C
// linkage for C++.
int OpenPidfd(pid_t pid)
{
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
}

void MakeNonBlocking(const TJvUniqueFd& fd)
{
    const int flags = ::fcntl(fd.Get(), F_GETFL);
    if (flags < 0 || ::fcntl(fd.Get(), F_SETFL, flags | O_NONBLOCK) < 0)
        RaiseJvSystemError(errno);
}

struct TFileActions {
    TFileActions() { ::posix_spawn_file_actions_init(&actions); }
    ~TFileActions() { ::posix_spawn_file_actions_destroy(&actions); }
    TFileActions(const TFileActions&) = delete;
    TFileActions& operator=(const TFileActions&) = delete;
    posix_spawn_file_actions_t actions;
};

struct TSpawnAttributes {
    TSpawnAttributes() { ::posix_spawnattr_init(&attributes); }
    ~TSpawnAttributes() { ::posix_spawnattr_destroy(&attributes); }
    TSpawnAttributes(const TSpawnAttributes&) = delete;
    TSpawnAttributes& operator=(const TSpawnAttributes&) = delete;
    posix_spawnattr_t attributes;
};

class TSpawnSetup {
public:
    TSpawnSetup(const TPipe& input, const TPipe& output)
    {
        Check(::posix_spawn_file_actions_adddup2(&fileActions_.actions, input.readEnd.Get(), STDIN_FILENO));
        Check(::posix_spawn_file_actions_adddup2(&fileActions_.actions, output.writeEnd.Get(), STDOUT_FILENO));
        Check(::posix_spawn_file_actions_adddup2(&fileActions_.actions, output.writeEnd.Get(), STDERR_FILENO));
        // Descriptors this program was given without close-on-exec by
        // whoever started it would otherwise pass on to the child as well.
        Check(::posix_spawn_file_actions_addclosefrom_np(&fileActions_.actions, STDERR_FILENO + 1));

        // A session of its own: the child has no controlling terminal. Its
        // signal mask is empty and SIGPIPE has its default action whatever
        // this program chose for itself.
        sigset_t none;
        sigemptyset(&none);
        sigset_t defaults;
        sigemptyset(&defaults);
        sigaddset(&defaults, SIGPIPE);
        Check(::posix_spawnattr_setsigmask(&spawnAttributes_.attributes, &none));
        Check(::posix_spawnattr_setsigdefault(&spawnAttributes_.attributes, &defaults));
        Check(::posix_spawnattr_setflags(&spawnAttributes_.attributes,
                                         POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF));
    }

    pid_t Spawn(const QList<QByteArray>& arguments)
    {
        std::vector<char*> argv;
        argv.reserve(arguments.size() + 1);
        for (const QByteArray& argument : arguments)
            argv.push_back(const_cast<char*>(argument.constData()));
        argv.push_back(nullptr);
        pid_t pid = -1;
        Check(::posix_spawnp(&pid, argv[0], &fileActions_.actions, &spawnAttributes_.attributes, argv.data(), environ));
        return pid;
    }

private:
    static void Check(int result)
    {
        if (result != 0)
            RaiseJvSystemError(result);
    }

    TFileActions fileActions_;
    TSpawnAttributes spawnAttributes_;
};

} // namespace

TJvChild SpawnJvChild(const QList<QByteArray>& arguments)
{
    if (arguments.isEmpty())
        RaiseJvSystemError(ENOENT);

    TPipe input = MakePipe();
    TPipe output = MakePipe();
    MakeNonBlocking(input.writeEnd);
    MakeNonBlocking(output.readEnd);
    // A larger output pipe lets a chatty child write on while the reader is
    // between reads; without it the two wake each other for every few
    // kilobytes. Best effort: the system may cap the size.
    ::fcntl(output.readEnd.Get(), F_SETPIPE_SZ, 1024 * 1024);

    TJvChild child;
    child.pid = TSpawnSetup(input, output).Spawn(arguments);
    child.pidfd = TJvUniqueFd(OpenPidfd(child.pid));
    if (!child.pidfd.IsOpen()) {
        const int error = errno;
        // Without a pidfd nothing can watch the child; it must still not be
        // left behind as a zombie.
        std::thread([pid = child.pid] {
            while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
            }
        }).detach();
        RaiseJvSystemError(error);
    }
    child.inputWriteEnd = std::move(input.writeEnd);
    child.outputReadEnd = std::move(output.readEnd);
    // The child's ends close here, so the output pipe reaches its end once
    // the child and its descendants have closed theirs.
    return child;
}
