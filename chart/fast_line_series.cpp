#include "chart/fast_line_series.h"

#include <algorithm>
#include <cstdlib>

#include "chart/chart_math.h"
#include "chart/event_shield.h"
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

}  // namespace

// The steps DrawPoint takes for each visible point, a block at a time: the stored values are
// mapped to pixels in one pass over the arrays, with the axes' maps read once per paint, and
// the block goes to the canvas as one polyline starting at the last point of the block before
// (a point on the pixel drawn before it makes no line there either).
void TFastLineSeries::DrawAllPoints() {
  PrepareLinePen();
  if (FirstVisibleIndex < 0) return;
  TChartCanvas3D& canvas = ParentChart()->Canvas();
  const TAxisMap horiz = ResolvedHorizAxis()->Map();
  const TAxisMap vert = ResolvedVertAxis()->Map();
  const double* xValues = XValues().StoredValues();
  const double* yValues = YValues().StoredValues();
  const double xMultiplier = XValues().Multiplier(), yMultiplier = YValues().Multiplier();

  const int first = FirstVisibleIndex;
  int xs[kPathBlock + 1], ys[kPathBlock + 1];
  xs[0] = horiz.ValueToPixel(xValues[first] * xMultiplier);
  ys[0] = vert.ValueToPixel(yValues[first] * yMultiplier);
  if (first > 0) {
    // The point before lies left of the plot: the entering segment is drawn and clipped.
    canvas.LineSegment(horiz.ValueToPixel(xValues[first - 1] * xMultiplier),
                       vert.ValueToPixel(yValues[first - 1] * yMultiplier), xs[0], ys[0]);
  } else {
    canvas.MoveTo(xs[0], ys[0]);
  }
  for (int i = first + 1; i <= LastVisibleIndex; i += kPathBlock) {
    const int count = std::min(kPathBlock, LastVisibleIndex + 1 - i);
    horiz.ValuesToPixels(xValues + i, xMultiplier, xs + 1, count);
    vert.ValuesToPixels(yValues + i, yMultiplier, ys + 1, count);
    // The next block comes from memory while this one is drawn.
    const int next = std::min(kPathBlock, LastVisibleIndex + 1 - (i + count));
    if (next > 0) {
      PrefetchForRead(xValues + i + count, next * sizeof(double));
      PrefetchForRead(yValues + i + count, next * sizeof(double));
    }
    canvas.Polyline(xs, ys, count + 1);
    xs[0] = xs[count];
    ys[0] = ys[count];
  }
  LastDrawnX = xs[0];
  LastDrawnY = ys[0];
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
