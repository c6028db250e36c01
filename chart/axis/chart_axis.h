// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <cmath>
#include <unordered_map>
#include <vector>

#include "chart/axis/axis_map.h"
#include "chart/axis/axis_ticks.h"
#include "chart/chart_math.h"
#include "chart/notifying.h"
#include "chart/panel/chart_pen.h"
#include "platform/canvas.h"

class TCustomAxisPanel;
class TChartSeries;
class TChartAxis;

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText };

// The title drawn beside an axis, beyond its labels; the oscilloscope's voltage and time axes
// have none.
class TChartAxisTitle {
 public:
  int Angle() const { return angle_; }
  void SetAngle(int angle);  // 0 .. 359, else ChartException
  const QString& Caption() const { return caption_; }
  void SetCaption(const QString& caption);
  const TCanvasFont& Font() const { return font_; }
  void SetFont(const TCanvasFont& font);

 private:
  friend class TChartAxis;
  void Changed();

  TChartAxis* axis_ = nullptr;
  int angle_ = 0;
  QString caption_;
  TCanvasFont font_;
};

// One side of the plot: the value range shown there, fixed or taken from the series, its pixel
// positions, the mappings between values and pixels, and its labels, ticks and grid. Settings
// repaint the chart when they change; the range actually drawn (RangeMin, RangeMax) and the
// pixels change only at a layout, so between a change and the next paint the mappings keep
// describing what is on the screen.
class TChartAxis {
 public:
  enum TKind { kBottom, kTop, kLeft, kRight, kDepth };
  TChartAxis(TCustomAxisPanel* chart, TKind kind);
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;

  // Fixed facts.
  TCustomAxisPanel* ParentChart() const { return chart_; }
  bool IsHorizontal() const { return kind_ == kBottom || kind_ == kTop; }
  bool IsOtherSide() const { return kind_ == kTop || kind_ == kRight || kind_ == kDepth; }
  bool IsDepth() const { return kind_ == kDepth; }

  // --- Range -------------------------------------------------------------------------------
  bool Automatic() const { return automatic_; }
  void SetAutomatic(bool automatic);
  bool AutomaticMinimum() const { return automaticMinimum_; }
  void SetAutomaticMinimum(bool automatic);
  bool AutomaticMaximum() const { return automaticMaximum_; }
  void SetAutomaticMaximum(bool automatic);
  double Minimum() const { return minimum_; }
  void SetMinimum(double value);  // AxisException when above Maximum (except while loading)
  double Maximum() const { return maximum_; }
  void SetMaximum(double value);  // AxisException when below Minimum (except while loading)
  double Increment() const { return increment_; }
  void SetIncrement(double value);  // AxisException when negative
  bool Inverted() const { return inverted_; }
  void SetInverted(bool inverted);
  bool Logarithmic() const { return logarithmic_; }
  void SetLogarithmic(bool logarithmic);
  int LogarithmicBase() const { return logarithmicBase_; }
  void SetLogarithmicBase(int base) { Set(logarithmicBase_, base); }

  // Turns the automatic flags off, orders the ends and keeps the range at least 1e-10 wide.
  void SetAxisRange(double min, double max);
  // Shifts both ends by delta (the wheel), then repaints at once. With checkLimits, only
  // towards series values that lie beyond the range.
  void ScrollAxis(double delta, bool checkLimits);
  // Adds delta to both ends, without checks and without turning the automatic flags off.
  void ShiftRange(double delta);

