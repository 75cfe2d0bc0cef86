#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "settings/DataModule.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    int status = 0;
    {
        QApplication application(argc, argv);
        try {
            const auto program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
            status = RunProgram(program->mainWindow.get());
        } catch (const std::exception& error) {
            return ReportStartupError(error);
        }
    }
    return EndProgram(status);
}
