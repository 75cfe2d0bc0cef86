#include "components/JvComboBox.h"

#include <QKeyEvent>
#include <QAbstractItemView>
#include <QLineEdit>
#include <QScrollBar>

TJvComboBox::TJvComboBox(const char* name, int tag, QWidget* parent) : QComboBox(parent), Tag(tag)
{
    setObjectName(name);
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    // Completion is ours: the entry found must become the selected one at once.
    setCompleter(nullptr);
    setEditText(name);
    lineEdit()->installEventFilter(this);
    connect(this, &QComboBox::activated, this, &TJvComboBox::showTextStart);
    connect(this, &QComboBox::activated, this, &TJvComboBox::Change);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TJvComboBox::completeTypedText);
}

void TJvComboBox::ReplaceEntries(const QList<TEntry>& entries)
{
    const QSignalBlocker quiet(this);
    const QString text = currentText();
    clear();
    for (const TEntry& entry : entries)
        addItem(QString::fromUtf8(entry.name), entry.position);
    setCurrentIndex(-1);
    setEditText(text);
    showTextStart();
}

void TJvComboBox::SelectPosition(int position)
{
    const QSignalBlocker quiet(this);
    if (position == -1 || position == SelectedPosition())
        return;
    if (const int index = findData(position); index >= 0) {
        setCurrentIndex(index);
        showTextStart();
    } else {
        setCurrentIndex(-1);
        setEditText(QString());
    }
}

int TJvComboBox::SelectedPosition() const { return currentIndex() < 0 ? -1 : currentData().toInt(); }

void TJvComboBox::showTextStart() { lineEdit()->setCursorPosition(0); }

void TJvComboBox::showPopup()
{
    int width = view()->sizeHintForColumn(0) + 2 * view()->frameWidth();
    if (count() > maxVisibleItems())
        width += view()->verticalScrollBar()->sizeHint().width();
    view()->setMinimumWidth(width);
    QComboBox::showPopup();
}

bool TJvComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        m_deleting = key == Qt::Key_Backspace || key == Qt::Key_Delete;
    }
    return QComboBox::eventFilter(watched, event);
}

void TJvComboBox::completeTypedText(const QString& typed)
{
    const int caret = lineEdit()->cursorPosition();
    int found = -1;
    if (!m_deleting && !typed.isEmpty()) {
        for (int i = 0; i < count() && found < 0; ++i)
            if (itemText(i).startsWith(typed, Qt::CaseInsensitive))
                found = i;
    }
    if (found >= 0) {
        const QSignalBlocker quiet(this);
        setCurrentIndex(found);
        const QString entry = itemText(found);
        lineEdit()->setText(entry);
        lineEdit()->setSelection(entry.size(), typed.size() - entry.size());
    } else {
        keepTextWithoutSelection(typed, caret);
    }
    m_deleting = false;
    emit Change();
}

void TJvComboBox::keepTextWithoutSelection(const QString& text, int caret)
{
    const QSignalBlocker quiet(this);
    if (currentIndex() != -1)
        setCurrentIndex(-1);
    if (lineEdit()->text() != text)
        lineEdit()->setText(text);
    lineEdit()->setCursorPosition(caret);
}
