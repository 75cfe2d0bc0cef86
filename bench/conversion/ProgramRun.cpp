#include "ProgramRun.h"
#include "app/FFmpegGUI.h"
#include "engine/FFmpegFunc.h"
#include "process/ShellWords.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QStandardPaths>
#include <QTreeWidget>
#include <stdexcept>
#include <sys/resource.h>

double ChildrenCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

namespace {

QString MachineConverter()
{
    const QString converter = QStandardPaths::findExecutable("ffmpeg");
    if (converter.isEmpty())
        throw std::runtime_error("no ffmpeg on PATH");
    return converter;
}

} // namespace

ProgramRun::ProgramRun() : m_program(MachineConverter(), BenchProgram::TAbilities::Probed) {}

int ProgramRun::AddFiles(const QStringList& paths)
{
    TFFmpegFunc().AddFiles(paths);
    QCoreApplication::processEvents();
    return m_program.Window()->FileListView->topLevelItemCount();
}

double ProgramRun::RunBatch(const QString& outputFolder)
{
    TFFmpegFrm* window = m_program.Window();
    window->JvEditDir->setText(outputFolder);
    QStringList sources;
    for (int i = 0; i < window->FileListView->topLevelItemCount(); ++i)
        sources << window->FileListView->topLevelItem(i)->text(0);
    QElapsedTimer clock;
    double lastEnd = 0, lastCpu = ChildrenCpuSeconds();
    m_rowSeconds.clear();
    m_rowCpuSeconds.clear();
    clock.start();
    m_program.RunBatch({}, [&](const QByteArray& commandLine) {
        const double now = clock.nsecsElapsed() / 1e9, cpu = ChildrenCpuSeconds();
        for (const QString& source : sources)
            if (commandLine.contains(QuoteShellWord(source.toUtf8()))) {
                m_rowSeconds[source] = now - lastEnd;
                m_rowCpuSeconds[source] = cpu - lastCpu;
                break;
            }
        lastEnd = now;
        lastCpu = cpu;
    });
    return clock.nsecsElapsed() / 1e9;
}

QList<RowResult> ProgramRun::Rows() const
{
    QTreeWidget* list = m_program.Window()->FileListView;
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
