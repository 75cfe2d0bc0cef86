#pragma once

#include "batch/BatchRow.h"
#include "batch/RowOutcome.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <optional>

// The rows of the batch, in list order, and every change of their state.
// The file list shows them; the controller changes them only through the
// operations below, each of which tells the view what changed.
class TBatchRows : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    int Count() const { return int(m_rows.size()); }
    const TBatchRow& At(int index) const { return m_rows.at(index); }
    bool Contains(int index) const { return index >= 0 && index < Count(); }

    void Append(TBatchRow row);
    void Remove(int index);
    void Clear();

    // The row's converter is about to start: what an earlier run left is
    // forgotten.
    void Start(int index);
    void SetOutput(int index, const QString& path, bool existedBefore);
    void SetNotes(int index, const QStringList& notes);
    // Every report of the converter's current line. startsOnNewLine: the
    // line before has ended, so it is kept when it was a message; later
    // states of one line replace each other. A progress line moves the
    // percentage; its position in whole seconds is returned.
    std::optional<int> ReportLine(int index, const QByteArray& line, bool startsOnNewLine);
    void SetToolTip(int index, const QString& toolTip);
    // Mark, tool tip and, for a completed row, 100%.
    void Finish(int index, const TRowOutcome& outcome);

    // The converter's last distinct message lines, oldest first.
    QStringList Messages(int index) const;
    // What the row knows about its end, for DecideRowOutcome.
    TRowEnd EndOf(int index, quint32 exitCode) const;
    TRowEnd StoppedEndOf(int index) const;

    // The playing time still to convert, in seconds: of the row past the
    // position, and of the batch from that row to the end. A row whose
    // playing time was not read from its file is unknown and left out;
    // nothing where nothing known is left.
    struct TSecsLeft {
        std::optional<double> row;
        std::optional<double> batch;
    };
    TSecsLeft SecsLeft(int index, int positionSecs) const;

    // The outcomes the rows show, for the end-of-batch notice; a row that
    // has not ended since it last started converting counts nowhere.
    struct TTally {
        int completed = 0;
        int failed = 0;
        int warnings = 0; // completed rows whose tool tip warns
    };
    TTally Tally() const;

signals:
    void Appended(int index);
    void Changed(int index);
    void Removed(int index);
    void Cleared();

private:
    TBatchRow& Row(int index) { return m_rows[index]; }

    QList<TBatchRow> m_rows;
};
