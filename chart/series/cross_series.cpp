// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/cross_series.h"

#include <algorithm>
#include <bit>

#include "chart/chart_exceptions.h"

namespace {

constexpr int kBlock = 1024;  // points mapped at a time

// Sets bit `bit` of line `line` in a bitmap of `words` words a line; both lie inside it.
void Mark(std::vector<std::uint64_t>& bitmap, std::size_t words, int line, int bit) {
  const auto at = static_cast<std::size_t>(bit);
  bitmap[static_cast<std::size_t>(line) * words + at / 64] |= 1ULL << (at % 64);
}

}  // namespace

TCrossSeries::TCrossSeries(QObject* owner) : TChartSeries(owner) {
  // A centre just beyond the plot's left or right edge still shows an arm inside it: every
  // point is visited, and culled by pixel.
  ClipToVisibleRange = false;
}

void TCrossSeries::SetArmLength(int pixels) {
  if (pixels < 0 || pixels > kMaxArm) {
    throw ChartException("La longueur des bras doit être comprise entre 0 et 1000\u00A0pixels");
  }
  SetAndRepaint(armLength_, pixels);
}

void TCrossSeries::SetArmHalfWidth(int pixels) {
  if (pixels < 0 || pixels > kMaxArm) {
    throw ChartException(
        "La demi-épaisseur des bras doit être comprise entre 0 et 1000\u00A0pixels");
  }
  SetAndRepaint(armHalfWidth_, pixels);
}

void TCrossSeries::SetSeriesColor(TColor color) {
  TChartSeries::SetSeriesColor(color);
  pen_.SetColor(color);
}

void TCrossSeries::DrawAllPoints() {
  TChartCanvas3D& canvas = ParentChart()->Canvas();
  canvas.UseChartPen(pen_);
  const TRect& plot = ParentChart()->PlotRect;
  // Centres this close outside the plot still show an arm, or the side of one, inside it.
  const int margin = std::max(armLength_, armHalfWidth_);
  reach_ = {plot.Left - margin, plot.Top - margin, plot.Right + margin, plot.Bottom + margin};
  if (reach_.IsEmpty() || FirstVisibleIndex < 0) return;
  MarkCentres();
  ends_.clear();
  AddArms(byRow_, reach_.Height(), reach_.Width(), true);
  AddArms(byColumn_, reach_.Width(), reach_.Height(), false);
  canvas.Segments(ends_);
}

void TCrossSeries::MarkCentres() {
  const int width = reach_.Width(), height = reach_.Height();
  byRow_.assign(static_cast<std::size_t>(height) * Words(width), 0);
  byColumn_.assign(static_cast<std::size_t>(width) * Words(height), 0);
  const TAxisMap horiz = ResolvedHorizAxis()->Map(), vert = ResolvedVertAxis()->Map();
  const double* xs = XValues().StoredValues();
  const double* ys = YValues().StoredValues();
  int columns[kBlock], rows[kBlock];
  for (int i = FirstVisibleIndex; i <= LastVisibleIndex; i += kBlock) {
    const int count = std::min(kBlock, LastVisibleIndex + 1 - i);
    horiz.ValuesToPixels(xs + i, XValues().Multiplier(), columns, count);
    vert.ValuesToPixels(ys + i, YValues().Multiplier(), rows, count);
    for (int k = 0; k < count; ++k) {
      const int x = columns[k] - reach_.Left, y = rows[k] - reach_.Top;
      if (x < 0 || x >= width || y < 0 || y >= height) continue;
      // An arm's rows beyond the reach lie wholly outside the plot.
      for (int across = std::max(0, y - armHalfWidth_);
           across <= std::min(height - 1, y + armHalfWidth_); ++across)
        Mark(byRow_, Words(width), across, x);
      for (int across = std::max(0, x - armHalfWidth_);
           across <= std::min(width - 1, x + armHalfWidth_); ++across)
        Mark(byColumn_, Words(height), across, y);
    }
  }
}

// The arms along each of `lines` lines of `length` pixels whose centres `bits` marks, an arm
// joining the one before when they overlap or touch.
void TCrossSeries::AddArms(const std::vector<std::uint64_t>& bits, int lines, int length,
                           bool horizontal) {
  const std::size_t words = Words(length);
  for (int line = 0; line < lines; ++line) {
    const std::uint64_t* marks = bits.data() + static_cast<std::size_t>(line) * words;
    int start = 0, end = -1;  // the arm being extended, end included; none while end < start
    for (std::size_t w = 0; w < words; ++w) {
      for (std::uint64_t word = marks[w]; word != 0; word &= word - 1) {
        const int centre = static_cast<int>(w * 64) + std::countr_zero(word);
        if (end >= start && centre - armLength_ <= end + 1) {
          end = centre + armLength_;
          continue;
        }
        if (end >= start) AddArm(line, start, end, horizontal);
        start = centre - armLength_;
        end = centre + armLength_;
      }
    }
    if (end >= start) AddArm(line, start, end, horizontal);
  }
}

// A line's end point is left out: the arm runs one pixel past `end`.
void TCrossSeries::AddArm(int line, int start, int end, bool horizontal) {
  if (horizontal) {
    const int y = reach_.Top + line;
    ends_.push_back({reach_.Left + start, y});
    ends_.push_back({reach_.Left + end + 1, y});
  } else {
    const int x = reach_.Left + line;
    ends_.push_back({x, reach_.Top + start});
    ends_.push_back({x, reach_.Top + end + 1});
  }
}
