#pragma once

#include "batch/FileFacts.h"
#include "batch/SourceFacts.h"

#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

// What one reading of a source finds: the information panel's values and
// the facts its conversion plan needs. No panel values when the
// media-information library is not there.
struct TSourceReading {
    std::optional<InfoPanelValues> panel;
    TSourceFacts facts;
};

// Reads sources on a thread of its own, so that a slow disk, or the
// library's set-up on its first file, never holds up the window.
class TSourceReader : public QObject {
    Q_OBJECT
public:
    explicit TSourceReader(QObject* parent = nullptr);
    // Waits for the file being read; files still waiting are not read.
    ~TSourceReader() override;

    // Runs done on this object's thread with what the file at path holds.
    // Readings end in the order they were asked for; none ends after this
    // object is gone.
    void Read(const QString& path, std::function<void(TSourceReading)> done);

private:
    struct TWorker;

    void Deliver();

    std::unique_ptr<TWorker> m_worker;
    std::deque<std::function<void(TSourceReading)>> m_waiting; // in the order asked
};

// The same reading on the calling thread.
TSourceReading ReadSource(const QString& path);
