// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

// Where the build lays out the program's data, and where their sources live.
inline std::filesystem::path RunDir() {
  return SIMHACHEUR_RUN_DIR;
}
inline std::filesystem::path SourceDir() {
  return SIMHACHEUR_SOURCE_DIR;
}
