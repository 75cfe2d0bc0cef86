// The times the mini player shows: the position from the player's status
// lines and the total from the file's duration.
#include "player/PlayTimes.h"
#include "player/MplayerFunc.h"
#include "batch/StrToInt.h"

#include <optional>

namespace {

// Blanks and control characters, as the player pads its numbers with blanks
// and a delivered text may carry a carriage return.
QByteArray TrimBlanksAndControls(QByteArray text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.mid(first, last - first);
}

} // namespace

std::optional<int> TMplayerFunc::ParsePlayPosition(const QByteArray& S, bool cut)
{
    // The rest of the line, a number's end included, is still to come.
    if (cut)
        return std::nullopt;
    // Without sound the player writes only the video position.
    if (!S.startsWith("A:") && !S.startsWith("V:"))
        return 0;
    return StrToInt(TrimBlanksAndControls(S.mid(2, 4)));
}

QString TMplayerFunc::FormatSeconds(int seconds)
{
    seconds = std::max(seconds, 0);
    return QStringLiteral("0%1:%2:%3")
        .arg(seconds / 3600)
        .arg((seconds / 60) % 60, 2, 10, QChar('0'))
        .arg(seconds % 60, 2, 10, QChar('0'));
}

QByteArray TotalTimeText(const QByteArray& duration)
{
    return duration.isEmpty() ? QByteArray("02:50:00") : duration.left(8);
}

int TotalTimeSeconds(const QByteArray& totalText)
{
    const int hours = StrToInt(totalText.mid(0, 2));
    const int minutes = StrToInt(totalText.mid(3, 2));
    const int seconds = StrToInt(totalText.mid(6, 2));
    return hours * 3600 + minutes * 60 + seconds;
}
