#pragma once

#include "process/UniqueFd.h"

#include <QByteArray>
#include <QList>

#include <sys/types.h>

// A started console child and the runner's ends of its pipes.
struct TJvChild {
    pid_t pid = -1;
    TJvUniqueFd pidfd;
    TJvUniqueFd inputWriteEnd; // non-blocking
    TJvUniqueFd outputReadEnd; // non-blocking; standard output and error
};

// Starts arguments[0] (looked up on PATH when it has no "/") with the given
// arguments, the program's environment and current directory, no terminal,
// standard input on one pipe and standard output and error sharing another.
// The child inherits no other descriptor. It gets SIGKILL when this program
// ends, however it ends, so that no child is left working for nobody.
// Throws EJvProcessError with the system error; then nothing is left open.
TJvChild SpawnJvChild(const QList<QByteArray>& arguments);
