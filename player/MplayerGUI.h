#pragma once

#include <QByteArray>
#include <QDialog>

class QLabel;
class TJvColorTrkBar;
class TJvCreateProcess;
class TMplayerFunc;
class TMplayerPanel;

// The modal mini player window. It holds the components and one-line
// handlers: each handler creates a controller, runs one operation and frees
// it.
class TMplayerFrm : public QDialog {
    Q_OBJECT
public:
    TMplayerFrm();

    TMplayerPanel* JvMplayer = nullptr;
    QLabel* JvLabBgTime = nullptr;
    QLabel* JvLabLine = nullptr;
    QLabel* JvLabEdTime = nullptr;
    QLabel* JvLabFile = nullptr;
    TJvColorTrkBar* JvColorTrkBar = nullptr;
    TJvCreateProcess* JvCmdProc = nullptr;

    // Ends the modal loop however the window is closed (title bar, Escape).
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    template <typename Operation> void WithController(Operation operation);

    void FormShow();
    void FormClose();
    void JvCmdProcRead(TJvCreateProcess* Sender, const QByteArray& S, bool StartsOnNewLine);
    void JvCmdProcTerminate(TJvCreateProcess* Sender, quint32 ExitCode);

    bool m_shown = false;
};

// The mini player window while Play shows it.
extern TMplayerFrm* MplayerFrm;
