// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/notifying.h"
#include "platform/canvas.h"
#include "platform/color.h"

// A platform pen with two more settings: Visible and SmallDots (the alternate-pixel pen).
// Every change is reported to the owner, which asks its chart to repaint.
class TChartPen : public TNotifying {
 public:
  TChartPen() = default;
  virtual ~TChartPen() = default;
  TChartPen(const TChartPen&) = default;
  TChartPen& operator=(const TChartPen&) = default;

  TColor Color() const { return color_; }
  void SetColor(TColor color) { Set(color_, color); }
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style) { Set(style_, style); }
  int Width() const { return width_; }
  void SetWidth(int width) { Set(width_, width); }
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode) { Set(mode_, mode); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }
  bool SmallDots() const { return smallDots_; }
  void SetSmallDots(bool smallDots) { Set(smallDots_, smallDots); }

  // Copies every setting of `other` (not its owner), reporting one change if any differed.
  void Assign(const TChartPen& other);

 protected:
  TColor color_ = clBlack;
  TPenStyle style_ = psSolid;
  int width_ = 1;
  TPenMode mode_ = pmCopy;
  bool visible_ = true;
  bool smallDots_ = false;
};

// Minor grid, titles' frames: hidden until asked for.
class TChartHiddenPen : public TChartPen {
 public:
  TChartHiddenPen() { visible_ = false; }
};

// The axis grid.
class TDottedGrayPen : public TChartPen {
 public:
  TDottedGrayPen() {
    color_ = clGray;
    style_ = psDot;
  }
};

// Ticks, minor ticks and inner ticks.
class TDarkGrayPen : public TChartPen {
 public:
  TDarkGrayPen() { color_ = clGray; }
};

// The axis line.
class TChartAxisPen : public TChartPen {
 public:
  TChartAxisPen() { width_ = 2; }
};

// A platform brush whose colour defaults to "not set".
class TChartBrush : public TNotifying {
 public:
  TColor Color() const { return color_; }
  void SetColor(TColor color) { Set(color_, color); }
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style) { Set(style_, style); }

 private:
  TColor color_ = clDefault;
  TBrushStyle style_ = bsSolid;
};
