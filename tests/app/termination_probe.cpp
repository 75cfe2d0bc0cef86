// The program as the termination tests start it: the real start and end,
// with one row being converted ("convert"), converted and paused ("pause")
// or played in the mini player ("play") by the stand-ins that the test put
// beside this program.

#include "ProgramFixture.h"
#include "Clips.h"
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "tst_batch_support.h"

#include <QApplication>
#include <QTimer>

int main(int argc, char* argv[])
{
    int status = 0;
    {
        QApplication application(argc, argv);
        const QByteArray mode = argc > 1 ? QByteArray(argv[1]) : QByteArray();
        ProgramFixture fixture;
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(fixture.Folder());
        QTreeWidgetItem* row = AddRow(window, MakeFile(fixture.Folder(), "trip.avi", "not really a video"));
        if (mode == "play")
            row->setSelected(true);
        // Started from inside the event loop, as a click would be: the
        // program handles signals from then on. The mini player's modal
        // loop runs inside the program's own.
        QTimer::singleShot(0, window, [window, mode] { Press(window, mode == "play" ? "PlayBtn" : "ConvFileBtn"); });
        QTimer pauseOnceRunning;
        // Paused before the stand-in has told the test it runs, it would
        // never tell.
        const QString started = qEnvironmentVariable("MOVARIN_SCRIPTED_CONVERTER") + "/args.1";
        QObject::connect(&pauseOnceRunning, &QTimer::timeout, window, [&] {
            if (!IsIdle(window) && QFile::exists(started)) {
                pauseOnceRunning.stop();
                Press(window, "PauseConvBtn");
            }
        });
        if (mode == "pause")
            pauseOnceRunning.start(20);
        status = RunProgram(window);
    }
    return EndProgram(status);
}
