#include "app/Startup.h"
#include "app/FFmpegGUI.h"
#include "engine/ErrorDisplay.h"
#include "process/JvCreateProcess.h"
#include "settings/DataModule.h"

#include <QApplication>
#include <cstdio>

TProgram::~TProgram()
{
    mainWindow.reset();
    SqlDatMod = nullptr;
    dataModule.reset();
}

std::unique_ptr<TProgram> CreateProgram(const QByteArray& sqliteLibrary)
{
    QApplication::setApplicationDisplayName("Movarin");
    QApplication::setQuitOnLastWindowClosed(false);
    TJvCreateProcess::SetErrorDisplay(&ShowError);
    auto program = std::make_unique<TProgram>();
    program->dataModule = std::make_unique<TSqlDatMod>(sqliteLibrary);
    SqlDatMod = program->dataModule.get();
    program->mainWindow = std::make_unique<TFFmpegFrm>();
    return program;
}

int ReportStartupError(const std::exception& error)
{
    std::fprintf(stderr, "%s\n", error.what());
    ShowError(error);
    return 1;
}
