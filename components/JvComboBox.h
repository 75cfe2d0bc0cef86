#pragma once

#include <QComboBox>

// An option selector: an editable drop-down whose every change by the user
// (choosing an entry with mouse, wheel or keys, or typing with inline
// completion) is announced by Change(). Filling and selecting by the program
// never announce anything. A selection made by the program or chosen from
// the list shows the start of its text, which is where entries differ; the
// list opens wide enough for its longest entry.
class TJvComboBox : public QComboBox {
    Q_OBJECT
public:
    TJvComboBox(const char* name, int tag, QWidget* parent);

    const int Tag;

    // Replaces the entries; the text field keeps its content and no entry is selected.
    void ReplaceEntries(const QList<QByteArray>& entries);
    // Selects position p as loading does: -1 (or the position already
    // selected) changes nothing, a position past the end clears the text field.
    void SelectPosition(int position);

    void showPopup() override;

signals:
    void Change();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void completeTypedText(const QString& typed);
    void keepTextWithoutSelection(const QString& text, int caret);
    void showTextStart();

    bool m_deleting = false;
};
