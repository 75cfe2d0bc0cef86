#pragma once

#include <stdexcept>

// A failure to learn what the installed ffmpeg can do, or to remember it,
// with the text the user sees (the system's message included).
class EConverterError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
