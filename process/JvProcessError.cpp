#include "process/JvProcessError.h"

#include <cstring>

std::string JvSystemErrorText(int code)
{
    if (code == 0)
        return "A call to an OS function failed";
    char buffer[256];
    const char* description = ::strerror_r(code, buffer, sizeof buffer);
    return "System Error.  Code: " + std::to_string(code) + ".\n" + description;
}

void RaiseJvSystemError(int code)
{
    throw EJvProcessError(JvSystemErrorText(code));
}
