// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

// Chart settings repaint only when a value really changes: a setter that stores the same value
// again must not cost a paint, and one that stores a new one must never forget to ask for it.
template <class T, class Changed>
void SetAndNotify(T& field, const T& value, Changed&& changed) {
  if (field == value) return;
  field = value;
  changed();
}

// A group of settings (a pen, a wall, a title...) that tells its owner of every change.
class TNotifying {
 public:
  std::function<void()> OnChange;

 protected:
  void Changed() const {
    if (OnChange) OnChange();
  }
  template <class T>
  void Set(T& field, const T& value) {
    SetAndNotify(field, value, [this] { Changed(); });
  }
};
