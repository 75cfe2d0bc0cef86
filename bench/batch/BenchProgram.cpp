#include "BenchProgram.h"
#include "app/FFmpegGUI.h"
#include "app/Startup.h"
#include "batch/BatchListFile.h"
#include "batch/BatchRows.h"
#include "converter/ConverterProbe.h"
#include "process/JvCreateProcess.h"
#include "settings/DataModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QToolButton>
#include <QTreeWidget>
#include <algorithm>
#include <stdexcept>

BenchProgram::BenchProgram(const QString& converter, TAbilities abilities, const QByteArray& keptList)
{
    const QString bin = QCoreApplication::applicationDirPath() + "/bin";
    QDir().mkpath(bin);
    QFile::remove(bin + "/ffmpeg");
    if (!QFile::link(converter, bin + "/ffmpeg"))
        throw std::runtime_error("cannot put the converter beside the benchmark");
    if (!QFile::copy(MOVARIN_DEFAULT_DATABASE, m_folder.filePath("LibFFmpeg.Dat")))
        throw std::runtime_error("no default database");
    QFile::setPermissions(m_folder.filePath("LibFFmpeg.Dat"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QDir::setCurrent(m_folder.path());
    if (!keptList.isEmpty()) {
        QFile list(m_folder.filePath(BatchListFileName));
        if (!list.open(QIODevice::WriteOnly) || list.write(keptList) != keptList.size())
            throw std::runtime_error("cannot write the list file");
    }
    SetSleepInhibitorBackend(&m_sleepLock);
    SetBatchNotifierBackend(&m_notifier);
    if (abilities == TAbilities::Unknown)
        TConverterProbe::AnswerWith(TConverterAbilities());
    m_program = CreateProgram(TSqlDatMod::DefaultClientLibrary);
    m_program->mainWindow->show();
    QCoreApplication::processEvents();
}

BenchProgram::~BenchProgram()
{
    m_program.reset();
    SetSleepInhibitorBackend(nullptr);
    SetBatchNotifierBackend(nullptr);
}

TFFmpegFrm* BenchProgram::Window() const { return m_program->mainWindow.get(); }

void BenchProgram::AddRow(const QString& path, const QString& playingTime)
{
    TBatchRow row;
    row.source = path;
    row.playingTime = playingTime;
    row.playingTimeRead = true;
    Window()->BatchRows->Append(row);
}

void BenchProgram::RunBatch(const std::function<void(const QByteArray&)>& onLine,
                            const std::function<void(const QByteArray&)>& onEnd)
{
    TJvCreateProcess* runner = Window()->JvCreateProcess;
    const auto windowRead = runner->OnRead;
    const auto windowTerminate = runner->OnTerminate;
    QEventLoop batch;
    CommandLines.clear();
    runner->OnRead = [&](TJvCreateProcess* sender, const QByteArray& line, bool startsOnNewLine) {
        windowRead(sender, line, startsOnNewLine);
        if (onLine)
            onLine(line);
    };
    runner->OnTerminate = [&](TJvCreateProcess* sender, quint32 exitCode) {
        CommandLines << runner->CommandLine;
        if (onEnd)
            onEnd(runner->CommandLine);
        windowTerminate(sender, exitCode);
        if (Window()->AddFileBtn->isEnabled())
            batch.quit();
    };
    Window()->ConvFileBtn->click();
    if (!Window()->AddFileBtn->isEnabled())
        batch.exec();
    runner->OnRead = windowRead;
    runner->OnTerminate = windowTerminate;
}

double Median(QList<double> values) { return Percentile(std::move(values), 0.5); }

double Percentile(QList<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    const qsizetype index = std::min<qsizetype>(values.size() - 1, qsizetype(fraction * values.size()));
    return values[index];
}
