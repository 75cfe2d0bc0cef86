#pragma once

#include <QString>
#include <exception>
#include <utility>

// The text shown for an error: a period is added when the text ends in a
// character that sorts after the period.
QString ErrorDisplayText(const QString& message);

// Shows an error that ended an event: caption = the application's title,
// an error icon and OK. The program then goes on.
void ShowError(const std::exception& error);

// Runs one event's work; an error ends the work and is shown, never more.
template <typename Work> void Guarded(Work&& work)
{
    try {
        std::forward<Work>(work)();
    } catch (const std::exception& error) {
        ShowError(error);
    }
}
