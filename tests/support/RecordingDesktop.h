#pragma once
// Stand-ins for the desktop services a batch uses: they record what the
// program asked for and never reach the machine's own buses.

#include "desktop/BatchNotifier.h"
#include "desktop/SleepInhibitor.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

class RecordingSleepInhibitor : public TSleepInhibitor {
public:
    bool Hold() override
    {
        Calls << "Hold";
        if (Refuse)
            return false;
        Held = true;
        return true;
    }
    void Release() override
    {
        Calls << "Release";
        Held = false;
    }

    bool Refuse = false;
    bool Held = false;
    QStringList Calls;
};

class RecordingNotifier : public TBatchNotifier {
public:
    struct Notice {
        QString summary;
        QString body;
        std::function<void()> onActivated;
    };

    void Notify(const QString& summary, const QString& body, std::function<void()> onActivated) override
    {
        Notices.append({summary, body, std::move(onActivated)});
    }

    QList<Notice> Notices;
};
