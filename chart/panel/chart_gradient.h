// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "chart/notifying.h"
#include "platform/color.h"

enum TGradientDirection {
  gdTopBottom,
  gdBottomTop,
  gdLeftRight,
  gdRightLeft,
  gdFromCenter,
  gdFromTopLeft,
  gdFromBottomLeft
};

// The panel's two-colour background.
class TChartGradient : public TNotifying {
 public:
  TGradientDirection Direction() const { return direction_; }
  void SetDirection(TGradientDirection direction) { Set(direction_, direction); }
  TColor StartColor() const { return startColor_; }
  void SetStartColor(TColor color) { Set(startColor_, color); }
  TColor EndColor() const { return endColor_; }
  void SetEndColor(TColor color) { Set(endColor_, color); }
  bool Visible() const { return visible_; }
  void SetVisible(bool visible) { Set(visible_, visible); }

 private:
  TGradientDirection direction_ = gdTopBottom;
  TColor startColor_ = clWhite;
  TColor endColor_ = clYellow;
  bool visible_ = false;
};
