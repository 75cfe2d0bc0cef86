#pragma once

#include <QDir>
#include <QFile>
#include <QMap>
#include <QMultiMap>
#include <QString>
#include <algorithm>

// The fields of /proc/<entry>/stat after the command name, from the state
// on; empty when there is no such process.
inline QList<QByteArray> StatFields(const QString& entry)
{
    QFile stat("/proc/" + entry + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return {};
    const QByteArray text = stat.readAll();
    return text.mid(text.lastIndexOf(')') + 2).split(' ');
}

// The scheduling state /proc shows for a process: 'T' while it is stopped,
// 'Z' once it has ended and waits to be reaped, '?' when it is gone.
inline char ProcessState(qint64 pid)
{
    const QList<QByteArray> fields = pid > 0 ? StatFields(QString::number(pid)) : QList<QByteArray>();
    return fields.isEmpty() || fields[0].isEmpty() ? '?' : fields[0][0];
}

inline bool ProcessEnded(qint64 pid)
{
    const char state = ProcessState(pid);
    return state == '?' || state == 'Z';
}

// The living children of a process; only those whose command line holds
// the given word when there is one, as a program may run helpers of its own.
inline QList<qint64> ChildProcesses(qint64 parent, const QByteArray& word = {})
{
    QList<qint64> children;
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QList<QByteArray> fields = StatFields(entry);
        if (fields.size() <= 1 || fields[1].toLongLong() != parent || fields[0] == "Z")
            continue;
        QFile commandLine("/proc/" + entry + "/cmdline");
        if (word.isEmpty() || (commandLine.open(QIODevice::ReadOnly) && commandLine.readAll().contains(word)))
            children << entry.toLongLong();
    }
    return children;
}

// Processor time a process has used so far, in clock ticks.
inline qint64 ProcessorTicks(qint64 pid)
{
    const QList<QByteArray> fields = StatFields(QString::number(pid));
    // utime and stime: the 14th and 15th fields of the line, counted from pid
    return fields.size() > 12 ? fields[11].toLongLong() + fields[12].toLongLong() : -1;
}

// Every process of the group that the leader heads is stopped. A shell
// waiting for a command it has just started with vfork sits in 'D' until
// that command, stopped before it could run, goes on: it cannot run either.
inline bool GroupSuspended(qint64 leader)
{
    QMap<qint64, char> states;      // the group's processes
    QMultiMap<qint64, qint64> kids; // parent to child within the group
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        const QList<QByteArray> fields = StatFields(entry);
        if (fields.size() < 3 || fields[2].toLongLong() != leader || fields[0] == "Z")
            continue;
        states.insert(entry.toLongLong(), fields[0].at(0));
        kids.insert(fields[1].toLongLong(), entry.toLongLong());
    }
    if (states.isEmpty())
        return false;
    for (auto process = states.cbegin(); process != states.cend(); ++process) {
        if (process.value() == 'T')
            continue;
        const QList<qint64> children = kids.values(process.key());
        const bool waitsForStoppedChild = process.value() == 'D' && std::any_of(children.cbegin(), children.cend(), [&](qint64 child) {
            return states.value(child) == 'T';
        });
        if (!waitsForStoppedChild)
            return false;
    }
    return true;
}
