#include "ProgramFixture.h"

#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "converter/ConverterProbe.h"
#include "settings/DataModule.h"

#include <QDir>
#include <QFile>
#include <QtTest>
#include <dlfcn.h>
#include <stdexcept>

namespace {

constexpr unsigned TraceStatement = 1; // SQLITE_TRACE_STMT

using TraceFunction = int (*)(sqlite3*, unsigned, int (*)(unsigned, void*, void*, void*), void*);

int recordStatement(unsigned, void* context, void*, void* text)
{
    static_cast<QList<QByteArray>*>(context)->append(QByteArray(static_cast<const char*>(text)));
    return 0;
}

// Asks the engine itself to report each statement it starts.
void traceStatements(sqlite3* database, QList<QByteArray>* into)
{
    void* engine = dlopen(TSqlDatMod::DefaultClientLibrary, RTLD_NOW | RTLD_NOLOAD);
    auto trace = engine ? reinterpret_cast<TraceFunction>(dlsym(engine, "sqlite3_trace_v2")) : nullptr;
    if (!trace)
        throw std::runtime_error("the engine offers no statement trace");
    trace(database, TraceStatement, &recordStatement, into);
}

} // namespace

ProgramFixture::ProgramFixture() : m_previousFolder(QDir::currentPath())
{
    const QByteArray pristine = qgetenv("MOVARIN_DEFAULT_DATABASE");
    if (pristine.isEmpty() || !QFile::copy(QString::fromLocal8Bit(pristine), m_folder.filePath("LibFFmpeg.Dat")))
        throw std::runtime_error("no default database to copy (MOVARIN_DEFAULT_DATABASE)");
    QFile::setPermissions(m_folder.filePath("LibFFmpeg.Dat"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDir::setCurrent(m_folder.path());
    DialogSeam::Enable([this](const DialogSeam::Shown& shown) { Shown.append(shown); });
    SetPowerOffBackend(&m_refusedPowerOff);
    SetSleepInhibitorBackend(&SleepLock);
    SetBatchNotifierBackend(&Notifier);
    // bin/ffmpeg is often a scripted stand-in that must see the batch's
    // calls only: nothing is known about it, so every software entry is
    // offered and no hardware one.
    TConverterProbe::AnswerWith(TConverterAbilities());
}

ProgramFixture::~ProgramFixture()
{
    Stop();
    SetPowerOffBackend(nullptr);
    SetSleepInhibitorBackend(nullptr);
    SetBatchNotifierBackend(nullptr);
    TConverterProbe::AnswerWith(std::nullopt);
    DialogSeam::Disable();
    QDir::setCurrent(m_previousFolder);
}

void ProgramFixture::PrepareDatabase(const QList<QByteArray>& statements)
{
    TSqlDatMod database;
    for (const QByteArray& statement : statements) {
        database.SqliteQuery.SQL() = statement;
        database.SqliteQuery.Execute();
    }
}

TFFmpegFrm* ProgramFixture::Start()
{
    Stop();
    m_program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
    traceStatements(SqlDatMod->DataBase.Handle(), &Statements);
    m_program->mainWindow->show();
    if (!QTest::qWaitForWindowExposed(m_program->mainWindow.get()))
        throw std::runtime_error("the main window did not appear");
    return m_program->mainWindow.get();
}

void ProgramFixture::Stop() { m_program.reset(); }

TFFmpegFrm* ProgramFixture::Window() const { return m_program ? m_program->mainWindow.get() : nullptr; }

struct ForeignLock::Connection {
    explicit Connection(const QString& file)
        : database(TSqlDatMod::DefaultClientLibrary, file.toUtf8()), transaction(database), query(database, transaction)
    {
        database.Open();
    }
    QByteArray Run(const QByteArray& statement)
    {
        query.SQL() = statement;
        query.Execute();
        return query.FieldAsString(0);
    }
    TSqliteDatabase database;
    TSqliteTransaction transaction;
    TSqliteQuery query;
};

ForeignLock::ForeignLock(const QString& folder) : m_connection(std::make_unique<Connection>(folder + "/LibFFmpeg.Dat"))
{
    m_connection->Run("begin exclusive");
}

ForeignLock::~ForeignLock() { m_connection->Run("rollback"); }

QByteArray ProgramFixture::Read(const QByteArray& select) const
{
    return ForeignLock::Connection(m_folder.filePath("LibFFmpeg.Dat")).Run(select);
}

QStringList ErrorTexts(const QList<DialogSeam::Shown>& shown)
{
    QStringList texts;
    for (const DialogSeam::Shown& entry : shown)
        if (entry.kind == "message" && entry.icon == QMessageBox::Critical)
            texts << entry.text;
    return texts;
}
