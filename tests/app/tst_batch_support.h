#pragma once
// Rows, marks and a scripted converter for the batch tests.

#include "Clips.h"
#include "app/FFmpegGUI.h"
#include "batch/BatchRows.h"
#include "desktop/PowerOff.h"
#include "components/ImageList.h"
#include "process/JvCreateProcess.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeWidget>

// Adds a row the way the file list does, without asking the library:
// path, type, size, playing time; the list shows it with "0%" and mark 15.
inline QTreeWidgetItem* AddRow(TFFmpegFrm* window, const QString& path, const QString& playingTime = "00:00:04")
{
    TBatchRow row;
    row.source = path;
    row.type = "AVI";
    row.size = "1 KiB";
    row.playingTime = playingTime;
    row.playingTimeRead = true;
    window->BatchRows->Append(row);
    return window->FileListView->topLevelItem(window->BatchRows->Count() - 1);
}

// No converter runs, nor one that was stopped and is still finishing.
inline bool IsIdle(TFFmpegFrm* window)
{
    return window->JvCreateProcess->State() == TJvCreateProcess::TState::Idle;
}

// The image index each row shows, -1 for none of the list's.
inline QList<int> Marks(TFFmpegFrm* window)
{
    QList<int> marks;
    for (int index = 0; index < window->FileListView->topLevelItemCount(); ++index) {
        const qint64 key = window->FileListView->topLevelItem(index)->icon(0).cacheKey();
        int mark = -1;
        for (int image = 0; image < TImageList::Count; ++image)
            if (window->ImageList->Icon(image).cacheKey() == key)
                mark = image;
        marks << mark;
    }
    return marks;
}

inline QStringList Column(TFFmpegFrm* window, int column)
{
    QStringList texts;
    for (int index = 0; index < window->FileListView->topLevelItemCount(); ++index)
        texts << window->FileListView->topLevelItem(index)->text(column);
    return texts;
}

// The five buttons a batch locks, enabled or not, and Stop.
inline QList<bool> ButtonsEnabled(TFFmpegFrm* window)
{
    QList<bool> enabled;
    for (const char* name : {"AddFileBtn", "DelFileBtn", "ClearFileBtn", "ConvFileBtn", "PlayBtn", "StopConvBtn"})
        enabled << window->findChild<QToolButton*>(name)->isEnabled();
    return enabled;
}
inline const QList<bool> Idle{true, true, true, true, true, true};
inline const QList<bool> Running{false, false, false, false, false, true};

inline void Press(TFFmpegFrm* window, const char* button) { window->findChild<QToolButton*>(button)->click(); }

// A stand-in for the converter at <test program>/bin/ffmpeg, steered through
// files in a control folder of its own. Run n (from 1) records its process
// id in pid.<n> and its arguments in args.<n>, prints a banner and the text
// of "progress", copies "partial" (when present) to its last argument as an
// unfinished output, sleeps for the seconds in "hold" (when present), then
// waits until "release" or "release.<n>" exists or a byte arrives on its
// input (recorded in input.<n>; ignored while "ignore-q" exists). Before it
// ends it copies "output" (when present) to its last argument, prints
// message.<n> on a line of its own and exits with exit.<n> (default 0).
class ScriptedConverter {
public:
    static QString Path() { return QCoreApplication::applicationDirPath() + "/bin/ffmpeg"; }

    static void Install()
    {
        QDir().mkpath(QCoreApplication::applicationDirPath() + "/bin");
        QFile::remove(Path());
        QFile script(Path());
        if (!script.open(QIODevice::WriteOnly))
            qFatal("cannot write the scripted converter");
        script.write(Script);
        script.close();
        script.setPermissions(script.permissions() | QFileDevice::ExeOwner);
    }

    ScriptedConverter() { qputenv("MOVARIN_SCRIPTED_CONVERTER", m_control.path().toUtf8()); }

