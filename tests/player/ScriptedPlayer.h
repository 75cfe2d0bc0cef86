#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// A stand-in for the player, put as bin/mplayer beside the test program for
// as long as the object lives. It writes its output in steps, each when the
// test releases it, so that every step reaches the window as a delivery of
// its own. It records its arguments and every command it reads.
class ScriptedPlayer {
public:
    enum class Ending {
        Exit,           // ends when released after the last step
        QuitOnRequest,  // reads commands until "quit"
        IgnoreRequests, // never reads, keeps writing status lines
    };

    ScriptedPlayer(const QList<QByteArray>& steps, Ending ending);
    ~ScriptedPlayer();
    ScriptedPlayer(const ScriptedPlayer&) = delete;
    ScriptedPlayer& operator=(const ScriptedPlayer&) = delete;

    // Lets the player write step number `step`, counted from 0; with Ending::Exit
    // releasing one step more ends it.
    void Release(int step);
    bool Started() const;
    // Its arguments after the program path; empty until it has started.
    QStringList Arguments() const;
    QString ProgramPath() const;
    QStringList Received() const;

private:
    QTemporaryDir m_signals;
    int m_gates;
    bool m_madeBinFolder = false;
};

// The pids of this process's own children, ended or not: a child that has
// ended and was not waited for stays listed as a zombie.
QList<int> OwnChildProcesses();
