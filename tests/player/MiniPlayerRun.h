#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>

class TFFmpegFrm;
class TMplayerFrm;

// Appends a row for the file to the main window's list and selects it.
void ListAndSelect(TFFmpegFrm* window, const QString& path);

// Clicks Play; if the mini player opens, runs whileOpen inside its modal
// loop and then closes it as its close button does. True when it opened.
bool PlayWhileOpen(TFFmpegFrm* window, const std::function<void(TMplayerFrm&)>& whileOpen);

// From now on, every text the window's runner delivers is also appended to
// `into`, after the window has handled it.
void RecordDeliveries(TMplayerFrm& player, QList<QByteArray>& into);
