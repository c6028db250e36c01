// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>
#include <concepts>
#include <cstddef>
#include <functional>
#include <type_traits>
#include <utility>

// One listener of a chart event, set and cleared as a plain function member (`OnZoom = f;`,
// `OnZoom = nullptr;`). A second listener set over the first would silently take its place:
// debug builds stop there, and whoever needs several listeners connects to the chart's signal
// raised beside the hook.
template <class Signature>
class TChartHook {
 public:
  TChartHook() = default;
  TChartHook(const TChartHook&) = delete;
  TChartHook& operator=(const TChartHook&) = delete;

  TChartHook& operator=(std::nullptr_t) {
    listener_ = nullptr;
    return *this;
  }
  template <class F>
  requires(!std::same_as<std::remove_cvref_t<F>, TChartHook> &&
           std::constructible_from<std::function<Signature>, F>) TChartHook&
  operator=(F&& listener) {
    std::function<Signature> next(std::forward<F>(listener));
    Q_ASSERT_X(!listener_ || !next, "TChartHook",
               "this chart event has a listener already: connect to its signal instead");
    listener_ = std::move(next);
    return *this;
  }

  explicit operator bool() const { return static_cast<bool>(listener_); }
  template <class... Args>
  void operator()(Args&&... args) const {
    listener_(std::forward<Args>(args)...);
  }

 private:
  std::function<Signature> listener_;
};
