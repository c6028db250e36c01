// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope draws the same pixels whatever locale the C library is set to, and whichever
// decimal habit the desktop has, as long as the labels are whole numbers. Qt sets the C library's
// locale from the environment at start-up, so a French desktop once garbled every label.
#include <gtest/gtest.h>

#include <QImage>
#include <clocale>
#include <functional>
#include <string>

#include "chart/chart.h"
#include "sim/bench.h"
#include "sim/random_source.h"
#include "tests/support/bench_scene.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

// Sets the C library's locale for the life of the object, as QCoreApplication does at start-up.
class CLocale {
 public:
  explicit CLocale(const char* name) : previous_(std::setlocale(LC_ALL, nullptr)) {
    ok_ = std::setlocale(LC_ALL, name) != nullptr;
  }
  ~CLocale() { std::setlocale(LC_ALL, previous_.c_str()); }
  bool Ok() const { return ok_; }

 private:
  std::string previous_;
  bool ok_ = false;
};

struct Habit {
  const char* name;
  QString decimal, thousands;
};
// The C locale's marks and the French ones (Qt gives a narrow no-break space for thousands).
const Habit kHabits[] = {{"C", QStringLiteral("."), QStringLiteral(",")},
                         {"fr", QStringLiteral(","), QStringLiteral("\u202F")}};

using Scene = std::function<void(TBench&)>;

// The generator's noise from a fixed sequence, so that two draws of one scene agree.
class CountingRandom final : public TRandomSource {
 public:
  void Randomize() override { next_ = 0; }
  int Random(int range) override { return range < 1 ? 0 : next_++ % range; }

 private:
  int next_ = 0;
};

QImage Screen(QSize size, const Habit& habit, const Scene& scene, double zoomTop = 0) {
  OscilloscopeChart scope(size.width(), size.height());
  scope.chart.LabelDecimalSeparator = habit.decimal;
  scope.chart.LabelThousandSeparator = habit.thousands;
  TSeriesTrace<TFastLineSeries> trace1(scope.Series1()), trace4(scope.Series4());
  TBench bench;
  CountingRandom random;
  bench.SetRandomSource(&random);
  bench.Connect(nullptr, &trace1, &trace4);
  if (scene) scene(bench);
  if (zoomTop > 0) {
    scope.chart.LeftAxis().SetMinimum(-zoomTop);
    scope.chart.LeftAxis().SetMaximum(zoomTop);
  }
  scope.chart.PaintChart(nullptr, scope.chart.ClientRect());
  return scope.chart.BufferImage()->copy();
}

void TwoQuadrants(TBench& b) {
  RunTwoQuadrantsWithInductance(b, 75);
}

struct Case {
  const char* name;
  QSize size;
  Scene scene;
};

TEST(LocaleScreens, SamePixelsUnderEveryLocaleAndDecimalHabit) {
  const Case cases[] = {{"empty, small", QSize(389, 233), nullptr},
                        {"empty, large", QSize(1520, 760), nullptr},
                        {"two quadrants", QSize(1000, 500), TwoQuadrants},
                        {"four quadrants", QSize(1000, 500), RunFourQuadrantsMachineTwoDriving}};
  for (const Case& c : cases) {
    QImage reference;
    {
      CLocale locale("C");
      reference = Screen(c.size, kHabits[0], c.scene);
    }
    for (const char* name : {"C", "fr_FR.UTF-8", "en_US.UTF-8"}) {
      CLocale locale(name);
      ASSERT_TRUE(locale.Ok()) << name << " is not installed: scripts/install-deps.sh makes it";
      for (const Habit& habit : kHabits)
        EXPECT_TRUE(Screen(c.size, habit, c.scene) == reference)
            << c.name << " under " << name << " with the " << habit.name << " marks";
    }
  }
}

// Zoomed in, the labels have decimals: only the desktop's habit may change them, never the C
// library's locale.
TEST(LocaleScreens, DecimalLabelsFollowOnlyTheDesktopHabit) {
  for (const Habit& habit : kHabits) {
    QImage reference;
    {
      CLocale locale("C");
      reference = Screen(QSize(1000, 500), habit, TwoQuadrants, 0.4);
    }
    for (const char* name : {"fr_FR.UTF-8", "en_US.UTF-8"}) {
      CLocale locale(name);
      ASSERT_TRUE(locale.Ok()) << name;
      EXPECT_TRUE(Screen(QSize(1000, 500), habit, TwoQuadrants, 0.4) == reference)
          << name << " with the " << habit.name << " marks";
    }
  }
  CLocale locale("C");
  EXPECT_FALSE(Screen(QSize(1000, 500), kHabits[0], TwoQuadrants, 0.4) ==
               Screen(QSize(1000, 500), kHabits[1], TwoQuadrants, 0.4))
      << "zoomed labels with decimals show the desktop's decimal mark";
}

}  // namespace
