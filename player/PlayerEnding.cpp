#include "player/PlayerEnding.h"

#include "process/JvCreateProcess.h"

#include <QCoreApplication>
#include <QTimer>

void LetPlayerEnd(TJvCreateProcess* runner)
{
    if (runner->State() != TJvCreateProcess::TState::Watching)
        return;
    // Destroying the runner now would drop the request before it is written.
    runner->setParent(QCoreApplication::instance());
    runner->OnRead = nullptr;
    runner->OnTerminate = [](TJvCreateProcess* sender, quint32) { sender->deleteLater(); };
    runner->WriteInput("quit\n");
    // Detaching closes both pipes; the runner still reaps the player.
    QTimer::singleShot(PlayerQuitGrace, runner, [runner] { runner->deleteLater(); });
}
