#include "engine/ErrorDisplay.h"
#include "components/Dialogs.h"

#include <QApplication>

QString ErrorDisplayText(const QString& message)
{
    if (!message.isEmpty() && message.back() > QChar('.'))
        return message + '.';
    return message;
}

void ShowError(const std::exception& error)
{
    ShowMessage(QApplication::activeWindow(), QGuiApplication::applicationDisplayName(),
                ErrorDisplayText(QString::fromUtf8(error.what())), QMessageBox::Critical);
}
