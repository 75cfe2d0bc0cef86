#include "player/MplayerGUI.h"
#include "engine/ErrorDisplay.h"
#include "player/JvColorTrkBar.h"
#include "player/MplayerFunc.h"
#include "player/MplayerPanel.h"
#include "process/JvCreateProcess.h"

#include <QLabel>
#include <QScreen>

TMplayerFrm* MplayerFrm = nullptr;

namespace {

QLabel* placeLabel(QWidget* parent, const char* name, const QString& caption, QRect geometry)
{
    auto* label = new QLabel(caption, parent);
    label->setObjectName(name);
    label->setGeometry(geometry);
    return label;
}

} // namespace

TMplayerFrm::TMplayerFrm()
    : QDialog(nullptr, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                           | Qt::WindowCloseButtonHint)
{
    setObjectName("MplayerFrm");
    setWindowTitle("Mini Player");
    setFixedSize(372, 310);
    QFont tahoma("Tahoma");
    tahoma.setPixelSize(11);
    setFont(tahoma);

    JvMplayer = new TMplayerPanel("JvMplayer", this);
    JvMplayer->setGeometry(0, 0, 372, 259);
    JvLabBgTime = placeLabel(this, "JvLabBgTime", "00:00:00", {135, 263, 46, 13});
    JvLabLine = placeLabel(this, "JvLabLine", "/", {186, 262, 6, 13});
    JvLabEdTime = placeLabel(this, "JvLabEdTime", "00:00:00", {197, 263, 46, 13});
    JvLabFile = placeLabel(this, "JvLabFile", QString(), {258, 265, 92, 13});
    JvLabFile->hide();
    JvColorTrkBar = new TJvColorTrkBar("JvColorTrkBar", this);
    JvColorTrkBar->setGeometry(5, 278, 362, 24);

    JvCmdProc = new TJvCreateProcess(this);
    JvCmdProc->setObjectName("JvCmdProc");
    JvCmdProc->OnRead = [this](TJvCreateProcess* sender, const QByteArray& S, bool startsOnNewLine) {
        JvCmdProcRead(sender, S, startsOnNewLine);
    };
    JvCmdProc->OnTerminate = [this](TJvCreateProcess* sender, quint32 exitCode) {
        JvCmdProcTerminate(sender, exitCode);
    };

    if (const QScreen* desktop = screen())
        move(desktop->availableGeometry().center() - rect().center());
}

template <typename Operation> void TMplayerFrm::WithController(Operation operation)
{
    Guarded([&] {
        TMplayerFunc controller;
        operation(controller);
    });
}

void TMplayerFrm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TMplayerFrm::done(int result)
{
    FormClose();
    QDialog::done(result);
}

void TMplayerFrm::FormShow()
{
    WithController([this](TMplayerFunc& c) { c.StartPlayback(JvLabFile->text()); });
}

void TMplayerFrm::FormClose() { WithController([](TMplayerFunc& c) { c.StopPlayback(); }); }

void TMplayerFrm::JvCmdProcRead(TJvCreateProcess* sender, const QByteArray& S, bool)
{
    WithController([&](TMplayerFunc& c) { c.ShowPlayPosition(S, sender->ReadIsCut()); });
}

void TMplayerFrm::JvCmdProcTerminate(TJvCreateProcess*, quint32)
{
    WithController([](TMplayerFunc& c) { c.ShowPlaybackEnded(); });
}
