#include "process/JvSpawn.h"

#include "process/JvLastingThread.h"
#include "process/JvProcessError.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <thread>
#include <vector>

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

// What the child needs between vfork and exec, all made beforehand: the
// child shares the program's memory and may only make system calls until it
// execs.
struct TChildSetup {
    std::vector<char*> argv;
    pid_t parent = -1;
    int input = -1;
    int output = -1;
    int failure = -1; // the child writes its errno here when it cannot exec
};

[[noreturn]] void Fail(const TChildSetup& setup)
{
    const int error = errno;
    [[maybe_unused]] const ssize_t written = ::write(setup.failure, &error, sizeof error);
    ::_exit(127);
}

[[noreturn]] void BecomeChild(const TChildSetup& setup)
{
    // The child must not outlive the program, also when the program is
    // killed or crashes. Checked again after setting it: the program may
    // have ended just before.
    if (::prctl(PR_SET_PDEATHSIG, SIGKILL) < 0)
        Fail(setup);
    if (::getppid() != setup.parent)
        ::_exit(127);
    // A session of its own: the child has no controlling terminal.
    if (::setsid() < 0)
        Fail(setup);
    if (::dup2(setup.input, STDIN_FILENO) < 0 || ::dup2(setup.output, STDOUT_FILENO) < 0
        || ::dup2(setup.output, STDERR_FILENO) < 0)
        Fail(setup);
    // Descriptors this program was given without close-on-exec by whoever
    // started it would otherwise pass on to the child as well. The failure
    // pipe closes with them, which tells the program that exec succeeded.
    if (::close_range(STDERR_FILENO + 1, ~0U, CLOSE_RANGE_CLOEXEC) < 0)
        Fail(setup);
    // No handler of this program may run here: the child still shares the
    // program's memory. Every caught signal gets its default action before
    // the mask, blocked for the spawn, is emptied; so does SIGPIPE, whatever
    // this program chose for itself.
    struct sigaction defaultAction {};
    defaultAction.sa_handler = SIG_DFL;
    for (int signal = 1; signal < NSIG; ++signal) {
        struct sigaction current {};
        if (::sigaction(signal, nullptr, &current) == 0
            && (signal == SIGPIPE || (current.sa_handler != SIG_DFL && current.sa_handler != SIG_IGN)))
            ::sigaction(signal, &defaultAction, nullptr);
    }
    sigset_t none;
    sigemptyset(&none);
    if (::sigprocmask(SIG_SETMASK, &none, nullptr) < 0)
        Fail(setup);
    ::execvp(setup.argv[0], setup.argv.data());
    Fail(setup);
}

// The child's pid, or -1 with errno set.
pid_t ForkChild(const TChildSetup& setup)
{
    pid_t pid = -1;
    int error = 0;
    RunOnJvLastingThread([&] {
        // vfork: the program is suspended only until the child execs, and no
        // page of a large program is copied or faulted in meanwhile, which
        // fork made cost milliseconds on the interface thread. Signals stay
        // blocked until the child has made its handlers harmless.
        sigset_t all;
        sigset_t before;
        sigfillset(&all);
        ::pthread_sigmask(SIG_SETMASK, &all, &before);
        pid = ::vfork();
        if (pid == 0)
            BecomeChild(setup);
        error = errno;
        ::pthread_sigmask(SIG_SETMASK, &before, nullptr);
    });
    errno = error;
    return pid;
}

pid_t Spawn(const QList<QByteArray>& arguments, const TPipe& input, const TPipe& output)
{
    TPipe failure = MakePipe();
    TChildSetup setup;
    setup.argv.reserve(arguments.size() + 1);
    for (const QByteArray& argument : arguments)
        setup.argv.push_back(const_cast<char*>(argument.constData()));
    setup.argv.push_back(nullptr);
    setup.parent = ::getpid();
    setup.input = input.readEnd.Get();
    setup.output = output.writeEnd.Get();
    setup.failure = failure.writeEnd.Get();

    const pid_t pid = ForkChild(setup);
    if (pid < 0)
        RaiseJvSystemError(errno);
    failure.writeEnd.Reset();
    int childError = 0;
    ssize_t count;
    do {
        count = ::read(failure.readEnd.Get(), &childError, sizeof childError);
    } while (count < 0 && errno == EINTR);
    if (count != sizeof childError)
        return pid;
    while (::waitpid(pid, nullptr, 0) < 0 && errno == EINTR) {
    }
    RaiseJvSystemError(childError);
}

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
    child.pid = Spawn(arguments, input, output);
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
