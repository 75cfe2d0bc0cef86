#include "components/CursorEdit.h"

TCursorEdit::TCursorEdit(const char* name, QWidget* parent) : QLineEdit(parent)
{
    setObjectName(name);
}

void TCursorEdit::Assign(const QString& text)
{
    setText(text);
    emit Change();
}
