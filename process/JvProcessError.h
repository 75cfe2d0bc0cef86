#pragma once

#include <stdexcept>
#include <string>

// Every failure of the console process runner, with the text the user sees.
class EJvProcessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// "System Error.  Code: %d.\n%s" for an errno value.
std::string JvSystemErrorText(int code);
[[noreturn]] void RaiseJvSystemError(int code);
