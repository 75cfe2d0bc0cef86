#pragma once

#include <QString>
#include <functional>

// Tells the desktop that a batch has finished. The program uses the
// desktop's notification service; tests put a recording stand-in in its
// place.
class TBatchNotifier {
public:
    virtual ~TBatchNotifier() = default;
    // Shows one notification; onActivated runs when the user picks it.
    // Without a notification service nothing happens.
    virtual void Notify(const QString& summary, const QString& body, std::function<void()> onActivated) = 0;
};

// The one in use: the desktop's service unless a stand-in was installed.
TBatchNotifier& BatchNotifierBackend();

// Puts a stand-in in place (not owned); nullptr goes back to the real one.
void SetBatchNotifierBackend(TBatchNotifier* standIn);

inline constexpr char BatchFinishedSummary[] = "Conversion finished";

// "3 files converted", "1 file converted, 2 failed", "3 files converted,
// 1 warning".
QString BatchFinishedBody(int converted, int failed, int warnings);
