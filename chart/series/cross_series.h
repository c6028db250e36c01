// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <vector>

#include "chart/panel/chart_pen.h"
#include "chart/series/chart_series.h"

// A marker series: a bold upright cross at each point, in the series colour. Each arm runs
// ArmLength pixels from the centre and is 2 × ArmHalfWidth + 1 pixels thick; the default,
// 11 pixels across with arms 3 thick, stands out from a dotted grid and from a line drawn over
// it, even on a projector.
//
// However crowded the points, the pixels are those of one cross per point, in far fewer lines:
// each point marks the rows its horizontal arm covers on one bitmap and the columns of its
// vertical arm on another (a point on a pixel already marked costs nothing more), then the
// arms along each row and each column are merged where they touch.
class TCrossSeries final : public TChartSeries {
  Q_OBJECT

 public:
  // Past this, an arm would reach across any screen.
  static constexpr int kMaxArm = 1000;

  explicit TCrossSeries(QObject* owner = nullptr);

  // Pixels from a cross's centre to the tip of each arm: 0 .. kMaxArm, else ChartException.
  int ArmLength() const { return armLength_; }
  void SetArmLength(int pixels);
  // Rows (columns) of an arm on each side of the centre's: 0 .. kMaxArm, else ChartException.
  int ArmHalfWidth() const { return armHalfWidth_; }
  void SetArmHalfWidth(int pixels);

  void SetSeriesColor(TColor color) override;
  void DrawAllPoints() override;

 private:
  static std::size_t Words(int bits) { return static_cast<std::size_t>(bits + 63) / 64; }
  void MarkCentres();
  void AddArms(const std::vector<std::uint64_t>& bits, int lines, int length, bool horizontal);
  void AddArm(int line, int start, int end, bool horizontal);

  int armLength_ = 5;
  int armHalfWidth_ = 1;
  TChartPen pen_;  // solid and one pixel wide, which merging the arms relies on
  TRect reach_;    // the plot and the margin around it where a centre still shows an arm
  std::vector<std::uint64_t> byRow_, byColumn_;
  std::vector<TPoint> ends_;
};
