#include "app/Startup.h"
#include "app/FFmpegGUI.h"
#include "app/TerminationSignals.h"
#include "engine/ErrorDisplay.h"
#include "process/JvChildren.h"
#include "process/JvCreateProcess.h"
#include "settings/DataModule.h"

#include <QApplication>
#include <chrono>
#include <cstdio>

namespace {

// Long enough for the converter to write the end of a stopped output file.
constexpr std::chrono::seconds ChildStopGrace{5};

// Windows open above the main one (the mini player, a message) close first,
// each through its own close handling, so that the player is told to quit
// and the modal loops end.
void CloseAllWindows(QWidget* mainWindow)
{
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window != mainWindow && window->isVisible())
            window->close();
    mainWindow->close();
}

} // namespace

TProgram::~TProgram()
{
    mainWindow.reset();
    SqlDatMod = nullptr;
    dataModule.reset();
}

std::unique_ptr<TProgram> CreateProgram(const QByteArray& sqliteLibrary)
{
    // Not the display name: the platform would append that to the title of
    // every window and message box.
    QApplication::setApplicationName("Movarin");
    QApplication::setQuitOnLastWindowClosed(false);
    TJvCreateProcess::SetErrorDisplay(&ShowError);
    auto program = std::make_unique<TProgram>();
    program->dataModule = std::make_unique<TSqlDatMod>(sqliteLibrary);
    SqlDatMod = program->dataModule.get();
    program->mainWindow = std::make_unique<TFFmpegFrm>();
    return program;
}

int RunProgram(TFFmpegFrm* mainWindow)
{
    const TTerminationSignals terminationSignals([mainWindow] { CloseAllWindows(mainWindow); });
    mainWindow->show();
    return QApplication::exec();
}

int EndProgram(int status)
{
    WaitForJvChildren(ChildStopGrace);
    return status;
}

int ReportStartupError(const std::exception& error)
{
    std::fprintf(stderr, "%s\n", error.what());
    ShowError(error);
    return 1;
}
