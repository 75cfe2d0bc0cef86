#include "batch/BatchListKeeper.h"
#include "batch/BatchListFile.h"
#include "batch/BatchRows.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <cerrno>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <optional>
#include <stdexcept>
#include <system_error>
#include <thread>

namespace {

constexpr int WriterNiceness = 10;

// The file's own sync (QSaveFile::commit syncs the data before it renames)
// does not make the rename last through a power cut; syncing the folder
// does. Empty when it worked, else the system's message.
QString SyncFolder(const QString& folder)
{
    const int fd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0 || ::fsync(fd) < 0) {
        const QString error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return error;
    }
    ::close(fd);
    return {};
}

// Empty when the rows are on disk, else why not.
QString WriteListFile(const QString& path, const QList<TBatchRow>& rows)
{
    const QByteArray json = BatchListJson(rows);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(json) != json.size() || !file.commit())
        return file.errorString();
    return SyncFolder(QFileInfo(path).absolutePath());
}

} // namespace

// The thread that writes. It takes the newest rows handed over; rows handed
// over while it writes replace each other, so a burst costs one write more.
struct TBatchListKeeper::TWriter {
    TWriter(QString path, TBatchListKeeper* keeper) : path(std::move(path)), keeper(keeper)
    {
        thread = std::thread([this] { Run(); });
    }
    // Writes what was handed over last, then ends.
    ~TWriter()
    {
        {
            const std::lock_guard guard(lock);
            stop = true;
        }
        wake.notify_one();
        thread.join();
    }

    void Give(QList<TBatchRow> rows, quint64 generation)
    {
        {
            const std::lock_guard guard(lock);
            pending = {std::move(rows), generation};
        }
        wake.notify_one();
    }

    void Run()
    {
        // Making the JSON of a long list takes a core for tens of
        // milliseconds; on a machine with few cores the window must not wait
        // for it. Linux gives each thread its own niceness.
        ::setpriority(PRIO_PROCESS, pid_t(::syscall(SYS_gettid)), WriterNiceness);
        for (;;) {
            std::pair<QList<TBatchRow>, quint64> next;
            {
                std::unique_lock guard(lock);
                wake.wait(guard, [this] { return pending || stop; });
                if (!pending)
                    return;
                next = std::move(*pending);
                pending.reset();
            }
            const QString error = WriteListFile(path, next.first);
            QMetaObject::invokeMethod(
                keeper, [keeper = keeper, generation = next.second, error] { keeper->Written(generation, error); },
                Qt::QueuedConnection);
        }
    }

    const QString path;
    TBatchListKeeper* const keeper;
    std::mutex lock;
    std::condition_variable wake;
    std::optional<std::pair<QList<TBatchRow>, quint64>> pending;
    bool stop = false;
    std::thread thread;
};

TBatchListKeeper::TBatchListKeeper(const QString& path, QObject* parent)
    : QObject(parent), m_path(path), m_lock(path + ".lock")
{
    // A lock is stale only when the copy that took it has ended, however
    // long a living copy has held it.
    m_lock.setStaleLockTime(0);
}

TBatchListKeeper::~TBatchListKeeper()
{
    if (m_handedOver < m_changes)
        HandOver();
    m_writer.reset();
}

bool TBatchListKeeper::TakeLock() { return m_lock.tryLock(0); }

bool TBatchListKeeper::HoldsLock() const { return m_lock.isLocked(); }

bool TBatchListKeeper::HeldElsewhere() const { return m_lock.error() == QLockFile::LockFailedError; }

QString TBatchListKeeper::LockProblem() const
{
    return m_lock.error() == QLockFile::PermissionError ? QStringLiteral("no permission to write there")
                                                        : QStringLiteral("no lock file can be made there");
}

QList<TBatchRow> TBatchListKeeper::Read() const
{
    QFile file(m_path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw std::runtime_error(file.errorString().toStdString());
    return ReadBatchListJson(file.readAll());
}

QString TBatchListKeeper::MoveAside() const
{
    const QFileInfo list(m_path);
    const QString stamp = QDateTime::currentDateTime().toString("yyyyMMdd-hhmmss");
    QString aside;
    for (int number = 1; aside.isEmpty() || QFileInfo::exists(aside); ++number)
        aside = list.dir().filePath(QStringLiteral("%1.unreadable-%2%3.%4")
                                        .arg(list.completeBaseName(), stamp,
                                             number == 1 ? QString() : QStringLiteral("-%1").arg(number),
                                             list.suffix()));
    QFile file(m_path);
    if (!file.rename(aside))
        throw std::runtime_error(file.errorString().toStdString());
    return aside;
}

void TBatchListKeeper::Follow(const TBatchRows* rows)
{
    m_rows = rows;
    connect(rows, &TBatchRows::ListChanged, this, &TBatchListKeeper::ScheduleWrite);
}

void TBatchListKeeper::WhenKept(std::function<void()> done)
{
    if (m_handedOver < m_changes)
        HandOver();
    if (m_written >= m_changes) {
        QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
        return;
    }
    m_waiters.append({m_changes, std::move(done)});
}

void TBatchListKeeper::ScheduleWrite()
{
    if (!HoldsLock())
        return;
    ++m_changes;
    if (m_writeScheduled)
        return;
    m_writeScheduled = true;
    QMetaObject::invokeMethod(this, &TBatchListKeeper::HandOver, Qt::QueuedConnection);
}

void TBatchListKeeper::HandOver()
{
    m_writeScheduled = false;
    if (!m_rows || m_handedOver == m_changes)
        return;
    m_handedOver = m_changes;
    if (!m_writer) {
        try {
            m_writer = std::make_unique<TWriter>(m_path, this);
        } catch (const std::system_error& error) { // no thread to be had
            Written(m_changes, QString::fromLocal8Bit(error.what()));
            return;
        }
    }
    m_writer->Give(m_rows->All(), m_changes);
}

void TBatchListKeeper::Written(quint64 generation, const QString& error)
{
    m_written = std::max(m_written, generation);
    if (!error.isEmpty())
        emit WriteFailed(error);
    RunWaiters();
}

void TBatchListKeeper::RunWaiters()
{
    QList<TWaiter> ready;
    for (qsizetype index = 0; index < m_waiters.size();) {
        if (m_waiters[index].generation <= m_written)
            ready.append(m_waiters.takeAt(index));
        else
            ++index;
    }
    for (const TWaiter& waiter : ready)
        waiter.done();
}
