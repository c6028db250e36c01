// SPDX-License-Identifier: GPL-3.0-or-later
// The numbers the course pages and the answers quote are the numbers of the simulated bench:
// each table of readings is replayed on the bench model row by row, its columns read by their
// headings, and each figure quoted in the prose is worked out again from the model.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>
#include <map>
#include <numeric>
#include <set>
#include <string>

#include "data_paths.h"
#include "html_page.h"
#include "sim/bench.h"
#include "sim/current_wave.h"
#include "sim/measure.h"
#include "sim/notebook.h"
#include "sim/number_text.h"
#include "sim/reading_format.h"
#include "tests/support/bench_scene.h"

namespace {

const char* const kPages[] = {"index.htm",   "cours1.htm",      "cours2.htm",
                              "travail.htm", "aideoscillo.htm", "corrige.htm"};

constexpr double kSampleMs = 0.05;
constexpr double kPeriodMs = 5;

class Readings : public TBenchOutput {
 public:
  void ShowReading(TInstrument instrument, const std::string& text) override {
    shown[instrument] = text;
  }
  std::map<TInstrument, std::string> shown;
};

// The red trace as the oscilloscope receives it.
class Trace : public TBenchTrace {
 public:
  void ClearPoints() override { t.clear(), u.clear(); }
  void AppendPoints(const double* x, const double* y, int count) override {
    t.insert(t.end(), x, x + count);
    u.insert(u.end(), y, y + count);
  }
  std::vector<double> t, u;
};

// Pages print the minus sign as a typographer would; the instruments print a hyphen.
QString Plain(QString text) {
  return text.replace(QChar(0x2212), u'-').remove(QRegularExpression("[\\s\\x{A0}\\x{202F}]"));
}

QString Fmt(double value, int decimals = 2) {
  return QString::fromStdString(FormatReading(value, decimals, ","));
}

// A current as the Mesures window writes it: amperes with three decimals.
QString Amps(double value) {
  return QString::fromStdString(FormatQuantity(value, "", 3, ","));
}

// As the Mesures window writes a figure it may not have: "—" when it has none.
QString Quantity(const std::optional<double>& value) {
  return QString::fromStdString(FormatQuantity(value, "", 2, ","));
}

// How one row sets the bench up: the experiment's menu entry, then the panel's buttons.
struct Setting {
  QString kind;     // data-banc: 1q, 2q, 4q-m1, 4q-m2
  int percent = 0;  // the speed bar of the experiment, in %
  TDirection direction = TDirection::kClockwise;
  TChopperType chopper = TChopperType::kPlusOrMinus;
  TWiring connection = TWiring::kWithoutInductance;
  int randomDraw = -1;  // machine n°2's noise: every draw this value (0 .. 199), -1 the clock's
};

class FixedDraw : public TRandomSource {
 public:
  explicit FixedDraw(int draw) : draw_(draw) {}
  void Randomize() override {}
  int Random(int) override { return draw_; }

 private:
  int draw_;
};

// What the bench shows after a setting: the instruments, the trace and its measures, and the
// current channel's measures (i, or i1 and i2 in four quadrants).
struct BenchRun {
  Setting setting;
  long double supply = 0;
  long double voltage = 0, speed = 0, current1 = 0;  // unrounded
  std::map<TInstrument, std::string> shown;
  std::vector<double> t, u;
  TTraceMeasures measures;
  TTraceMeasures current;
  std::optional<TTraceMeasures> current2;
  double inductance = 0;  // H, what the current channel's model takes

  // The supply current's measures; a page quoting them for a bench without one fails.
  TTraceMeasures Current2() const {
    EXPECT_TRUE(current2) << "no supply current in " << setting.kind.toStdString();
    return current2.value_or(TTraceMeasures{});
  }
  // The course's ripple, alpha (1 - alpha) E T / L, with the chopper's alpha: "+ et -" doubles it.
  double RippleFormula() const {
    const double alpha = CursorAlpha();
    const double factor = setting.chopper == TChopperType::kPlusOrMinus ? 1 : 2;
    return factor * alpha * (1 - alpha) * static_cast<double>(supply) * kPeriodMs * 1e-3 /
           inductance;
  }

