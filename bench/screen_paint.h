// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "chart/chart.h"
#include "platform/canvas.h"

// What the screen benchmarks share: the screen size, the baseline of a screen paint, and the
// paint they time. The bench's scenes are in tests/support/bench_scene.h.

inline constexpr int kScreenWidth = 1520;
inline constexpr int kScreenHeight = 760;

// The least any paint of the oscilloscope screen must do: a 256-band vertical gradient filled
// into an image, one fillRect per band, and one copy of it.
inline void GradientAndCopy(benchmark::State& state) {
  QImage screen(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  QImage target(kScreenWidth, kScreenHeight, QImage::Format_RGB32);
  for (auto _ : state) {
    {
      QPainter painter(&screen);
      for (int band = 0; band < 256; ++band) {
        const int top = kScreenHeight - (band + 1) * kScreenHeight / 256;
        const int bottom = kScreenHeight - band * kScreenHeight / 256;
        painter.fillRect(0, top, kScreenWidth, bottom - top, QColor(0x40 + band / 2, 0xAC, 0x84));
      }
    }
    QPainter copy(&target);
    copy.drawImage(0, 0, screen);
    benchmark::DoNotOptimize(target.constBits());
  }
}

// Full paints of `chart` into one off-screen image, as the screen benchmarks time them.
inline void PaintRepeatedly(benchmark::State& state, TChart& chart) {
  QImage target(chart.width(), chart.height(), QImage::Format_RGB32);
  TCanvas canvas(&target);
  for (auto _ : state) {
    chart.InvalidateChart();
    chart.PaintChart(&canvas, chart.ClientRect());
    benchmark::DoNotOptimize(target.constBits());
  }
}
