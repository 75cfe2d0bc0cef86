#pragma once

#include "batch/BatchRow.h"

#include <QList>
#include <QLockFile>
#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>

class TBatchRows;

// Keeps the batch's rows in the list file while the program runs, so that
// the list survives the program's end however it comes. A thread of its own
// writes: a new file is written, synced and renamed over the old one, so a
// crash or a power cut at any moment leaves the old list or the new one,
// never a damaged one, and a slow disk never holds up the window. A burst
// of changes is written once, as it stands after the event that made it.
//
// Only one copy of the program keeps the list of a folder: the lock beside
// the file says which. A keeper without the lock reads and writes nothing.
class TBatchListKeeper : public QObject {
    Q_OBJECT
public:
    explicit TBatchListKeeper(const QString& path, QObject* parent = nullptr);
    // Writes what is still to be written and lets the lock go.
    ~TBatchListKeeper() override;

    // False when another copy of the program holds the lock, or when no
    // lock can be made there.
    bool TakeLock();
    bool HoldsLock() const;
    bool HeldElsewhere() const;
    // Why no lock could be made, when it was not another copy.
    QString LockProblem() const;

    // The rows the file holds; none when there is no file. Throws
    // std::runtime_error saying why when it cannot be read.
    QList<TBatchRow> Read() const;
    // Renames an unreadable file so that it is kept but never read again;
    // returns its new name. Throws std::runtime_error when that fails.
    QString MoveAside() const;

    // Keeps these rows from now on, through every ListChanged.
    void Follow(const TBatchRows* rows);
    // Runs done on this thread once every change so far is on disk, or its
    // writing has failed.
    void WhenKept(std::function<void()> done);

signals:
    // The list could not be written; the next change tries again.
    void WriteFailed(const QString& message);

private:
    struct TWriter;

    void ScheduleWrite();
    void HandOver();
    void Written(quint64 generation, const QString& error);
    void RunWaiters();

    QString m_path;
    QLockFile m_lock;
    QPointer<const TBatchRows> m_rows;
    std::unique_ptr<TWriter> m_writer;
    quint64 m_changes = 0;       // changes seen
    quint64 m_handedOver = 0;    // changes given to the writer
    quint64 m_written = 0;       // changes the writer has finished with
    bool m_writeScheduled = false;
    struct TWaiter {
        quint64 generation;
        std::function<void()> done;
    };
    QList<TWaiter> m_waiters;
};
