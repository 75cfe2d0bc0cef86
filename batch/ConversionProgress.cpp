#include "batch/ConversionProgress.h"

#include <stdexcept>

namespace {

bool IsBlankOrControl(char c) { return static_cast<unsigned char>(c) <= ' '; }

std::optional<int> TimeField(const QByteArray& line, qsizetype at)
{
    QByteArray field = line.mid(at, 2);
    while (!field.isEmpty() && IsBlankOrControl(field.front()))
        field.remove(0, 1);
    while (!field.isEmpty() && IsBlankOrControl(field.back()))
        field.chop(1);
    if (field.isEmpty())
        return std::nullopt;
    int value = 0;
    for (char c : field) {
        if (c < '0' || c > '9')
            return std::nullopt;
        value = value * 10 + (c - '0');
    }
    return value;
}

} // namespace

std::optional<int> ProgressTimeSecs(const QByteArray& line)
{
    const qsizetype found = line.indexOf("time=");
    if (found < 0)
        return std::nullopt;
    const qsizetype start = found + 5;
    const std::optional<int> hours = TimeField(line, start);
    const std::optional<int> minutes = TimeField(line, start + 3);
    const std::optional<int> seconds = TimeField(line, start + 6);
    if (!hours || !minutes || !seconds)
        return std::nullopt;
    return *hours * 3600 + *minutes * 60 + *seconds;
}

int PlayingTimeSecs(const QString& playingTime)
{
    return StrToInt(playingTime.mid(6, 2)) + StrToInt(playingTime.mid(3, 2)) * 60
           + StrToInt(playingTime.mid(0, 2)) * 3600;
}

std::optional<qint64> ProgressPercent(int positionSecs, int durationSecs)
{
    if (durationSecs == 0)
        return std::nullopt;
    // Floating point lands just below some whole percentages (29 of 100 gave
    // 28); 64 bits hold any int position times 100.
    return qint64(positionSecs) * 100 / durationSecs;
}
