#pragma once

// A violated property ends the run with abort(), which libFuzzer records as a
// crash together with the input that caused it.

#include <cstdio>
#include <cstdlib>

[[noreturn]] inline void PropertyViolated(const char* property, const char* file, int line)
{
    std::fprintf(stderr, "%s:%d: property violated: %s\n", file, line, property);
    std::abort();
}

#define FUZZ_REQUIRE(property) ((property) ? void() : PropertyViolated(#property, __FILE__, __LINE__))
