#pragma once

#include <QComboBox>

// An option selector: an editable drop-down whose every change by the user
// (choosing an entry with mouse, wheel or keys, or typing with inline
// completion) is announced by Change(). Filling and selecting by the program
// never announce anything. A selection made by the program or chosen from
// the list shows the start of its text, which is where entries differ; the
// list opens wide enough for its longest entry.
//
// Each entry carries its position in the catalogue, which is what choices
// are saved and looked up by: a selector may offer only some of the
// catalogue's entries.
class TJvComboBox : public QComboBox {
    Q_OBJECT
public:
    TJvComboBox(const char* name, int tag, QWidget* parent);

    const int Tag;

    struct TEntry {
        int position; // in the catalogue
        QByteArray name;
    };
    // Replaces the entries; the text field keeps its content and no entry is selected.
    void ReplaceEntries(const QList<TEntry>& entries);
    // Selects the entry at this catalogue position as loading does: -1 (or
    // the entry already selected) changes nothing, a position no entry has
    // clears the text field.
    void SelectPosition(int position);
    // The catalogue position of the selected entry; -1 when none is.
    int SelectedPosition() const;
    // Whether an entry has this catalogue position.
    bool Offers(int position) const { return findData(position) >= 0; }

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
