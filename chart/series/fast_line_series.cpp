// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/series/fast_line_series.h"

#include <algorithm>
#include <cstdlib>

#include "chart/chart_math.h"
#include "chart/panel/event_shield.h"
#include "platform/cpu_features.h"

TFastLineSeries::TFastLineSeries(QObject* owner) : TChartSeries(owner) {
  KeepEdgePoints = true;
  linePen_.OnChange = [this] {
    // Keep the series colour in step with a pen coloured directly.
    if (SeriesColor() != linePen_.Color()) {
      TChartSeries::SetSeriesColor(linePen_.Color());
    } else {
      RequestRepaint();
    }
  };
}

void TFastLineSeries::SetLinePen(const TChartPen& pen) {
  linePen_.Assign(pen);
  SetSeriesColor(linePen_.Color());
}

void TFastLineSeries::SetSeriesColor(TColor color) {
  TChartSeries::SetSeriesColor(color);
  linePen_.SetColor(color);
}

void TFastLineSeries::PrepareLinePen() {
  if (ParentChart() == nullptr) return;
  TChartCanvas3D& canvas = ParentChart()->Canvas();
  canvas.UseChartPen(linePen_);
  canvas.Brush().Style = bsClear;
}

namespace {

// The points of one paint go to the canvas this many at a time: enough for the canvas's
// preparation to cost nothing per point, few enough for their pixels to stay in the cache, and
// no buffer grows with the trace.
constexpr int kPathBlock = 2048;

// A column with this many points or more is drawn from the bounds of its rows; with fewer,
// mapping each point costs less than finding where the column ends.
constexpr int kDenseColumn = 16;

// A trace as one paint sees it: the axes' maps read once, and the stored arrays.
struct MappedTrace {
  TAxisMap horiz, vert;
  const double* xs;
  const double* ys;
  double xMultiplier, yMultiplier;

  int Column(int i) const { return horiz.ValueToPixel(xs[i] * xMultiplier); }
  int Row(int i) const { return vert.ValueToPixel(ys[i] * yMultiplier); }
};

// A path handed to the canvas a block at a time, each block starting at the last point of the
// one before, with no line counted: the caller counts the lines the path stands for.
class PathBuffer {
 public:
  PathBuffer(TCanvas& canvas, int x, int y) : canvas_(canvas) {
    xs_[0] = x;
    ys_[0] = y;
  }
  ~PathBuffer() { Flush(); }

  void Add(int x, int y) {
    if (count_ == kPathBlock + 1) [[unlikely]]
      Flush();
    xs_[count_] = x;
    ys_[count_] = y;
    ++count_;
  }
  int LastX() const { return xs_[count_ - 1]; }
  int LastY() const { return ys_[count_ - 1]; }

 private:
  void Flush() {
    if (count_ > 1) canvas_.Polyline(xs_, ys_, count_);
    xs_[0] = LastX();
    ys_[0] = LastY();
    count_ = 1;
  }

