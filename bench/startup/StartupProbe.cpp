// One start-up to measure: either Movarin's own start-up (data module, main
// window, selectors and folder loaded) or a bare Qt window of the same size.
// It prints "shown" once the window is on screen and quits.
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "settings/DataModule.h"

#include <QApplication>
#include <QComboBox>
#include <QTimer>
#include <QWindow>
#include <cstdio>

namespace {

int reportShown(QApplication& application, QWidget& window)
{
    // Exposed means the window system shows it; the selectors were filled
    // during the first showing, before that.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &application, [&] {
        if (!window.windowHandle() || !window.windowHandle()->isExposed())
            return;
        poll.stop();
        std::puts("shown");
        std::fflush(stdout);
        application.quit();
    });
    poll.start(0);
    return application.exec();
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication application(argc, argv);
    if (argc > 1 && QByteArray(argv[1]) == "bare") {
        QWidget window;
        window.setFixedSize(852, 525);
        window.show();
        return reportShown(application, window);
    }
    const auto program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
    program->mainWindow->show();
    if (program->mainWindow->findChild<QComboBox*>("JvCmbAdo4")->count() == 0)
        return 2;
    return reportShown(application, *program->mainWindow);
}
