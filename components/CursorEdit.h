#pragma once

#include <QLineEdit>

// The hidden conversion cursor. Every assignment announces itself, also when
// the text stays the same: assigning the row again converts it again.
class TCursorEdit : public QLineEdit {
    Q_OBJECT
public:
    TCursorEdit(const char* name, QWidget* parent);
    void Assign(const QString& text);

signals:
    void Change();
};
