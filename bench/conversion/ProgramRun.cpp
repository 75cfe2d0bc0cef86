#include "ProgramRun.h"
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "engine/FFmpegFunc.h"
#include "process/JvCreateProcess.h"
#include "process/ShellWords.h"
#include "settings/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QLineEdit>
#include <QStandardPaths>
#include <QToolButton>
#include <QTreeWidget>
#include <stdexcept>
#include <sys/resource.h>

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

ProgramRun::ProgramRun()
{
    const QString converter = QStandardPaths::findExecutable("ffmpeg");
    if (converter.isEmpty())
        throw std::runtime_error("no ffmpeg on PATH");
    const QString bin = QCoreApplication::applicationDirPath() + "/bin";
    QDir().mkpath(bin);
    QFile::remove(bin + "/ffmpeg");
    if (!QFile::link(converter, bin + "/ffmpeg"))
        throw std::runtime_error("cannot put the converter beside the benchmark");
    if (!QFile::copy(MOVARIN_DEFAULT_DATABASE, m_folder.filePath("LibFFmpeg.Dat")))
        throw std::runtime_error("no default database");
    QFile::setPermissions(m_folder.filePath("LibFFmpeg.Dat"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDir::setCurrent(m_folder.path());
    SetSleepInhibitorBackend(&m_sleepLock);
    SetBatchNotifierBackend(&m_notifier);
    m_program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
    m_program->mainWindow->show();
    QCoreApplication::processEvents();
}

ProgramRun::~ProgramRun()
{
    m_program.reset();
    SetSleepInhibitorBackend(nullptr);
    SetBatchNotifierBackend(nullptr);
}

TFFmpegFrm* ProgramRun::Window() const { return m_program->mainWindow.get(); }

int ProgramRun::AddFiles(const QStringList& paths)
{
    TFFmpegFunc().AddFiles(paths);
    QCoreApplication::processEvents();
    return Window()->FileListView->topLevelItemCount();
}

double ProgramRun::RunBatch(const QString& outputFolder)
{
    Window()->JvEditDir->setText(outputFolder);
    TJvCreateProcess* runner = Window()->JvCreateProcess;
    const auto windowTerminate = runner->OnTerminate;
    QStringList sources;
    for (int i = 0; i < Window()->FileListView->topLevelItemCount(); ++i)
        sources << Window()->FileListView->topLevelItem(i)->text(0);
    QEventLoop batch;
    QElapsedTimer clock;
    double lastEnd = 0, lastCpu = ChildrenCpuSeconds();
    m_rowSeconds.clear();
    m_rowCpuSeconds.clear();
    runner->OnTerminate = [&](TJvCreateProcess* sender, quint32 exitCode) {
        const double now = clock.nsecsElapsed() / 1e9, cpu = ChildrenCpuSeconds();
        for (const QString& source : sources)
            if (runner->CommandLine.contains(QuoteShellWord(source.toUtf8()))) {
                m_rowSeconds[source] = now - lastEnd;
                m_rowCpuSeconds[source] = cpu - lastCpu;
                break;
            }
        lastEnd = now;
        lastCpu = cpu;
        windowTerminate(sender, exitCode);
        if (Window()->AddFileBtn->isEnabled())
            batch.quit();
    };
    clock.start();
    Window()->ConvFileBtn->click();
    if (!Window()->AddFileBtn->isEnabled())
        batch.exec();
    const double seconds = clock.nsecsElapsed() / 1e9;
    runner->OnTerminate = windowTerminate;
    return seconds;
}

QList<RowResult> ProgramRun::Rows() const
{
    QTreeWidget* list = Window()->FileListView;
    int percentColumn = list->columnCount() - 1;
    for (int column = 0; column < list->columnCount(); ++column)
        if (list->headerItem()->text(column).contains("Percent"))
            percentColumn = column;
    QList<RowResult> rows;
    for (int i = 0; i < list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = list->topLevelItem(i);
        RowResult row;
        row.source = item->text(0);
        row.added = true;
        row.toolTip = item->toolTip(0);
        row.completed = item->text(percentColumn).trimmed() == "100%";
        row.seconds = m_rowSeconds.value(row.source, -1);
        row.cpuSeconds = m_rowCpuSeconds.value(row.source, -1);
        rows << row;
    }
    return rows;
}
