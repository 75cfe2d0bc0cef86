// Stands in for the installed program in launcher tests: it starts exactly as
// the program does, from the folder the launcher chose, and prints the
// working folder and the output folder the window shows, then quits. A
// message box the program shows is printed instead of waiting for a click.
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "components/Dialogs.h"
#include "settings/DataModule.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc > 1) {
        std::printf("arguments: %d\n", argc - 1);
        return 2;
    }
    DialogSeam::Enable([](const DialogSeam::Shown& shown) {
        std::printf("%s: %s\n", qPrintable(shown.kind), qPrintable(shown.text));
    });
    try {
        const auto program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
        program->mainWindow->show();
        const auto* outputDir = program->mainWindow->findChild<QLineEdit*>("JvEditDir");
        std::printf("folder: %s\noutput: %s\n", qPrintable(QDir::currentPath()), qPrintable(outputDir->text()));
        return 0;
    } catch (const std::exception& error) {
        return ReportStartupError(error);
    }
}
