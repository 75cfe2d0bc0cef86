#include "batch/TimeLeft.h"

#include <chrono>
#include <cmath>

std::optional<double> ProgressSpeed(const QByteArray& line)
{
    const qsizetype found = line.indexOf("speed=");
    if (found < 0)
        return std::nullopt;
    QByteArray value = line.mid(found + 6).trimmed();
    const qsizetype end = value.indexOf('x');
    if (end <= 0)
        return std::nullopt;
    bool number = false;
    const double speed = value.left(end).toDouble(&number);
    if (!number || !(speed > 0) || !std::isfinite(speed))
        return std::nullopt;
    return speed;
}

QString TimeLeftText(double seconds)
{
    if (seconds < 60)
        return QStringLiteral("less than a minute left");
    const long long minutes = std::llround(seconds / 60);
    if (minutes < 60)
        return QStringLiteral("about %1 min left").arg(minutes);
    // Past an hour, five-minute steps: the last digit would only flicker.
    const long long rounded = std::llround(seconds / 300) * 5;
    if (rounded % 60 == 0)
        return QStringLiteral("about %1 h left").arg(rounded / 60);
    return QStringLiteral("about %1 h %2 min left").arg(rounded / 60).arg(rounded % 60);
}

QString RowProgressText(double speed, std::optional<double> mediaSecondsLeft)
{
    const QString text = QStringLiteral("Speed %1x").arg(speed, 0, 'g', 3);
    if (!mediaSecondsLeft)
        return text;
    return text + ", " + TimeLeftText(std::max(0.0, *mediaSecondsLeft) / speed);
}

QString BatchProgressText(int fileNumber, int fileCount, std::optional<double> secondsLeft)
{
    QString text = QStringLiteral("Movarin\nFile %1 of %2").arg(fileNumber).arg(fileCount);
    if (secondsLeft)
        text += ", " + TimeLeftText(*secondsLeft);
    return text;
}

qint64 SteadyClockMs()
{
    using namespace std::chrono;
    return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

void TBatchClock::Start(qint64 nowMs)
{
    *this = TBatchClock();
    m_startMs = nowMs;
}

void TBatchClock::Reached(int row, double positionSecs)
{
    if (row != m_row) {
        m_doneBeforeRow += m_rowPosition;
        m_row = row;
    }
    m_rowPosition = std::max(0.0, positionSecs);
}

void TBatchClock::Pause(qint64 nowMs)
{
    if (m_pausedSinceMs < 0)
        m_pausedSinceMs = nowMs;
}

void TBatchClock::Resume(qint64 nowMs)
{
    if (m_pausedSinceMs < 0)
        return;
    m_pausedMs += nowMs - m_pausedSinceMs;
    m_pausedSinceMs = -1;
}

std::optional<double> TBatchClock::SecondsLeft(double mediaSecondsLeft, qint64 nowMs) const
{
    const qint64 stoppedAtMs = m_pausedSinceMs < 0 ? nowMs : m_pausedSinceMs;
    const qint64 elapsedMs = stoppedAtMs - m_startMs - m_pausedMs;
    const double done = m_doneBeforeRow + m_rowPosition;
    if (elapsedMs < SettleMs || done <= 0)
        return std::nullopt;
    const double pace = done / (double(elapsedMs) / 1000.0);
    return std::max(0.0, mediaSecondsLeft) / pace;
}
