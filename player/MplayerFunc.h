#pragma once

#include <QByteArray>
#include <QString>
#include <QWidget>

#include <optional>

class QLabel;
class TJvColorTrkBar;
class TJvCreateProcess;

// The controller behind every event of the mini player window. It is created
// for one event, binds itself to the window held in MplayerFrm, does one
// operation and is freed; everything lasting lives in the window.
class TMplayerFunc {
public:
    TMplayerFunc();
    TMplayerFunc(const TMplayerFunc&) = delete;
    TMplayerFunc& operator=(const TMplayerFunc&) = delete;

    // Starts the player on the file, drawing into the video panel.
    void StartPlayback(const QString& filePath);
    // Shows the file's playing time and makes it the position bar's range.
    void LoadDuration(const QString& filePath);
    // One text delivered from the player's output; cut when the runner
    // delivered it mid-line.
    void ShowPlayPosition(const QByteArray& S, bool cut);
    void ShowPlaybackEnded();
    // The window is closing: the player must not go on without it.
    void StopPlayback();

    // Whole seconds of the position in a player status line ("A:", or "V:"
    // when nothing plays sound, and the seconds in characters 3 to 6); 0 for
    // every other text. Nothing for a text that is cut, still being
    // written. Throws EConvertError for a status line ended by CR or LF
    // whose position is no whole number.
    static std::optional<int> ParsePlayPosition(const QByteArray& S, bool cut);
    // "0" + hours, then two-digit minutes and seconds: 83 gives "00:01:23".
    static QString FormatSeconds(int seconds);

private:
    WId VideoWindow;
    QString PlayerPath;
    QLabel* JvLabBgTime;
    QLabel* JvLabEdTime;
    TJvColorTrkBar* JvColorTrkBar;
    TJvCreateProcess* JvCmdProc;
};
