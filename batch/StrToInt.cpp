#include "batch/StrToInt.h"

#include <charconv>

int StrToInt(const QByteArray& text)
{
    // from_chars takes no plus sign; a leading one is allowed here.
    const char* first = text.constData();
    const char* last = first + text.size();
    if (first != last && *first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    int value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || error != std::errc() || end != last)
        throw EConvertError("'" + text.toStdString() + "' is not a valid integer value");
    return value;
}