  // --- Labels --------------------------------------------------------------------------------
  bool Labels() const { return labels_; }
  void SetLabels(bool labels) { Set(labels_, labels); }
  const TCanvasFont& LabelsFont() const { return labelsFont_; }
  void SetLabelsFont(const TCanvasFont& font);
  int LabelsAngle() const { return labelsAngle_; }
  void SetLabelsAngle(int angle);  // 0 .. 359, else ChartException
  int LabelsSeparation() const { return labelsSeparation_; }
  void SetLabelsSeparation(int percent);  // AxisException when negative
  int LabelsSize() const { return labelsSize_; }
  void SetLabelsSize(int size) { Set(labelsSize_, size); }
  bool LabelsOnAxis() const { return labelsOnAxis_; }
  void SetLabelsOnAxis(bool onAxis) { Set(labelsOnAxis_, onAxis); }
  TAxisLabelStyle LabelStyle() const { return labelStyle_; }
  void SetLabelStyle(TAxisLabelStyle style) { Set(labelStyle_, style); }
  const QString& AxisValuesFormat() const { return axisValuesFormat_; }
  void SetAxisValuesFormat(const QString& format) { Set(axisValuesFormat_, format); }
  bool RoundFirstLabel() const { return roundFirstLabel_; }
  void SetRoundFirstLabel(bool round) { Set(roundFirstLabel_, round); }
  bool TickOnLabelsOnly() const { return tickOnLabelsOnly_; }
  void SetTickOnLabelsOnly(bool only) { Set(tickOnLabelsOnly_, only); }
  const QString& DateTimeFormat() const { return dateTimeFormat_; }
  void SetDateTimeFormat(const QString& format) { Set(dateTimeFormat_, format); }
  bool ExactDateTime() const { return exactDateTime_; }
  void SetExactDateTime(bool exact) { Set(exactDateTime_, exact); }
  bool LabelsMultiLine() const { return labelsMultiLine_; }
  void SetLabelsMultiLine(bool multiLine) { Set(labelsMultiLine_, multiLine); }

  // --- Lines ---------------------------------------------------------------------------------
  TChartAxisPen Axis;
  TDarkGrayPen Ticks;
  TDarkGrayPen TicksInner;
  TDarkGrayPen MinorTicks;
  TDottedGrayPen Grid;
  TChartHiddenPen MinorGrid;
  int TickLength() const { return tickLength_; }
  void SetTickLength(int length) { Set(tickLength_, length); }
  int TickInnerLength() const { return tickInnerLength_; }
  void SetTickInnerLength(int length) { Set(tickInnerLength_, length); }
  int MinorTickLength() const { return minorTickLength_; }
  void SetMinorTickLength(int length) { Set(minorTickLength_, length); }
  int MinorTickCount() const { return minorTickCount_; }
  void SetMinorTickCount(int count) { Set(minorTickCount_, count); }
  bool GridCentered() const { return gridCentered_; }
  void SetGridCentered(bool centered) { Set(gridCentered_, centered); }

  // --- Place ---------------------------------------------------------------------------------
  bool Visible() const { return visible_; }  // the setting; IsVisible applies the chart's rule
  void SetVisible(bool visible) { Set(visible_, visible); }
  double StartPosition() const { return startPosition_; }
  void SetStartPosition(double percent) { Set(startPosition_, percent); }
  double EndPosition() const { return endPosition_; }
  void SetEndPosition(double percent) { Set(endPosition_, percent); }
  double PositionPercent() const { return positionPercent_; }
  void SetPositionPercent(double percent) { Set(positionPercent_, percent); }
  TChartAxisTitle Title;
  int TitleSize() const { return titleSize_; }
  void SetTitleSize(int size) { Set(titleSize_, size); }

  // Shown on this paint: the chart shows axes, this one is on, and (unless no active series
  // exists) some active series draws against it. The depth axis needs a 3-D chart.
  bool IsVisible() const;

  // --- Layout state --------------------------------------------------------------------------
  // The mapping of the last layout, and the positions across the axis of its line, labels and
  // title. Only a layout changes them (and Inverted and Logarithmic, which remap at once).
  const TAxisMap& Map() const { return map_; }
  double RangeMin() const { return map_.RangeMin(); }
  double RangeMax() const { return map_.RangeMax(); }
  double RangeSpan() const { return map_.RangeSpan(); }
  int PixelStart() const { return map_.PixelStart(); }
  int PixelEnd() const { return map_.PixelEnd(); }
  int PixelLength() const { return map_.PixelLength(); }
  int PixelCenter() const { return map_.PixelCenter(); }
  int AxisLinePos() const { return axisLinePos_; }
  int LabelsPos() const { return labelsPos_; }
  int TitlePos() const { return titlePos_; }

