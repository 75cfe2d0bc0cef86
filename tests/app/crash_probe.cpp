// The program as the crash test starts it, again and again, in one working
// folder (the first argument): the real start, which brings back the list
// the folder keeps. It prints each row as the list shows it, then "shown",
// and converts what is left with the scripted converter the test put beside
// it; with nothing left it prints "all done" before "shown" and ends. On its
// very first start it lists every file of the folder's src/.

#include "ProgramFixture.h"
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "tst_batch_support.h"

#include <QApplication>
#include <QTimer>
#include <cstdio>

int main(int argc, char* argv[])
{
    int status = 0;
    {
        QApplication application(argc, argv);
        const QString folder = QString::fromLocal8Bit(argv[1]);
        ProgramFixture fixture(folder);
        TFFmpegFrm* window = fixture.Start();
        window->JvEditDir->setText(folder + "/out");
        if (window->BatchRows->Count() == 0 && !QFile::exists(folder + "/BatchList.json"))
            for (const QString& name : QDir(folder + "/src").entryList(QDir::Files, QDir::Name))
                AddRow(window, folder + "/src/" + name);
        const QList<int> marks = Marks(window);
        for (int row = 0; row < marks.size(); ++row) {
            QString toolTip = window->FileListView->topLevelItem(row)->toolTip(0);
            std::printf("%d\t%s\n", marks[row], qPrintable(toolTip.replace('\n', "\\n")));
        }
        const bool allDone = window->BatchRows->AllCompleted();
        std::printf("%sshown\n", allDone ? "all done\n" : "");
        std::fflush(stdout);
        if (allDone)
            return 0;
        QTimer::singleShot(0, window, [window] { Press(window, "ConvFileBtn"); });
        status = RunProgram(window);
    }
    return EndProgram(status);
}