  TCanvas& canvas_;
  int xs_[kPathBlock + 1], ys_[kPathBlock + 1];
  int count_ = 1;
};

// The polyline merges a column's vertical steps into one span only for a solid one-pixel pen
// in copy mode; a clear pen draws nothing either way. Other pens draw every step.
bool MergesColumns(const TCanvasPen& pen) {
  if (pen.Style == psClear) return true;
  return !pen.AlternatePixels && pen.Width <= 1 && pen.Mode == pmCopy &&
         (pen.Style == psSolid || pen.Style == psInsideFrame);
}

// The first index after `from`, up to `end`, whose point lies outside `column`, where `from`
// lies in it: galloping from `width` points on (the width of the column before), then
// halving. Columns never turn back along the trace, which the caller has made sure of.
int ColumnEnd(const MappedTrace& trace, int from, int end, int column, int width) {
  const auto outside = [&](int i) { return i == end || trace.Column(i) != column; };
  int in = from, out = from + std::clamp(width, 1, end - from);
  if (outside(out)) {
    for (int step = 1; out - step > in; step *= 2) {
      if (!outside(out - step)) {
        in = out - step;
        break;
      }
      out -= step;
    }
  } else {
    in = out;
    out = end;
    for (int step = 1; in + step < end; step *= 2) {
      if (outside(in + step)) {
        out = in + step;
        break;
      }
      in += step;
    }
  }
  while (out - in > 1) {
    const int mid = in + (out - in) / 2;
    (outside(mid) ? out : in) = mid;
  }
  return out;
}

// Points from + 1 .. end - 1 of column x, the path standing at point `from`: each point whose
// row differs from the one before. Returns the lines drawn.
int DrawSparseColumn(const MappedTrace& trace, int from, int end, int x, PathBuffer& path) {
  int lines = 0, row = path.LastY();
  for (int i = from + 1; i < end; ++i) {
    const int next = trace.Row(i);
    if (next == row) continue;
    path.Add(x, next);
    row = next;
    ++lines;
  }
  return lines;
}

// The same pixels and count as DrawSparseColumn, from the rows' bounds. The steps down one
// column cover every row between the lowest and the highest of its points but the final row,
// and that one too unless the path only reaches it at the end: when it lies between the
// others, or when a step leaves it. Two or four points draw the same.
int DrawDenseColumn(const MappedTrace& trace, int from, int end, int x, PathBuffer& path) {
  const int lastRow = trace.Row(end - 1);
  const TAxisMap::PixelRun run =
      trace.vert.RunOfPixels(trace.ys + from, trace.yMultiplier, end - from, path.LastY(), lastRow);
  if (run.changes == 0) return 0;  // on one row throughout
  const int lowest = run.lowest, highest = run.highest;
  if (run.leaves == 0 && (lastRow == lowest || lastRow == highest)) {
    // Reached at the end only, from the other side: the span stops short of it.
    path.Add(x, lastRow == lowest ? highest : lowest);
  } else {
    path.Add(x, lowest);
    path.Add(x, highest);
    path.Add(x, highest != lastRow ? highest : lowest);  // a step that leaves the final row
  }
  path.Add(x, lastRow);
  return run.changes;
}

// Points first .. last, the pen standing at point `first`, a column at a time. Returns the
// lines drawn.
int DrawColumns(const MappedTrace& trace, int first, int last, TCanvas& canvas, TPoint& end) {
  int column = trace.Column(first);
  PathBuffer path(canvas, column, trace.Row(first));
  int lines = 0, width = kDenseColumn;
  for (int i = first;;) {
    const int next = ColumnEnd(trace, i, last + 1, column, width);
    width = next - i;
    // What the next column reads first, if it is as wide, comes from memory while this one is
    // drawn: the columns around its end, and its final row. Its other rows follow this
    // column's in memory, and the batch map reads them ahead itself.
    if (width <= last - next) {
      PrefetchForRead(trace.xs + next + width - 1, 2 * sizeof(double));
      PrefetchForRead(trace.ys + next + width - 1, sizeof(double));
    }
    lines += width >= kDenseColumn ? DrawDenseColumn(trace, i, next, column, path)
                                   : DrawSparseColumn(trace, i, next, column, path);
    if (next > last) break;
    i = next;
    column = trace.Column(i);
    path.Add(column, trace.Row(i));
    ++lines;  // a new column: a new pixel
  }
  end = {path.LastX(), path.LastY()};
  return lines;
}

// Points first .. last, the pen standing at point `first`, mapped a block at a time and drawn
// as polylines, each starting at the last point of the block before (a point on the pixel
// drawn before it makes no line there either).
TPoint DrawPoints(const MappedTrace& trace, int first, int last, TChartCanvas3D& canvas) {
  int xs[kPathBlock + 1], ys[kPathBlock + 1];
  xs[0] = trace.Column(first);
  ys[0] = trace.Row(first);
  for (int i = first + 1; i <= last; i += kPathBlock) {
    const int count = std::min(kPathBlock, last + 1 - i);
    trace.horiz.ValuesToPixels(trace.xs + i, trace.xMultiplier, xs + 1, count);
    trace.vert.ValuesToPixels(trace.ys + i, trace.yMultiplier, ys + 1, count);
    // The next block comes from memory while this one is drawn.
    const int next = std::min(kPathBlock, last + 1 - (i + count));
    if (next > 0) {
      const auto bytes = static_cast<std::size_t>(next) * sizeof(double);
      PrefetchForRead(trace.xs + i + count, bytes);
      PrefetchForRead(trace.ys + i + count, bytes);
    }
    canvas.Polyline(xs, ys, count + 1);
    xs[0] = xs[count];
    ys[0] = ys[count];
  }
  return {xs[0], ys[0]};
}

// Points first .. last go a column at a time when their columns follow their order: when the
// stored X values are sorted and both ends have pixels of their own on a linear axis, the
// columns in between never turn back. The pen must be one whose polyline merges columns, and
// the trace dense enough for the columns' ends to be worth finding.
bool DrawsByColumns(const MappedTrace& trace, int first, int last, const TCanvasPen& pen,
                    const TChartValueList& xValues) {
  if (!MergesColumns(pen)) return false;
  if (!trace.horiz.LinearlyPlaces(trace.xs[first] * trace.xMultiplier) ||
      !trace.horiz.LinearlyPlaces(trace.xs[last] * trace.xMultiplier)) {
    return false;
  }
  const long long columns =
      std::llabs(static_cast<long long>(trace.Column(last)) - trace.Column(first)) + 1;
  if (last - first + 1 < columns * kDenseColumn) return false;
  return xValues.StoredAscending();
}

}  // namespace

