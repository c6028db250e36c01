// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>
#include <string>

// A refused axis setting; the stored value is left as it was.
class AxisException : public std::runtime_error {
 public:
  explicit AxisException(const std::string& message) : std::runtime_error(message) {}
};

// A refused chart setting (the angle checks); the stored value is left as it was.
class ChartException : public std::runtime_error {
 public:
  explicit ChartException(const std::string& message) : std::runtime_error(message) {}
};
