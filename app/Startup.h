#pragma once

#include <QByteArray>
#include <exception>
#include <memory>

class TFFmpegFrm;
class TSqlDatMod;

// What start-up creates, in creation order; destroyed in reverse order.
struct TProgram {
    std::unique_ptr<TSqlDatMod> dataModule;
    std::unique_ptr<TFFmpegFrm> mainWindow;
    ~TProgram();
};

// Creates the data module (which opens the database) and the main window,
// not yet shown. Raises whatever stops the program from starting.
std::unique_ptr<TProgram> CreateProgram(const QByteArray& sqliteLibrary);

// Shows the main window and runs the event loop until the program quits:
// by the close box, a Quit command, or a termination signal, which closes
// every window the way its close box would. Returns the loop's exit code.
int RunProgram(TFFmpegFrm* mainWindow);

// The last step of the program once its windows are gone: children that
// were asked to stop (the converter's "q", the player's "quit") get a
// moment to finish their files; whatever still runs after it is killed as
// the program ends. Returns status.
int EndProgram(int status);

// Reports an error that stopped start-up on standard error and, where there
// is a display, in a message box; returns the program's exit code.
int ReportStartupError(const std::exception& error);
