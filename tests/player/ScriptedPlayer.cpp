#include "ScriptedPlayer.h"

#include "engine/ProgramFolder.h"
#include "process/ShellWords.h"

#include <QDir>
#include <QFile>
#include <stdexcept>
#include <unistd.h>

namespace {

QString PlayerFile() { return ProgramFolder() + "/bin/mplayer"; }

// Every byte as an octal escape, so that any output survives the shell.
QByteArray PrintfOf(const QByteArray& bytes)
{
    QByteArray format;
    for (const char c : bytes)
        format += '\\' + QByteArray::number(static_cast<unsigned char>(c), 8).rightJustified(3, '0');
    return "printf '" + format + "'\n";
}

QByteArray EndingScript(ScriptedPlayer::Ending ending, const QByteArray& folder)
{
    switch (ending) {
    case ScriptedPlayer::Ending::Exit:
        return "exit 0\n"; // once released like one more step
    case ScriptedPlayer::Ending::QuitOnRequest:
        return "while read -r command; do\n"
               "  printf '%s\\n' \"$command\" >> "
               + folder
               + "/received\n"
                 "  [ \"$command\" = quit ] && exit 0\n"
                 "done\n";
    case ScriptedPlayer::Ending::IgnoreRequests:
        return "while :; do printf 'A:   1.0 V:   1.0\\r'; sleep 0.1; done\n";
    }
    return {};
}

QStringList Lines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromUtf8(file.readAll()).split('\n');
    lines.removeLast(); // after the last line end
    return lines;
}

} // namespace

ScriptedPlayer::ScriptedPlayer(const QList<QByteArray>& steps, Ending ending) : m_gates(steps.size() + (ending == Ending::Exit ? 1 : 0))
{
    const QByteArray folder = QuoteShellWord(m_signals.path().toUtf8());
    QByteArray script = "#!/bin/sh\n"
                        "{ printf '%s\\n' \"$0\"; for a in \"$@\"; do printf '%s\\n' \"$a\"; done; } > "
                        + folder + "/arguments.part\n" + "mv " + folder + "/arguments.part " + folder
                        + "/arguments\n";
    for (int gate = 0; gate < m_gates; ++gate) {
        // Once the test is over its folder is gone: no step waits any longer.
        script += "while [ ! -e " + folder + "/go" + QByteArray::number(gate) + " ] && [ -d " + folder
                  + " ]; do sleep 0.02; done\n";
        if (gate < steps.size())
            script += PrintfOf(steps[gate]);
    }
    script += EndingScript(ending, folder);

    m_madeBinFolder = QDir(ProgramFolder()).mkdir("bin");
    QFile player(PlayerFile());
    if (!player.open(QIODevice::WriteOnly | QIODevice::Truncate) || player.write(script) != script.size())
        throw std::runtime_error("cannot write the scripted player");
    player.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

ScriptedPlayer::~ScriptedPlayer()
{
    // A player still waiting for a step would never end.
    for (int gate = 0; gate < m_gates; ++gate)
        Release(gate);
    QFile::remove(PlayerFile());
    if (m_madeBinFolder)
        QDir(ProgramFolder()).rmdir("bin");
}

void ScriptedPlayer::Release(int step)
{
    QFile(m_signals.filePath("go" + QString::number(step))).open(QIODevice::WriteOnly);
}

bool ScriptedPlayer::Started() const { return QFile::exists(m_signals.filePath("arguments")); }

QStringList ScriptedPlayer::Arguments() const { return Lines(m_signals.filePath("arguments")).mid(1); }

QString ScriptedPlayer::ProgramPath() const { return Lines(m_signals.filePath("arguments")).value(0); }

QStringList ScriptedPlayer::Received() const { return Lines(m_signals.filePath("received")); }

QList<int> OwnChildProcesses()
{
    QList<int> children;
    const QString self = QString::number(::getpid());
    for (const QString& entry : QDir("/proc").entryList(QDir::Dirs)) {
        QFile stat("/proc/" + entry + "/stat");
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // pid (name) state ppid …; the name may hold blanks and parentheses.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> after = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (after.size() > 1 && after[1] == self.toLatin1())
            children << entry.toInt();
    }
    return children;
}
