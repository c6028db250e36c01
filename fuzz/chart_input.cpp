// SPDX-License-Identifier: GPL-3.0-or-later
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QWheelEvent>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "chart/chart.h"
#include "chart/panel/event_shield.h"
#include "fuzz/fuzz_inputs.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kValues[] = {0,         1,
                              -1,        0.5,
                              25,        -25,
                              100,       1e6,
                              1e308,     -1e308,
                              kInf,      -kInf,
                              1e-10,     5e-324,
                              3e9,       -3e9,
                              2147483.6, -2147483.6,
                              12.5,      0.05,
                              -0.05,     std::numeric_limits<double>::quiet_NaN()};
constexpr int kMaxPoints = 20000;  // per series: enough for every path, quick to paint

// Reads the input front to back; past its end every read gives zero.
class Reader {
 public:
  Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool AtEnd() const { return at_ >= size_; }
  std::uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
  // Each byte in a statement of its own: the order of reads inside one expression is the
  // compiler's choice, and the corpus must replay as the fuzzer read it.
  int Int16() {
    const int low = Byte();
    return static_cast<std::int16_t>(low | (Byte() << 8));
  }
  // A value from the table of awkward ones, or (one time in four) any eight bytes.
  double Value() {
    const std::uint8_t pick = Byte();
    if (pick % 4 != 0) return kValues[pick % std::size(kValues)];
    std::uint64_t bits = 0;
    for (int i = 0; i < 8; ++i)
      bits = (bits << 8) | Byte();
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t at_ = 0;
};

struct Scene {
  Scene() : scope(389, 233) {
    extra.SetParentChart(&scope.chart);
    scope.chart.SetAllowZoom(true);
  }
  TChartSeries& Series(std::uint8_t pick) {
    if (pick % 5 == 4) return extra;
    return *scope.series[pick % 4];
  }
  TChartAxis& Axis(std::uint8_t pick) {
    TChart& c = scope.chart;
    TChartAxis* axes[] = {&c.BottomAxis(), &c.LeftAxis(), &c.TopAxis(), &c.RightAxis()};
    return *axes[pick % 4];
  }
  OscilloscopeChart scope;
  TChartSeries extra;  // the base series: drawn point by point, no hit test of its own
};

void Send(TChart& chart, QEvent::Type type, Qt::MouseButton button, int x, int y,
          Qt::KeyboardModifiers keys) {
  const QPointF at(x, y);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
  QMouseEvent event(type, at, chart.mapToGlobal(at), button, held, keys);
  QApplication::sendEvent(&chart, &event);
}

void Wheel(TChart& chart, int x, int y, int delta) {
  const QPointF at(x, y);
  QWheelEvent event(at, chart.mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                    Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(&chart, &event);
}

void AppendRun(TChartSeries& series, Reader& in) {
  const int count = 1 + in.Byte() * 8;
  const double x0 = in.Value(), step = in.Value(), y0 = in.Value(), swing = in.Value();
  const int shape = in.Byte() % 4;
  for (int i = 0; i < count && series.PointCount() < kMaxPoints; ++i) {
    double y = y0;
    if (shape == 1) y += swing * std::sin(i * 0.1);
    if (shape == 2) y += (i / 50) % 2 == 0 ? swing : -swing;
    if (shape == 3) y += swing * (i % 7);
    series.AppendPoint(x0 + step * i, y);
  }
}

// One operation; the exceptions its interface documents (refused settings, bad indices) are
// answers, not faults.
void Step(Scene& scene, Reader& in) {
  TChart& chart = scene.scope.chart;
  const std::uint8_t op = in.Byte();
  switch (op % 20) {
    case 0: {
      TChartAxis& axis = scene.Axis(in.Byte());
      const double min = in.Value();
      axis.SetAxisRange(min, in.Value());
      break;
    }
    case 1: {
      TChartSeries& s = scene.Series(in.Byte());
      const double x = in.Value(), y = in.Value();
      if (s.PointCount() < kMaxPoints) s.AppendPoint(x, y);
      break;
    }
    case 2:
      AppendRun(scene.Series(in.Byte()), in);
      break;
    case 3: {
      TChartSeries& s = scene.Series(in.Byte());
      const int index = in.Byte() % 4 == 0 ? in.Int16() : s.PointCount() - 1 - in.Byte();
      try {
        s.RemovePoint(index);
      } catch (const EListError&) {
      }
      break;
    }
    case 4:
      scene.Series(in.Byte()).ClearPoints();
      break;
    case 5: {
      const int width = in.Byte() * 8;
      chart.resize(width, in.Byte() * 6);
      break;
    }
    case 6:
    case 7: {
      const Qt::MouseButton button = in.Byte() % 2 ? Qt::RightButton : Qt::LeftButton;
      const int x = in.Int16(), y = in.Int16();
      const Qt::KeyboardModifiers keys = in.Byte() % 2 ? Qt::ShiftModifier : Qt::NoModifier;
      const QEvent::Type type =
          op % 20 == 6 ? QEvent::MouseButtonPress : QEvent::MouseButtonDblClick;
      Send(chart, type, button, x, y, keys);
      break;
    }
    case 8: {
      const int x = in.Int16(), y = in.Int16();
      Send(chart, QEvent::MouseMove, Qt::NoButton, x, y, Qt::NoModifier);
      break;
    }
    case 9: {
      const Qt::MouseButton button = in.Byte() % 2 ? Qt::RightButton : Qt::LeftButton;
      const int x = in.Int16(), y = in.Int16();
      Send(chart, QEvent::MouseButtonRelease, button, x, y, Qt::NoModifier);
      break;
    }
    case 10: {
      const int x = in.Int16(), y = in.Int16();
      const int steps = in.Int16();
      Wheel(chart, x, y, steps * (in.Byte() % 8 == 0 ? 65536 : 1));
      break;
    }
    case 11: {
      // Through the paint event, as the window system asks for it.
      QImage image(std::max(chart.width(), 1), std::max(chart.height(), 1), QImage::Format_RGB32);
      chart.render(&image);
      break;
    }
    case 12:
      chart.PaintChart(nullptr, chart.ClientRect());
      break;
    case 13: {
      TChartAxis& axis = scene.Axis(in.Byte());
      axis.SetInverted(in.Byte() % 2 == 1);
      axis.SetLogarithmic(in.Byte() % 4 == 1);
      break;
    }
    case 14:
      scene.scope.Series1().SetAutoRepaint(in.Byte() % 2 == 0);
      break;
    case 15:
      chart.ResetZoom();
      break;
    case 16: {
      TChartAxis& axis = scene.Axis(in.Byte());
      const double delta = in.Value();
      axis.ScrollAxis(delta, in.Byte() % 2 == 0);
      break;
    }
    case 17: {
      QEvent leave(QEvent::Leave);
      QApplication::sendEvent(&chart, &leave);
      break;
    }
    case 18: {
      TChartAxis& axis = scene.Axis(in.Byte());
      axis.SetStartPosition(in.Byte() % 120);
      axis.SetEndPosition(in.Byte() % 120);
      break;
    }
    case 19: {
      TChartAxis& axis = scene.Axis(in.Byte());
      try {
        if (in.Byte() % 2) {
          axis.SetMinimum(in.Value());
        } else {
          axis.SetMaximum(in.Value());
        }
      } catch (const AxisException&) {
      }
      chart.SetAnimatedZoom(in.Byte() % 3 == 0);
      break;
    }
  }
}

}  // namespace

void FuzzChart(const std::uint8_t* data, std::size_t size) {
  SetChartFaultHandler([](const std::string& where, const std::string& what) {
    std::fprintf(stderr, "exception stopped at %s: %s\n", where.c_str(), what.c_str());
    std::abort();
  });
  Scene scene;
  Reader in(data, size);
  for (int steps = 0; !in.AtEnd() && steps < 400; ++steps)
    Step(scene, in);
  // Whatever the sequence left behind must still paint.
  scene.scope.chart.PaintChart(nullptr, scene.scope.chart.ClientRect());
  SetChartFaultHandler({});
}