    // A short real clip: what the converter leaves behind when a row is to
    // count as completed, since a completed row's output must play.
    static QByteArray PlayableOutput()
    {
        static const QByteArray bytes = [] {
            QTemporaryDir folder;
            ClipOptions options;
            options.seconds = 1;
            options.width = 64;
            options.height = 48;
            QFile clip(MakeClip(folder.path(), options));
            if (!clip.open(QIODevice::ReadOnly))
                qFatal("cannot make the playable output clip");
            return clip.readAll();
        }();
        return bytes;
    }

    void Put(const QString& name, const QByteArray& contents = {}) const
    {
        QFile file(m_control.filePath(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(contents) != contents.size())
            qFatal("cannot write a control file");
    }
    void Remove(const QString& name) const { QFile::remove(m_control.filePath(name)); }
    bool Has(const QString& name) const { return QFile::exists(m_control.filePath(name)); }
    QByteArray Read(const QString& name) const
    {
        QFile file(m_control.filePath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    // The arguments of run n, or empty when it never started.
    QList<QByteArray> Arguments(int run) const
    {
        QByteArray words = Read(QStringLiteral("args.%1").arg(run));
        if (words.isEmpty())
            return {};
        words.chop(1);
        return words.split('\0');
    }
    int Runs() const
    {
        int runs = 0;
        while (Has(QStringLiteral("args.%1").arg(runs + 1)))
            ++runs;
        return runs;
    }

private:
    static constexpr const char* Script = R"script(#!/bin/sh
control="$MOVARIN_SCRIPTED_CONVERTER"
run=1
while [ -e "$control/args.$run" ]; do run=$((run + 1)); done
echo $$ > "$control/pid.$run"
for word in "$0" "$@"; do printf '%s\0' "$word"; done > "$control/args.$run"
printf 'ffmpeg version scripted\n  configuration: none\n'
if [ -e "$control/progress" ]; then cat "$control/progress"; fi
for last; do :; done
if [ -e "$control/partial" ]; then cp "$control/partial" "$last"; fi
if [ -e "$control/hold" ]; then sleep "$(cat "$control/hold")"; fi
exec 3<&0
head -c 1 <&3 > "$control/input.$run" 2>/dev/null &
reader=$!
while :; do
  [ -d "$control" ] || break # the test is gone: never outlive it
  [ -e "$control/release" ] && break
  [ -e "$control/release.$run" ] && break
  [ -s "$control/input.$run" ] && [ ! -e "$control/ignore-q" ] && break
  sleep 0.01
done
kill "$reader" 2>/dev/null
if [ -e "$control/output" ]; then cp "$control/output" "$last"; fi
if [ -e "$control/message.$run" ]; then printf '\n' >&2; cat "$control/message.$run" >&2; fi
code=0
if [ -e "$control/exit.$run" ]; then code=$(cat "$control/exit.$run"); fi
exit "$code"
)script";
    QTemporaryDir m_control;
};

// Records every power-off request instead of making it, with what the
// window showed at that moment.
class RecordingPowerOff : public TPowerOff {
public:
    struct Call {
        int flags;
        bool buttonsUnlocked;
        QString statusLine;
    };

    explicit RecordingPowerOff(TFFmpegFrm* window) : m_window(window), m_previous(&PowerOffBackend())
    {
        SetPowerOffBackend(this);
    }
    ~RecordingPowerOff() override { SetPowerOffBackend(m_previous); }

    bool MayPowerOff() override
    {
        ++asked;
        return allowed;
    }
    bool PowerOff(int flags) override
    {
        if (m_window)
            calls.append({flags, m_window->AddFileBtn->isEnabled(), m_window->JvEditCmdMsg->text()});
        else
            calls.append({flags, false, QString()});
        return accepted;
    }

    bool allowed = true;
    bool accepted = true;
    int asked = 0;
    QList<Call> calls;

private:
    TFFmpegFrm* m_window;
    TPowerOff* m_previous;
};
