#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "settings/DataModule.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    try {
        const auto program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
        program->mainWindow->show();
        return application.exec();
    } catch (const std::exception& error) {
        return ReportStartupError(error);
    }
}
