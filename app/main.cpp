#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "app/TerminationSignals.h"
#include "settings/DataModule.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    BlockTerminationSignals();
    int status = 0;
    {
        QApplication application(argc, argv);
        try {
            const auto program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
            status = RunProgram(program->mainWindow.get());
        } catch (const std::exception& error) {
            // Ctrl+C must still end a program that shows why it cannot start.
            UnblockTerminationSignals();
            return ReportStartupError(error);
        }
    }
    return EndProgram(status);
}
