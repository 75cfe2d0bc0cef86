#include "process/JvMailbox.h"

#include <QCoreApplication>

TJvRunnerEvent::TJvRunnerEvent(TKind kind, quint64 run, quint32 exitCode)
    : QEvent(EventType()), kind_(kind), run_(run), exitCode_(exitCode)
{
}

QEvent::Type TJvRunnerEvent::EventType()
{
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

void TJvMailbox::Post(TJvRunnerEvent::TKind kind, quint64 run, quint32 exitCode)
{
    const std::lock_guard guard(lock_);
    if (target_)
        QCoreApplication::postEvent(target_, new TJvRunnerEvent(kind, run, exitCode));
}

void TJvMailbox::Close()
{
    const std::lock_guard guard(lock_);
    target_ = nullptr;
}
