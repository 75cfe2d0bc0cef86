#pragma once

#include <stdexcept>

// Every failure of the settings store: the engine's own message, or one of
// the binding's texts ("Cannot load client DLL: …", "SQLite function is not linked").
class ESqliteError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
