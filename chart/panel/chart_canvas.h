// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QString>
#include <memory>
#include <vector>

#include "chart/panel/chart_gradient.h"
#include "chart/panel/chart_pen.h"
#include "platform/canvas.h"

// The chart's drawing operations, in two dimensions, over the platform canvas. It draws on the
// off-screen image while a buffered paint runs and owns that image between paints.
class TChartCanvas3D {
 public:
  TChartCanvas3D() = default;
  TChartCanvas3D(const TChartCanvas3D&) = delete;
  TChartCanvas3D& operator=(const TChartCanvas3D&) = delete;

  TCanvas& Surface() { return canvas_; }
  const TCanvas& Surface() const { return canvas_; }
  void SetSurface(QImage* image) { canvas_.SetTarget(image); }

  TCanvasPen& Pen() { return canvas_.Pen; }
  TCanvasBrush& Brush() { return canvas_.Brush; }
  TCanvasFont& Font() { return canvas_.Font; }

  // Outline with the pen (right and bottom edges at x1 - 1 and y1 - 1), inside with the brush.
  void DrawRectangle(int x0, int y0, int x1, int y1) { canvas_.Rectangle(x0, y0, x1, y1); }
  // Lines whose end point is not drawn.
  void DrawHorizLine(int x0, int x1, int y) { LineSegment(x0, y, x1, y); }
  void DrawVertLine(int x, int y0, int y1) { LineSegment(x, y0, x, y1); }
  // A path of line segments through (xs[k], ys[k]), each end point left out as in LineTo. A
  // point repeating the one before it makes no line and is not counted as one.
  void Polyline(const int* xs, const int* ys, int count);
  // Separate segments given by their two ends, one after the other.
  void Segments(const std::vector<TPoint>& ends) {
    LinesDrawn += static_cast<int>(ends.size() / 2);
    canvas_.Segments(ends.data(), static_cast<int>(ends.size() / 2));
  }
  // DrawVertLine at each x in turn, drawn row by row.
  void DrawVertLines(const std::vector<int>& xs, int y0, int y1) {
    LinesDrawn += static_cast<int>(xs.size());
    canvas_.VertLines(xs.data(), static_cast<int>(xs.size()), y0, y1);
  }
  void LineSegment(int x0, int y0, int x1, int y1) {
    canvas_.MoveTo(x0, y0);
    LineTo(x1, y1);
  }
  void MoveTo(int x, int y) { canvas_.MoveTo(x, y); }
  void LineTo(int x, int y) {
    ++LinesDrawn;
    canvas_.LineTo(x, y);
  }

  // Lines since the last paint began, each step of a polyline to a new point counting as one:
  // what a trace costs the surface.
  int LinesDrawn = 0;

  void PutText(int x, int y, const QString& text) { canvas_.TextOut(x, y, text); }
  void SetTextAlignment(int flags) { canvas_.TextAlign = flags; }
  // Writes the text in the canvas font, its box (TextWidthOf × TextHeightOf) centred on
  // (cx, cy) and turned `angle` degrees counter-clockwise: 90 reads upwards, 270 downwards.
  // Axis titles only, which lie outside the plot: the clip rectangle is not applied.
  void PutRotatedText(int cx, int cy, int angle, const QString& text);
  int TextWidthOf(const QString& text) const { return canvas_.TextWidth(text); }
  int TextHeightOf(const QString& text) const { return canvas_.TextHeight(text); }
  int LineHeight() const { return TextHeightOf(QStringLiteral("W")); }

  void FillSolid(const TRect& rect) { canvas_.FillRect(rect); }
  // At most 256 bands from `start` (bottom edge for gdTopBottom) to `end` (top edge).
  void FillGradient(const TRect& rect, TColor start, TColor end, TGradientDirection direction);

  void ClipToRect(const TRect& rect) { canvas_.IntersectClipRect(rect); }
  void RemoveClip() { canvas_.RemoveClip(); }

  // An invisible pen draws nothing; a visible one-pixel pen with SmallDots sets every other
  // pixel; otherwise the canvas pen copies colour, style, width and mode.
  void UseChartPen(const TChartPen& pen);
  void SetBackgroundMode(TBackgroundMode mode) { canvas_.BackgroundMode = mode; }
  void SetBackgroundColor(TColor color) { canvas_.BackgroundColor = color; }
  void ResetCanvasState();

  bool BufferedDisplay = true;
  std::unique_ptr<QImage> BufferImage;  // absent until the first buffered paint
  bool BufferDirty = true;

 private:
  TCanvas canvas_;
};
