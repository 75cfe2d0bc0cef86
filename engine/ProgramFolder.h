#pragma once

#include <QString>

// The folder of the running program, never the current directory.
QString ProgramFolder();

// Where converted files go when no folder was chosen.
QString DefaultOutputDir(const QString& programFolder);

// The maker's product page, opened by the Http button.
inline constexpr const char* ProductPageUrl = "https://www.example.org/movarin/";
