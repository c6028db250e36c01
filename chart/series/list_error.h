// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <stdexcept>

// Raised when a point index lies outside a series' lists; the lists are left as they were.
class EListError : public std::out_of_range {
 public:
  explicit EListError(int index);
  int Index() const { return index_; }

 private:
  int index_;
};