  QString Shown(TInstrument i) const { return QString::fromStdString(shown.at(i)); }
  double Reading(TInstrument i) const { return ParseDecimal(shown.at(i)).value_or(std::nan("")); }
  // The window's alpha and the level it is taken at, as a table cell writes them: "0,51 (à −E)".
  QString Alpha() const {
    QString alpha = Quantity(measures.dutyCycle);
    if (!measures.dutyCycle) return alpha;
    return alpha + (measures.activeLevel == TActiveLevel::kPositive ? " (à +E)" : " (à -E)");
  }
  // The pulse at +E of the first period, as the cursors measure it: between the corners of the
  // plateau for "+ ou -", between the zero crossings for "+ et -".
  double PlateauMs() const {
    return (Count([&](double v) { return v == measures.max; }) - 1) * kSampleMs;
  }
  double CrossingMs() const {
    return Count([](double v) { return v > 0; }) * kSampleMs;
  }
  double MidHeightMs() const {
    const double mid = (measures.min + measures.max) / 2;
    return Count([&](double v) { return v > mid; }) * kSampleMs;
  }
  double CursorAlpha() const {
    return (setting.chopper == TChopperType::kPlusOrMinus ? PlateauMs() : CrossingMs()) / kPeriodMs;
  }
  int Count(const std::function<bool(double)>& keep) const {
    return static_cast<int>(std::count_if(u.begin(), u.begin() + TBench::kPeriodSamples, keep));
  }
};

TExperiment ExperimentOf(const QString& kind) {
  return kind == u"1q"   ? TExperiment::kOneQuadrant
         : kind == u"2q" ? TExperiment::kTwoQuadrants
                         : TExperiment::kFourQuadrants;
}

TTraceMeasures Measure(const std::vector<double>& t, const std::vector<double>& values) {
  EXPECT_EQ(t.size(), values.size());
  return MeasureTrace(t.data(), values.data(), static_cast<int>(values.size()), 0, 25,
                      TBench::kPeriodSamples);
}

BenchRun Replay(const Setting& s) {
  Readings readings;
  Trace trace, zero;
  TBench bench(&readings, &trace, &zero);
  const TBenchSteps steps(bench);
  FixedDraw draw(s.randomDraw);
  if (s.randomDraw >= 0) bench.SetRandomSource(&draw);
  // The menu entry first: the current channel reads which experiment is on.
  bench.ChooseExperiment(ExperimentOf(s.kind));
  steps.SetConnectionMode(s.connection);
  steps.SetRotationDirection(s.direction);
  steps.SetChopperType(s.chopper);
  if (s.kind == u"1q" || s.kind == u"2q") {
    steps.SetSupplyVoltage(s.kind == u"1q" ? 11.2L : 10.4L);
    bench.SetSpeedSetting(2 * s.percent);
    steps.RefreshBench();
  } else {
    steps.SetSupplyVoltage(10.4L);
    steps.SetChopperType(TChopperType::kPlusOrMinus);
    steps.SetConnectionMode(TWiring::kWithoutInductance);
    steps.SetDrivingMachine(s.kind == u"4q-m1" ? TDrivingMachine::kMachine1
                                               : TDrivingMachine::kMachine2);
    bench.SetMachineSpeedSetting(2 * s.percent);
    bench.RefreshFourQuadrant();
  }
  BenchRun run{s,
               bench.SupplyVoltage(),
               bench.MotorVoltage(),
               bench.MotorSpeed(),
               bench.Current1(),
               readings.shown,
               trace.t,
               trace.u,
               {},
               {},
               {},
               SmoothingInductance(bench.ExperimentKind(), bench.ConnectionMode())};
  run.measures = Measure(trace.t, trace.u);
  const TCurrentWave wave = ComputeCurrentWave(bench);
  run.current = Measure(trace.t, wave.i);
  if (!wave.i2.empty()) run.current2 = Measure(trace.t, wave.i2);
  return run;
}

// Setting columns, by heading (spaces removed), and how they change the bench.
const std::map<QString, std::function<void(Setting&, const QString&)>> kSettingColumns = {
    {"Réglagevitesse(%)", [](Setting& s, const QString& c) { s.percent = c.toInt(); }},
    {"Réglagemoteur1(%)", [](Setting& s, const QString& c) { s.percent = c.toInt(); }},
    {"Réglagemoteur2(%)", [](Setting& s, const QString& c) { s.percent = c.toInt(); }},
    {"Sens",
     [](Setting& s, const QString& c) {
       s.direction = c == u"horaire" ? TDirection::kClockwise : TDirection::kAnticlockwise;
     }},
    {"Commande",
     [](Setting& s, const QString& c) {
       static const std::map<QString, TChopperType> kTypes = {
           {"+ou-", TChopperType::kPlusOrMinus},
           {"+et-", TChopperType::kPlusAndMinusFedAtZero},
           {"+et-,zérononalimenté", TChopperType::kPlusAndMinusOffAtZero}};
       const auto type = kTypes.find(c);
       if (type == kTypes.end()) ADD_FAILURE() << "unknown command " << c.toStdString();
       s.chopper = type == kTypes.end() ? TChopperType::kNotChosen : type->second;
     }},
    {"Branchement",
     [](Setting& s, const QString& c) {
       s.connection = c == u"nonbranché" ? TWiring::kNotConnected
                      : c == u"avecself" ? TWiring::kWithInductance
                                         : TWiring::kWithoutInductance;
     }},
};

// Reading columns, by heading, and what the bench gives for them.
const std::map<QString, std::function<QString(const BenchRun&)>> kReadingColumns = {
    {"Voltmètre(V)", [](const BenchRun& r) { return r.Shown(inVoltmeter); }},
    {"Compte-tours(tr/min)", [](const BenchRun& r) { return r.Shown(inTachometer); }},
    {"Ampèremètren°1(A)", [](const BenchRun& r) { return r.Shown(inAmmeter1); }},
    {"Ampèremètren°2(A)", [](const BenchRun& r) { return r.Shown(inAmmeter2); }},
    {"⟨u⟩Mesures(V)", [](const BenchRun& r) { return Fmt(r.measures.mean); }},
    {"ValeurefficaceMesures(V)", [](const BenchRun& r) { return Fmt(r.measures.rms); }},
    {"Minimum(V)", [](const BenchRun& r) { return Fmt(r.measures.min); }},
    {"Maximum(V)", [](const BenchRun& r) { return Fmt(r.measures.max); }},
    {"Crêteàcrête(V)", [](const BenchRun& r) { return Fmt(r.measures.peakToPeak); }},
    {"Niveauhaut(V)", [](const BenchRun& r) { return Quantity(r.measures.top); }},
    {"Niveaubas(V)", [](const BenchRun& r) { return Quantity(r.measures.base); }},
    {"αMesures", [](const BenchRun& r) { return r.Alpha(); }},
    // A column whose heading names the level: the label is not repeated in its cells.
    {"α(à+E)Mesures",
     [](const BenchRun& r) {
       const QString alpha = Quantity(r.measures.dutyCycle);
       return r.measures.activeLevel == TActiveLevel::kNegative ? "(à -E) " + alpha : alpha;
     }},
    {"Palierhaut(ms)", [](const BenchRun& r) { return Fmt(r.PlateauMs()); }},
    {"Duréeà+E(ms)", [](const BenchRun& r) { return Fmt(r.CrossingMs()); }},
    {"αauxcurseurs", [](const BenchRun& r) { return Fmt(r.CursorAlpha()); }},
    {"α·E(V)",
     [](const BenchRun& r) { return Fmt(static_cast<double>(r.CursorAlpha() * r.supply)); }},
    {"(2α-1)·E(V)",
     [](const BenchRun& r) {
       return Fmt(static_cast<double>((2 * r.CursorAlpha() - 1) * r.supply));
     }},
    // What a student works out from the two readings shown.
    {"PuissanceU·I1(W)",
     [](const BenchRun& r) { return Fmt(r.Reading(inVoltmeter) * r.Reading(inAmmeter1)); }},
    // The current channel: i (i1 in four quadrants) and the supply current i2.
    {"⟨i⟩Mesures(A)", [](const BenchRun& r) { return Amps(r.current.mean); }},
    {"⟨i1⟩Mesures(A)", [](const BenchRun& r) { return Amps(r.current.mean); }},
    {"ΔiMesures(A)", [](const BenchRun& r) { return Amps(r.current.peakToPeak); }},
    {"Δi1Mesures(A)", [](const BenchRun& r) { return Amps(r.current.peakToPeak); }},
    {"Minimumi(A)", [](const BenchRun& r) { return Amps(r.current.min); }},
    {"Maximumi(A)", [](const BenchRun& r) { return Amps(r.current.max); }},
    {"ValeurefficaceMesures(A)", [](const BenchRun& r) { return Amps(r.current.rms); }},
    {"⟨i2⟩Mesures(A)", [](const BenchRun& r) { return Amps(r.Current2().mean); }},
    {"α·(1-α)·E·T/L(A)", [](const BenchRun& r) { return Fmt(r.RippleFormula()); }},
};

TEST(BenchReadingsInPages, EveryQuotedTableMatchesTheBench) {
  std::set<std::string> kinds;
  int cells = 0;
  for (const char* name : kPages) {
    const HtmlPage page(RunDir() / "aide" / name);
    ASSERT_TRUE(page.IsWellFormed()) << name << ": " << page.Error().toStdString();
    for (const PageTable& table : page.Tables()) {
      if (table.kind.isEmpty()) continue;
      kinds.insert(table.kind.toStdString());
      for (const QStringList& row : table.rows) {
        ASSERT_EQ(row.size(), table.header.size()) << name << ": " << row.join('|').toStdString();
        Setting setting{table.kind};
        for (int c = 0; c < row.size(); ++c) {
          const auto column = kSettingColumns.find(Plain(table.header[c]));
          if (column != kSettingColumns.end()) column->second(setting, Plain(row[c]));
        }
        const BenchRun run = Replay(setting);
        for (int c = 0; c < row.size(); ++c) {
          const QString heading = Plain(table.header[c]);
          if (kSettingColumns.count(heading)) continue;
          const auto column = kReadingColumns.find(heading);
          ASSERT_NE(column, kReadingColumns.end())
              << name << ": unknown column " << heading.toStdString();
          QString expected = column->second(run);
          // The level beside alpha may be left out where every row of the table shares it.
          if (!row[c].contains(u"(à")) expected.remove(QRegularExpression(" \\(à .E\\)$"));
          EXPECT_EQ(Plain(row[c]).toStdString(), Plain(expected).toStdString())
              << name << ", table " << table.kind.toStdString() << ", row \""
              << row.join(" | ").toStdString() << "\", column " << heading.toStdString();
          ++cells;
        }
      }
    }
  }
  // Each experiment of the menu has its readings quoted somewhere.
  EXPECT_EQ(kinds, (std::set<std::string>{"1q", "2q", "4q-m1", "4q-m2"}));
  EXPECT_GT(cells, 200);
}

TEST(BenchReadingsInPages, FullSpeedsFollowTheSpeedLaw) {
  // "2920 tr/min sous 10,4 V": what the tachometer shows at that voltage.
  const QRegularExpression quote(QStringLiteral("(\\d+)\\x{A0}tr/min sous (\\d+),(\\d)\\x{A0}V"));
  int quotes = 0;
  for (const char* name : kPages) {
    const HtmlPage page(RunDir() / "aide" / name);
    for (auto it = quote.globalMatch(page.Prose()); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      Readings readings;
      TBench bench(&readings);
      const TBenchSteps steps(bench);
      steps.SetConnectionMode(TWiring::kWithoutInductance);
      steps.SetRotationDirection(TDirection::kClockwise);
      steps.SetMotorVoltage(m.captured(2).toInt() + m.captured(3).toInt() / 10.0L);
      steps.UpdateSpeed();
      EXPECT_EQ(m.captured(1).toStdString(), readings.shown[inTachometer])
          << name << ": \"" << m.captured().toStdString() << "\"";
      ++quotes;
    }
  }
  EXPECT_GE(quotes, 3);
}

// Figures quoted in sentences: the sentence as it reads (spaces of any kind alike), with %1, %2...
// standing for what the bench gives.
struct Quote {
  const char* page;
  const char* text;
  std::function<QStringList()> figures;
};

constexpr TWiring kOpen = TWiring::kNotConnected;
constexpr TWiring kSelf = TWiring::kWithInductance;
constexpr TWiring kNoSelf = TWiring::kWithoutInductance;

BenchRun OneQuadrant(int percent, TWiring connection) {
  return Replay({"1q", percent, TDirection::kClockwise, TChopperType::kPlusOrMinus, connection});
}
BenchRun TwoQuadrant(int percent, TChopperType chopper, TWiring connection) {
  return Replay({"2q", percent, TDirection::kClockwise, chopper, connection});
}
BenchRun MachineOne(int percent) {
  return Replay({"4q-m1", percent});
}
BenchRun MachineTwo(int percent, int draw = -1) {
  return Replay(
      {"4q-m2", percent, TDirection::kClockwise, TChopperType::kPlusOrMinus, kNoSelf, draw});
}

// The notebook's least-squares line n = f(U) through the points recorded at these settings (it
// records the bench's values, not the rounded readings).
TLineFit SpeedLine(const char* kind, std::initializer_list<int> percents) {
  std::vector<double> u, n;
  for (int percent : percents) {
    const BenchRun run = Replay({kind, percent});
    u.push_back(static_cast<double>(run.voltage));
    n.push_back(static_cast<double>(run.speed));
  }
  return FitLine(u, n).value_or(TLineFit{});
}

// What the window shows for a trace that is not a pulse wave: no period, hence no alpha.
QString NoPeriodNorAlpha(const TTraceMeasures& m) {
  EXPECT_EQ(Quantity(m.dutyCycle), Quantity(m.periodMs));
  return Quantity(m.periodMs);
}

// Alpha at 50 % in one quadrant with the spikes, the same as without them.
QStringList SpikesAlpha() {
  const QString spikes = Quantity(OneQuadrant(50, kSelf).measures.dutyCycle);
  EXPECT_EQ(spikes, Quantity(OneQuadrant(50, kNoSelf).measures.dutyCycle));
  return QStringList{spikes};
}

// The inductance of the current channel's model, in mH as the pages write it.
QString Millihenries(const BenchRun& run) {
  return Fmt(run.inductance * 1000, 0);
}

// The course's ripple worked out as the pages write it: alpha (1 - alpha), E, L in mH and the
// result, which must be the ripple the Mesures window reads, rounded alike.
QStringList RippleWorking(const BenchRun& run) {
  const double alpha = run.CursorAlpha();
  EXPECT_EQ(Fmt(run.RippleFormula()).toStdString(), Fmt(run.current.peakToPeak).toStdString());
  return QStringList{Fmt(alpha * (1 - alpha)), Fmt(static_cast<double>(run.supply), 1),
                     Millihenries(run), Fmt(run.RippleFormula())};
}

// The supply's power E <i2> against the machine's U I1 (from the readings shown) and against what
// ammeter n°2's value would make of it: E, <i2>, E <i2>, U, I1, U I1, I2, E I2.
QStringList PowerBalance(const BenchRun& run) {
  const double supply = static_cast<double>(run.supply), i2 = run.Current2().mean;
  const double machine = run.Reading(inVoltmeter) * run.Reading(inAmmeter1);
  EXPECT_NEAR(supply * i2 / machine, 1, 0.02);  // the pages' "à peu près"
  return QStringList{Fmt(supply, 1),        Amps(i2),
                     Fmt(supply * i2),      run.Shown(inVoltmeter),
                     run.Shown(inAmmeter1), Fmt(machine),
                     run.Shown(inAmmeter2), Fmt(supply * run.Reading(inAmmeter2))};
}

// Machine n°1's armature law as the bench would give it: U / I at standstill (5 %), then
// E' = U - R I at 10 %, from the readings shown.
double StandstillRatio() {
  const BenchRun stall = MachineOne(5);
  return stall.Reading(inVoltmeter) / stall.Reading(inAmmeter1);
}

const Quote kQuotes[] = {
    {"cours1.htm", "les pointes lui retirent %1 V de valeur moyenne",
     [] {
       return QStringList{
           Fmt(OneQuadrant(50, kNoSelf).measures.mean - OneQuadrant(50, kSelf).measures.mean)};
     }},
    {"cours1.htm", "indique ⟨u⟩ = %1 V avec effet de self, %2 V sans",
     [] {
       return QStringList{Fmt(OneQuadrant(50, kSelf).measures.mean),
                          Fmt(OneQuadrant(50, kNoSelf).measures.mean)};
     }},
    {"cours1.htm", "et le voltmètre %1 V dans les deux cas",
     [] { return QStringList{OneQuadrant(50, kSelf).Shown(inVoltmeter)}; }},
    {"cours2.htm", "indique la même valeur moyenne que le voltmètre, %1 V",
     [] {
       return QStringList{
           Fmt(TwoQuadrant(50, TChopperType::kPlusAndMinusFedAtZero, kSelf).measures.mean)};
     }},
    {"cours2.htm", "(U = %1 V, I = %2 A), on trouverait E′ = %3 V",
     [] {
       const BenchRun run = MachineOne(10);
       return QStringList{
           run.Shown(inVoltmeter), run.Shown(inAmmeter1),
           Fmt(run.Reading(inVoltmeter) - StandstillRatio() * run.Reading(inAmmeter1))};
     }},
    {"cours2.htm", "alors que le compte-tours indique %1 tr/min",
     [] { return QStringList{MachineOne(10).Shown(inTachometer)}; }},
    {"cours2.htm", "soit U / %1 Ω",
     [] {
       return QStringList{Fmt(static_cast<double>(MachineOne(5).voltage / MachineOne(5).current1))};
     }},
    {"cours2.htm",
     "la tension augmente de %1 V pour 1000 tr/min de plus, en génératrice (ci-dessous), de %2 V",
     [] {
       const BenchRun a = MachineOne(50), b = MachineOne(100), g = MachineTwo(100);
       return QStringList{Fmt((b.Reading(inVoltmeter) - a.Reading(inVoltmeter)) /
                              (b.Reading(inTachometer) - a.Reading(inTachometer)) * 1000),
                          Fmt(g.Reading(inVoltmeter) / g.Reading(inTachometer) * 1000)};
     }},
    {"aideoscillo.htm",
     "mesurée à mi-hauteur, comme le fait la fenêtre Mesures, elle dure %1 ms à 50 % "
     "(α = %2, α · E = %3 V)",
     [] {
       const BenchRun run = OneQuadrant(50, kOpen);
       return QStringList{Fmt(run.MidHeightMs()), Fmt(run.measures.dutyCycle.value_or(0)),
                          Fmt(run.MidHeightMs() / kPeriodMs * 11.2)};
     }},
    {"aideoscillo.htm", "entre les deux coins du palier haut, elle dure %1 ms",
     [] { return QStringList{Fmt(OneQuadrant(50, kOpen).PlateauMs())}; }},
    {"aideoscillo.htm", "le voltmètre indique %1 V",
     [] { return QStringList{OneQuadrant(50, kOpen).Shown(inVoltmeter)}; }},
    {"aideoscillo.htm", "avec elles, α reste %1 à 50 % en 1 quadrant, comme sans elles",
     SpikesAlpha},
    {"aideoscillo.htm", "« %1 » donne « %2 », « %3 » donne « %4 »",
     [] {
       QStringList figures;
       for (const double dtMs : {0.5, 5.0}) {
         const TCursorDelta delta = CursorDifference(1.0, 0, 1.0 + dtMs, 0);
         figures << QString::fromStdString(FormatQuantity(delta.dtMs, "ms", 2, ","))
                 << QString::fromStdString(FormatInverseTime(delta.dtMs, ","));
       }
       return figures;
     }},
    {"corrige.htm", "Δt ≈ %1 ms et 1/Δt ≈ %2",
     [] {
       const TCursorDelta delta = CursorDifference(2.5, 11.2, 7.5, 11.2);
       return QStringList{Fmt(delta.dtMs),
                          QString::fromStdString(FormatInverseTime(delta.dtMs, ","))};
     }},
    {"corrige.htm", "période %1 ms, fréquence %2 Hz",
     [] {
       const TTraceMeasures m = OneQuadrant(50, kOpen).measures;
       return QStringList{Fmt(m.periodMs.value_or(0)), Fmt(m.frequencyHz.value_or(0), 0)};
     }},
    {"corrige.htm", "E = %1 V (maximum de la fenêtre Mesures",
     [] { return QStringList{Fmt(OneQuadrant(50, kOpen).measures.max)}; }},
    {"corrige.htm", "d'où α = %1 et ⟨u⟩ = %2 V au lieu de %3 et %4 V",
     [] {
       const BenchRun run = OneQuadrant(50, kOpen);
       return QStringList{Fmt(run.measures.dutyCycle.value_or(0)), Fmt(run.measures.mean),
                          Fmt(run.CursorAlpha()), run.Shown(inVoltmeter)};
     }},
    {"corrige.htm", "la fenêtre Mesures trouve une impulsion de %1 ms",
     [] { return QStringList{Fmt(OneQuadrant(50, kOpen).MidHeightMs())}; }},
    {"corrige.htm", "un centième de période de plus, soit E / 100 = %1 V sur la moyenne",
     [] {
       const BenchRun run = OneQuadrant(50, kOpen);
       const QString excess = Fmt(run.measures.mean - run.Reading(inVoltmeter));
       EXPECT_EQ(excess.toStdString(), Fmt(static_cast<double>(run.supply) / 100).toStdString());
       return QStringList{excess};
     }},
    {"corrige.htm", "n = %1 · U − %2, avec R² = %3",
     [] {
       const TLineFit fit = SpeedLine("1q", {10, 20, 40, 60, 80, 100});
       return QStringList{Fmt(fit.slope, 0), Fmt(-fit.intercept, 0), Fmt(fit.r2, 0)};
     }},
    {"corrige.htm", "U0 = b / a = %1 V. À 0 % et à 5 % (%2 V)",
     [] {
       const TLineFit fit = SpeedLine("1q", {10, 20, 40, 60, 80, 100});
       return QStringList{Fmt(-fit.intercept / fit.slope),
                          OneQuadrant(5, kNoSelf).Shown(inVoltmeter)};
     }},
    {"corrige.htm", "La pointe descend à %1 V et s'amortit en %2 ms",
     [] {
       const BenchRun run = OneQuadrant(50, kSelf);
       return QStringList{Fmt(run.measures.min),
                          Fmt(run.Count([](double v) { return v < 0; }) * kSampleMs)};
     }},
    {"corrige.htm", "à %1 ms dans la période",
     [] { return QStringList{Fmt(OneQuadrant(50, kSelf).PlateauMs())}; }},
    {"corrige.htm",
     "⟨u⟩ = %1 V contre %2 V au voltmètre. Les pointes retirent %3 V à la moyenne de la trace ; "
     "l'impulsion dessinée, plus longue d'un point, lui en ajoute %4",
     [] {
       const BenchRun self = OneQuadrant(50, kSelf), plain = OneQuadrant(50, kNoSelf);
       return QStringList{Fmt(self.measures.mean), self.Shown(inVoltmeter),
                          Fmt(plain.measures.mean - self.measures.mean),
                          Fmt(plain.measures.mean - plain.Reading(inVoltmeter))};
     }},
    {"corrige.htm",
     "Le minimum descend à %1 V, mais le niveau bas reste %2 V et le niveau haut %3 V",
     [] {
       const TTraceMeasures m = OneQuadrant(50, kSelf).measures;
       return QStringList{Fmt(m.min), Quantity(m.base), Quantity(m.top)};
     }},
    {"corrige.htm", "repérés à mi-chemin des deux niveaux, à %1 V",
     [] {
       const TTraceMeasures m = OneQuadrant(50, kSelf).measures;
       return QStringList{Fmt((m.top.value_or(std::nan("")) + m.base.value_or(std::nan(""))) / 2)};
     }},
    {"corrige.htm", "d'où α = %1 comme sans self", SpikesAlpha},
    {"corrige.htm", "À 100 %, la tension est constante : sans front, ni période ni α (« %1 »)",
     [] {
       return QStringList{
           NoPeriodNorAlpha(TwoQuadrant(100, TChopperType::kPlusOrMinus, kNoSelf).measures)};
     }},
    {"corrige.htm", "trace nulle à 0 %, sans période ni α (« %1 »)",
     [] {
       return QStringList{NoPeriodNorAlpha(
           TwoQuadrant(0, TChopperType::kPlusAndMinusOffAtZero, kNoSelf).measures)};
     }},
    {"corrige.htm", "La moyenne des 500 valeurs exportées est %1 V",
     [] {
       const BenchRun run = OneQuadrant(50, kSelf);
       return QStringList{Fmt(std::accumulate(run.u.begin(), run.u.end(), 0.0) /
                              static_cast<double>(run.u.size()))};
     }},
    {"corrige.htm", "à 10 % la commutation reprend, α = %1 et ⟨u⟩ = %2 V",
     [] {
       const TTraceMeasures m =
           TwoQuadrant(10, TChopperType::kPlusAndMinusOffAtZero, kNoSelf).measures;
       return QStringList{Fmt(m.dutyCycle.value_or(0)), Fmt(m.mean)};
     }},
    {"corrige.htm",
     "U / I1 = %1 Ω avec les valeurs affichées (%2 Ω avant arrondi). À 10 %, E′ = %3 − %1 × %4 = "
     "%5 V",
     [] {
       const BenchRun stall = MachineOne(5), run = MachineOne(10);
       const double r = StandstillRatio();
       return QStringList{Fmt(r), Fmt(static_cast<double>(stall.voltage / stall.current1)),
                          run.Shown(inVoltmeter), run.Shown(inAmmeter1),
                          Fmt(run.Reading(inVoltmeter) - r * run.Reading(inAmmeter1))};
     }},
    {"corrige.htm", "qui tourne à %1 tr/min",
     [] { return QStringList{MachineOne(10).Shown(inTachometer)}; }},
    {"corrige.htm", "à 50 %, environ %1 A au lieu des %2 A affichés",
     [] {
       const BenchRun run = MachineOne(50);
       return QStringList{Fmt(0.5 * static_cast<double>(run.current1)), run.Shown(inAmmeter1)};
     }},
    {"corrige.htm",
     "n = %1 · U, ordonnée à l'origine %2 tr/min, avec R² = %3. La f.é.m. vaut %4 V pour 1000 "
     "tr/min",
     [] {
       const TLineFit fit = SpeedLine("4q-m2", {25, 50, 80, 85, 90, 100});
       return QStringList{Fmt(fit.slope, 1), Fmt(fit.intercept, 0), Fmt(fit.r2, 0),
                          Fmt(1000 / fit.slope)};
     }},
    {"corrige.htm",
     "En moteur, la pente est de %1 tr/min par volt (%2 V pour 1000 tr/min), ici de %3 tr/min par "
     "volt",
     [] {
       const TLineFit motor = SpeedLine("1q", {10, 20, 40, 60, 80, 100});
       const TLineFit generator = SpeedLine("4q-m2", {25, 50, 80, 85, 90, 100});
       return QStringList{Fmt(motor.slope, 0), Fmt(1000 / motor.slope), Fmt(generator.slope, 1)};
     }},
    {"corrige.htm", "À partir de %1 V, soit %2 tr/min (entre 85 % et 90 %)",
     [] {
       // The first setting whose current is not zero, and the voltage where it starts.
       const BenchRun below = MachineTwo(85), above = MachineTwo(90);
       const double u0 = static_cast<double>(above.voltage + above.current1 / 0.2L);
       EXPECT_EQ(below.Shown(inAmmeter1).toStdString(), "0,00");
       return QStringList{Fmt(u0, 0),
                          Fmt(static_cast<double>(u0 * above.speed / above.voltage), 0)};
     }},
    {"corrige.htm",
     "à 100 %, la trace reste entre %1 V et %2 V, et sa moyenne est proche des %3 V du voltmètre",
     [] {
       return QStringList{Fmt(MachineTwo(100, 0).measures.min),
                          Fmt(MachineTwo(100, 199).measures.max),
                          MachineTwo(100).Shown(inVoltmeter)};
     }},
    {"corrige.htm",
     "la fenêtre n'y trouve aucun front, et affiche « %1 » pour la période et pour α",
     [] { return QStringList{NoPeriodNorAlpha(MachineTwo(100).measures)}; }},

    // The current channel.
    {"cours1.htm",
     "L = %1 mH pour le moteur « sans effet de self », L = %2 mH « avec effet de self »",
     [] {
       return QStringList{Millihenries(OneQuadrant(50, kNoSelf)),
                          Millihenries(OneQuadrant(50, kSelf))};
     }},
    {"cours1.htm", "Δi = %1 × %2 × 5 / %3 = %4 A. La fenêtre Mesures lit %5 A",
     [] {
       const BenchRun run = OneQuadrant(50, kNoSelf);
       return RippleWorking(run) << Amps(run.current.peakToPeak);
     }},
    {"cours1.htm", "avec l'α de la trace, %1 × %2 = %3 au lieu de %4",
     [] {
       const BenchRun run = OneQuadrant(50, kNoSelf);
       const double alpha = run.measures.dutyCycle.value_or(0), set = run.CursorAlpha();
       // With the trace's alpha the course's formula gives the window's ripple.
       EXPECT_EQ(Amps(alpha * (1 - alpha) * run.RippleFormula() / (set * (1 - set))).toStdString(),
                 Amps(run.current.peakToPeak).toStdString());
       return QStringList{Fmt(alpha), Fmt(1 - alpha), Fmt(alpha * (1 - alpha), 4),
                          Fmt(set * (1 - set))};
     }},
    {"cours1.htm",
     "l'ondulation est dix fois plus petite, %1 A, et la valeur moyenne reste ⟨i⟩ = %2 A",
     [] {
       const BenchRun plain = OneQuadrant(50, kNoSelf), self = OneQuadrant(50, kSelf);
       EXPECT_NEAR(plain.current.peakToPeak / self.current.peakToPeak, 10, 1e-9);
       EXPECT_EQ(Amps(plain.current.mean).toStdString(), Amps(self.current.mean).toStdString());
       return QStringList{Amps(self.current.peakToPeak), Amps(self.current.mean)};
     }},
    {"cours1.htm", "imin = %1 − %2 = %3 A, le minimum de la voie 2",
     [] {
       const TTraceMeasures i = OneQuadrant(50, kNoSelf).current;
       EXPECT_EQ(Amps(i.mean - i.peakToPeak / 2).toStdString(), Amps(i.min).toStdString());
       return QStringList{Amps(i.mean), Amps(i.peakToPeak / 2), Amps(i.min)};
     }},
    {"cours2.htm", "Δi = 2 × %1 × %2 × 5 / %3 = %4 A, avec l'inductance L = %3 mH",
     [] { return RippleWorking(TwoQuadrant(0, TChopperType::kPlusAndMinusFedAtZero, kNoSelf)); }},
    {"cours2.htm",
     "⟨i⟩ = %1 A, et le moteur ne tourne pas ; pourtant un courant de %2 A à %3 A le traverse à "
     "chaque période, de valeur efficace %4 A",
     [] {
       const BenchRun run = TwoQuadrant(0, TChopperType::kPlusAndMinusFedAtZero, kNoSelf);
       EXPECT_EQ(run.Shown(inTachometer).toStdString(), "0");
       return QStringList{Amps(run.current.mean), Amps(run.current.min), Amps(run.current.max),
                          Amps(run.current.rms)};
     }},
    {"cours2.htm",
     "À 50 %, les deux commandes donnent la même valeur moyenne, ⟨i⟩ = %1 A, mais la commande "
     "« + et − » ondule davantage : %2 A contre %3 A. Son minimum, %4 A, est même négatif",
     [] {
       const BenchRun both = TwoQuadrant(50, TChopperType::kPlusAndMinusFedAtZero, kNoSelf);
       const BenchRun one = TwoQuadrant(50, TChopperType::kPlusOrMinus, kNoSelf);
       EXPECT_EQ(Amps(both.current.mean).toStdString(), Amps(one.current.mean).toStdString());
       EXPECT_LT(both.current.min, 0);
       return QStringList{Amps(both.current.mean), Amps(both.current.peakToPeak),
                          Amps(one.current.peakToPeak), Amps(both.current.min)};
     }},
    {"cours2.htm", "à 50 %, ⟨i2⟩ = %1 A pour ⟨i1⟩ = %2 A",
     [] {
       const BenchRun run = MachineOne(50);
       // "voisine de alpha |<i1>|": the switches conduct about half the period.
       EXPECT_NEAR(run.Current2().mean, 0.5 * std::fabs(run.current.mean), 0.01);
       return QStringList{Amps(run.Current2().mean), Amps(run.current.mean)};
     }},
    {"cours2.htm", "L'ampèremètre n°2 du logiciel affiche %1 A",
     [] { return QStringList{MachineOne(50).Shown(inAmmeter2)}; }},
    {"cours2.htm",
     "E · ⟨i2⟩ = %1 × %2 = %3 W, à peu près ce que reçoit la machine, U · I1 = %4 × %5 = %6 W, et "
     "non %1 × %7 = %8 W",
     [] { return PowerBalance(MachineOne(50)); }},
    {"cours2.htm",
     "À l'arrêt (5 %), l'écart est plus grand encore : %1 A à la voie 2, %2 A à l'ampèremètre n°2",
     [] {
       const BenchRun run = MachineOne(5);
       EXPECT_EQ(run.Shown(inTachometer).toStdString(), "0");
       return QStringList{Amps(run.Current2().mean), run.Shown(inAmmeter2)};
     }},
    {"cours2.htm", "À 100 % en sens anti-horaire, ⟨i1⟩ = %1 A et ⟨i2⟩ = %2 A : U · I1 est négatif",
     [] {
       const BenchRun run = Replay({"4q-m2", 100, TDirection::kAnticlockwise});
       // Nothing switches: both flat, each at its ammeter's value.
       EXPECT_EQ(run.current.peakToPeak, 0);
       EXPECT_EQ(run.Current2().peakToPeak, 0);
       EXPECT_EQ(Fmt(run.current.mean).toStdString(), run.shown.at(inAmmeter1));
       EXPECT_EQ(Fmt(run.Current2().mean).toStdString(), run.shown.at(inAmmeter2));
       EXPECT_LT(run.Reading(inVoltmeter) * run.Reading(inAmmeter1), 0);
       return QStringList{Amps(run.current.mean), Amps(run.Current2().mean)};
     }},
    {"corrige.htm",
     "avec effet de self : ⟨i⟩ = %1 A et Δi = %2 A ; sans effet de self : ⟨i⟩ = %3 A et Δi = %4 A",
     [] {
       const TTraceMeasures self = OneQuadrant(50, kSelf).current;
       const TTraceMeasures plain = OneQuadrant(50, kNoSelf).current;
       return QStringList{Amps(self.mean), Amps(self.peakToPeak), Amps(plain.mean),
                          Amps(plain.peakToPeak)};
     }},
    {"corrige.htm", "L = %1 × %2 × 5 / Δi donne L = %3 mH sans effet de self et L = %4 mH avec",
     [] {
       // What a student works out from the ripple read, against the model's inductance.
       QStringList figures = RippleWorking(OneQuadrant(50, kNoSelf)).mid(0, 2);
       for (const TWiring wiring : {kNoSelf, kSelf}) {
         const BenchRun run = OneQuadrant(50, wiring);
         const double henries = run.RippleFormula() * run.inductance / run.current.peakToPeak;
         EXPECT_EQ(Fmt(henries * 1000, 0).toStdString(), Millihenries(run).toStdString());
         figures << Fmt(henries * 1000, 0);
       }
       return figures;
     }},
    {"corrige.htm", "Le minimum du courant, %1 A sans effet de self et %2 A avec, reste positif",
     [] {
       const TTraceMeasures self = OneQuadrant(50, kSelf).current;
       const TTraceMeasures plain = OneQuadrant(50, kNoSelf).current;
       EXPECT_GT(plain.min, 0);
       return QStringList{Amps(plain.min), Amps(self.min)};
     }},
    {"corrige.htm", "À la voie 2 : ⟨i⟩ = %1 A, Δi = %2 A (de %3 A à %4 A), valeur efficace %5 A",
     [] {
       const TTraceMeasures i =
           TwoQuadrant(0, TChopperType::kPlusAndMinusFedAtZero, kNoSelf).current;
       return QStringList{Amps(i.mean), Amps(i.peakToPeak), Amps(i.min), Amps(i.max), Amps(i.rms)};
     }},
    {"corrige.htm", "la formule donne 2 × %1 × %2 × 5 / %3 = %4 A",
     [] { return RippleWorking(TwoQuadrant(0, TChopperType::kPlusAndMinusFedAtZero, kNoSelf)); }},
    {"corrige.htm",
     "Le courant aussi : à 50 %, Δi = %1 A avec « + et − » (α = %2) contre %3 A avec « + ou − », "
     "pour le même ⟨i⟩ = %4 A ; avec « + et − », le minimum, %5 A",
     [] {
       const BenchRun both = TwoQuadrant(50, TChopperType::kPlusAndMinusFedAtZero, kNoSelf);
       const BenchRun one = TwoQuadrant(50, TChopperType::kPlusOrMinus, kNoSelf);
       return QStringList{Amps(both.current.peakToPeak), Fmt(both.CursorAlpha()),
                          Amps(one.current.peakToPeak), Amps(one.current.mean),
                          Amps(both.current.min)};
     }},
    {"corrige.htm", "i1 ondule de %1 A à %2 A autour de ⟨i1⟩ = %3 A (ampèremètre n°1 : %4 A)",
     [] {
       const BenchRun run = MachineOne(50);
       return QStringList{Amps(run.current.min), Amps(run.current.max), Amps(run.current.mean),
                          run.Shown(inAmmeter1)};
     }},
    {"corrige.htm", "des impulsions de 0 à %1 A, de valeur moyenne ⟨i2⟩ = %2 A",
     [] {
       const BenchRun run = MachineOne(50);
       EXPECT_EQ(Amps(run.Current2().min).toStdString(), "0,000");
       return QStringList{Amps(run.Current2().max), Amps(run.Current2().mean)};
     }},
    {"corrige.htm", "E · ⟨i2⟩ = %1 W, à peu près U · I1 = %2 W",
     [] {
       const QStringList balance = PowerBalance(MachineOne(50));
       return QStringList{balance[2], balance[5]};
     }},
};

TEST(BenchReadingsInPages, EveryQuotedFigureIsTheBenchs) {
  std::map<std::string, QString> prose;
  for (const char* name : kPages)
    prose[name] = HtmlPage(RunDir() / "aide" / name)
                      .Prose()
                      .replace(QRegularExpression("[\\s\\x{A0}\\x{202F}]+"), " ");
  for (const Quote& quote : kQuotes) {
    QString text = QString::fromUtf8(quote.text);
    for (const QString& figure : quote.figures())
      text = text.arg(QString(figure).replace(u'-', QChar(0x2212)));
    text.replace(QRegularExpression("[\\s\\x{A0}\\x{202F}]+"), " ");
    EXPECT_TRUE(prose[quote.page].contains(text))
        << quote.page << " does not say \"" << text.toStdString() << "\"";
  }
}

}  // namespace