// The steps DrawPoint takes for each visible point, with the axes' maps read once per paint
// and the stored arrays read directly.
void TFastLineSeries::DrawAllPoints() {
  PrepareLinePen();
  if (FirstVisibleIndex < 0) return;
  TChartCanvas3D& canvas = ParentChart()->Canvas();
  const MappedTrace trace{ResolvedHorizAxis()->Map(), ResolvedVertAxis()->Map(),
                          XValues().StoredValues(),   YValues().StoredValues(),
                          XValues().Multiplier(),     YValues().Multiplier()};
  const int first = FirstVisibleIndex;
  const int x = trace.Column(first), y = trace.Row(first);
  if (first > 0) {
    // The point before lies left of the plot: the entering segment is drawn and clipped.
    canvas.LineSegment(trace.Column(first - 1), trace.Row(first - 1), x, y);
  } else {
    canvas.MoveTo(x, y);
  }
  TPoint end;
  if (DrawsByColumns(trace, first, LastVisibleIndex, canvas.Pen(), XValues())) {
    canvas.LinesDrawn += DrawColumns(trace, first, LastVisibleIndex, canvas.Surface(), end);
  } else {
    end = DrawPoints(trace, first, LastVisibleIndex, canvas);
  }
  LastDrawnX = end.X;
  LastDrawnY = end.Y;
}

void TFastLineSeries::DrawPoint(int index) {
  TChartCanvas3D& canvas = ParentChart()->Canvas();
  const int x = XPixel(index);
  const int y = YPixel(index);
  if (index == FirstVisibleIndex) {
    if (index <= 0) {
      canvas.MoveTo(x, y);
    } else {
      // The point before lies left of the plot: the entering segment is drawn and clipped.
      canvas.LineSegment(XPixel(index - 1), YPixel(index - 1), x, y);
    }
  } else {
    if (x == LastDrawnX && y == LastDrawnY) return;
    canvas.LineTo(x, y);
  }
  LastDrawnX = x;
  LastDrawnY = y;
}

// Without AutoRepaint the new segment goes straight onto the chart's image, which is then shown
// again without a full paint. Before the first paint there is nothing to draw on.
void TFastLineSeries::DrawAppendedPoint(int index) {
  TCustomAxisPanel* chart = ParentChart();
  if (chart == nullptr || chart->Canvas().BufferImage == nullptr ||
      ResolvedHorizAxis() == nullptr) {
    return;
  }
  TChartCanvas3D& canvas = chart->Canvas();
  canvas.SetSurface(canvas.BufferImage.get());
  // The point is stored whatever happens to its drawing; the next paint draws it anyway.
  Shielded("AppendPoint", [&] {
    canvas.UseChartPen(linePen_);
    const int previous = index > 0 ? index - 1 : 0;
    canvas.MoveTo(XPixel(previous), YPixel(previous));
    DrawPoint(index);
  });
  canvas.SetSurface(nullptr);
  chart->update();
}

int TFastLineSeries::PointAtPixel(int x, int y) {
  // The range is the last paint's: points may have gone since.
  const int last = std::min(LastVisibleIndex, PointCount() - 1);
  if (FirstVisibleIndex < 0 || FirstVisibleIndex > last || ResolvedHorizAxis() == nullptr) {
    return -1;
  }
  const TPoint target{x, y};
  TPoint previous;
  for (int i = FirstVisibleIndex; i <= last; ++i) {
    const TPoint p{XPixel(i), YPixel(i)};
    if (p == target) return i;
    if (i > FirstVisibleIndex && PointOnSegment(target, p, previous, 0)) return i - 1;
    previous = p;
  }
  return -1;
}

bool PointOnSegment(TPoint p, TPoint a, TPoint b, int tolerance) {
  // In 64 bits throughout: points far off the plot are a whole int range apart.
  using Wide = long long;
  const Wide ax = a.X, ay = a.Y, bx = b.X, by = b.Y, px = p.X, py = p.Y;
  const Wide d = std::max(std::llabs(bx - ax), std::llabs(by - ay));
  const Wide cross = CrossDifference(px - ax, by - ay, py - ay, bx - ax);
  if (std::llabs(cross) >= d) return false;  // a pixel or more off the line
  const auto before = [tolerance](Wide u, Wide v) { return u + tolerance < v; };
  // Beyond a, away from b; then beyond b, away from a.
  if ((before(bx, ax) && before(ax, px)) || (before(by, ay) && before(ay, py)) ||
      (before(px, ax) && before(ax, bx)) || (before(py, ay) && before(ay, by))) {
    return false;
  }
  if ((before(ax, bx) && before(bx, px)) || (before(ay, by) && before(by, py)) ||
      (before(px, bx) && before(bx, ax)) || (before(py, by) && before(by, ay))) {
    return false;
  }
  return true;
}
