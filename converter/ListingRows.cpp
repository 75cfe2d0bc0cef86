#include "converter/ListingRows.h"

#include <algorithm>

namespace {

// The flags of a legend line (" V..... = Video" gives "V....."); empty for
// any other line.
QByteArray LegendFlags(const QByteArray& line)
{
    const qsizetype equals = line.indexOf(" = ");
    if (!line.startsWith(' ') || equals < 2)
        return {};
    const QByteArray flags = line.mid(1, equals - 1);
    return flags.contains(' ') ? QByteArray() : flags;
}

bool IsDashedLine(const QByteArray& line)
{
    const QByteArray trimmed = line.trimmed();
    return !trimmed.isEmpty() && std::all_of(trimmed.begin(), trimmed.end(), [](char c) { return c == '-'; });
}

} // namespace

QList<TListingRow> ParseListingRows(const QByteArray& listing)
{
    QList<TListingRow> rows;
    qsizetype flagWidth = 0;
    bool belowDashes = false;
    for (QByteArray line : listing.split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!belowDashes) {
            flagWidth = std::max(flagWidth, LegendFlags(line).size());
            belowDashes = flagWidth > 0 && IsDashedLine(line);
            continue;
        }
        // " " flags " " name " " description
        const qsizetype nameStart = flagWidth + 2;
        if (line.size() <= nameStart || line[0] != ' ' || line[nameStart - 1] != ' ' || line[nameStart] == ' ')
            continue;
        const qsizetype nameEnd = line.indexOf(' ', nameStart);
        rows.append({line.mid(1, flagWidth), line.mid(nameStart, nameEnd < 0 ? -1 : nameEnd - nameStart)});
    }
    return rows;
}
