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

// Reports an error that stopped start-up on standard error and, where there
// is a display, in a message box; returns the program's exit code.
int ReportStartupError(const std::exception& error);