  // Takes the ends from the series when automatic, then copies them into the drawn range.
  void AdjustRange();
  // Pixel ends along PlotRect.
  void ComputeAxisPixels();
  // Moves the automatic ends outward by the margins the series ask for, in pixels.
  void WidenForSeriesMargins();

  int ValueToPixel(double value) const { return map_.ValueToPixel(value); }
  double PixelToValue(int pixel) const { return map_.PixelToValue(pixel); }

  // True when (x, y) lies on the band of the axis line and its labels.
  bool AxisHitTest(int x, int y) const;

  // --- Labels, ticks and grid (layout and paint) ----------------------------------------------
  // Layout steps. They measure label texts, so they set the canvas font.
  // Cuts the axis's room (title, labels, ticks) off `rect` on its own side.
  void ReserveAxisRoom(TRect& rect);
  // Places the axis line and computes its labels, ticks and grid for the current map.
  void ComputeTicks();
  // The label step for the current range and PixelLength.
  double LabelStep();
  // Largest label size along the axis (width on horizontal axes, height on vertical ones).
  int LargestLabelSize();
  // Room the labels take across the axis when they do not read along it.
  int WidestLabel();
  // Room the title takes across the axis; 0 without a caption.
  int TitleRoom();
  // The text of a label, as the chart's label hook leaves it.
  QString AxisLabelText(double value);

  TAxisLabelStyle EffectiveLabelStyle() const;
  int TickRoom() const;

  // Draws the line, labels, ticks and grid of the last layout.
  void DrawAxis();

  void Changed();

 private:
  template <class T>
  void Set(T& field, const T& value) {
    SetAndNotify(field, value, [this] { Changed(); });
  }
  void Remap(double rangeMin, double rangeMax, int pixelStart, int pixelEnd) {
    map_ =
        TAxisMap(rangeMin, rangeMax, pixelStart, pixelEnd, IsHorizontal(), inverted_, logarithmic_);
  }
  bool SeriesRange(double& low, double& high) const;
  std::vector<TChartSeries*> SeriesOnAxis(bool activeOnly) const;
  int LabelWidth(double value);
  QString FormattedValue(double value) const;
  int LabelHeight(double value);
  int PlotSizeAcross() const;
  int PositionShift() const;

  void DrawTitle();
  void DrawLabel(int pixel, const QString& text);
  void DrawTicksAndGrid();
  void DrawTickSet(const std::vector<int>& positions, int offset, int length);
  void DrawGridLines(const TChartPen& pen, const std::vector<int>& positions);

  TCustomAxisPanel* chart_;
  TKind kind_;

  bool automatic_ = true;
  bool automaticMinimum_ = true;
  bool automaticMaximum_ = true;
  double minimum_ = 0;
  double maximum_ = 0;
  double increment_ = 0;
  bool inverted_ = false;
  bool logarithmic_ = false;
  int logarithmicBase_ = 10;

  bool labels_ = true;
  TCanvasFont labelsFont_;
  int labelsAngle_ = 0;
  int labelsSeparation_ = 10;
  int labelsSize_ = 0;
  bool labelsOnAxis_ = true;
  TAxisLabelStyle labelStyle_ = talAuto;
  QString axisValuesFormat_ = QStringLiteral("#,##0.###");
  bool roundFirstLabel_ = true;
  bool tickOnLabelsOnly_ = true;
  QString dateTimeFormat_;
  bool exactDateTime_ = true;
  bool labelsMultiLine_ = false;

  int tickLength_ = 4;
  int tickInnerLength_ = 0;
  int minorTickLength_ = 2;
  int minorTickCount_ = 3;
  bool gridCentered_ = false;

  bool visible_ = true;
  double startPosition_ = 0;
  double endPosition_ = 100;
  double positionPercent_ = 0;
  int titleSize_ = 0;

  TAxisMap map_;
  int axisLinePos_ = 0;
  int labelsPos_ = 0;
  int titlePos_ = 0;
  TAxisTicks ticks_;
  mutable std::unordered_map<double, QString> formatted_;
  mutable QString formattedSeparators_;
};
