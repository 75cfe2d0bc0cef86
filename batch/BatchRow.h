#pragma once

#include <QString>
#include <QStringList>
#include <QtGlobal>

// Where a row of the batch stands.
enum class TRowState { Waiting, Converting, Completed, Failed, Stopped };

// One source file of the batch: what the list shows of it and what its
// latest conversion left behind.
struct TBatchRow {
    QString source; // the full path as it was added
    // The file's facts as the list shows them.
    QString type;
    QString size;
    QString playingTime; // "HH:MM:SS"
    // The library gave the playing time; otherwise playingTime is the list's
    // stand-in, which says nothing about the file.
    bool playingTimeRead = false;

    TRowState state = TRowState::Waiting;
    qint64 percent = 0;
    QString toolTip;      // how the conversion goes, why it failed, that it was stopped
    bool warning = false; // completed, but the tool tip tells of a fault
    QStringList notes;    // what the latest conversion adapted or left out

    // Where the latest conversion wrote, and whether a file was there before.
    QString output;
    bool outputExistedBefore = false;

    // The converter's last distinct message lines, oldest first, and the
    // line it is writing now when that is a message.
    QStringList messages;
    QString openMessage;
};

// "32%": the Percent column's text.
inline QString PercentText(qint64 percent) { return QString::number(percent) + '%'; }

// The row's tool tip: how it goes or ended, then the notes.
QString ShownToolTip(const TBatchRow& row);
