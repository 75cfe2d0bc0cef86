#pragma once

#include "RecordingDesktop.h"
#include "desktop/PowerOff.h"
#include "components/Dialogs.h"

#include <QByteArray>
#include <QList>
#include <QTemporaryDir>
#include <memory>

class TFFmpegFrm;
struct TProgram;

// Starts the real program in-process on a fresh copy of the default
// database, in a temporary folder that is the current directory (or in a
// folder the caller keeps, where a copy is made only when none is there). Dialogs and
// message boxes are answered by the fixture and recorded; statements are
// captured from the engine as it runs them.
class ProgramFixture {
public:
    ProgramFixture();
    explicit ProgramFixture(const QString& keptFolder);
    ~ProgramFixture();

    // Runs statements on the database file before the program starts.
    void PrepareDatabase(const QList<QByteArray>& statements);
    // Starts the program; the main window is shown and loaded.
    TFFmpegFrm* Start();
    void Stop();
    TFFmpegFrm* Window() const;
    QString Folder() const { return m_path; }

    // One value read from the database file through a connection of its own.
    QByteArray Read(const QByteArray& select) const;

    QList<DialogSeam::Shown> Shown;
    QList<QByteArray> Statements;
    // In place of the login manager and the notification service for the
    // fixture's whole life.
    RecordingSleepInhibitor SleepLock;
    RecordingNotifier Notifier;

private:
    // No test may switch the machine off: until a test installs its own
    // stand-in, a power-off is refused.
    struct RefusedPowerOff : TPowerOff {
        bool MayPowerOff() override { return false; }
        bool PowerOff(int) override { return false; }
    } m_refusedPowerOff;
    QTemporaryDir m_temporary;
    QString m_path;
    QString m_previousFolder;
    std::unique_ptr<TProgram> m_program;
};

// Holds a lock on the fixture's database from a second connection, as
// another copy of the program writing at that moment would.
class ForeignLock {
public:
    explicit ForeignLock(const QString& folder);
    ~ForeignLock();

    struct Connection; // a plain second connection, also used for reading

private:
    std::unique_ptr<Connection> m_connection;
};

// The text of every error box shown, in order.
QStringList ErrorTexts(const QList<DialogSeam::Shown>& shown);
