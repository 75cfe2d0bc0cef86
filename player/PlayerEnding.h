#pragma once

#include <chrono>

class TJvCreateProcess;

// How long a player that was asked to quit may take before its pipes are
// taken away from it.
inline constexpr std::chrono::milliseconds PlayerQuitGrace{3000};

// Asks the player to quit and lets it end on its own, without anyone
// waiting: the runner leaves its window, reports to nobody and frees itself
// once the player has ended. A player that ignores the request loses its
// input and output after PlayerQuitGrace, which ends a player that keeps
// writing status lines. A runner that watches nothing is left alone.
void LetPlayerEnd(TJvCreateProcess* runner);
