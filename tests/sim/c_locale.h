// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <clocale>
#include <string>

// Sets the C library's locale for the life of the object, as QCoreApplication does from the
// environment at start-up, and puts the previous one back.
class TCLocale {
 public:
  explicit TCLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~TCLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  TCLocale(const TCLocale&) = delete;
  TCLocale& operator=(const TCLocale&) = delete;

  bool Ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

// The locales a classroom PC may run the program under: the C library then writes "1,5" in the
// second. scripts/install-deps.sh generates them.
inline constexpr const char* kCLocales[] = {"C", "fr_FR.UTF-8", "en_US.UTF-8"};
