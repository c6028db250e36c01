// The readings the course pages quote are the readings of the simulated bench: each table of
// readings is replayed on the bench model, row by row, and every speed quoted at full voltage is
// checked against the speed law.
#include <gtest/gtest.h>

#include <QRegularExpression>

#include <array>
#include <filesystem>
#include <map>
#include <set>
#include <string>

#include "data_paths.h"
#include "html_page.h"
#include "sim/bench.h"

namespace fs = std::filesystem;

namespace {

class Readings : public TBenchOutput {
 public:
  void ShowReading(TInstrument instrument, const std::string& text) override {
    shown[instrument] = text;
  }
  std::map<TInstrument, std::string> shown;
};

// Pages print the minus sign as a typographer would; the instruments print a hyphen.
std::string AsInstrumentText(const QString& cell) {
  QString text = cell;
  return text.replace(QChar(0x2212), u'-').toStdString();
}

int Direction(const QString& sens) {
  if (sens == u"horaire") return 1;
  if (sens == u"anti-horaire") return 0;
  ADD_FAILURE() << "unknown direction " << sens.toStdString();
  return TBench::kNotChosen;
}

int ChopperType(const QString& command) {
  const QString c = QString(command).replace(QChar(0x2212), u'-').simplified();
  if (c == u"+ ou -") return 1;
  if (c == u"+ et -") return 2;
  ADD_FAILURE() << "unknown chopper command " << command.toStdString();
  return 0;
}

// One table row replayed on a bench set up as its experiment's menu entry and buttons leave it.
// Returns the instrument texts in the order of the table's columns.
std::vector<std::string> Replay(const QString& kind, const QStringList& row) {
  Readings readings;
  TBench bench(&readings);
  const int percent = row.at(0).toInt();
  bench.ConnectionMode = 2;  // motor connected
  bench.SpeedPercent = percent;
  if (kind == u"1q" || kind == u"2q") {
    bench.SupplyVoltage = kind == u"1q" ? 11.2L : 10.4L;
    bench.RotationDirection = kind == u"1q" ? 1 : Direction(row.at(2));
    bench.ChopperType = kind == u"1q" ? 1 : ChopperType(row.at(1));
    bench.SpeedSetting = 2 * percent;
    bench.RefreshBench();
    return {readings.shown[inVoltmeter], readings.shown[inTachometer]};
  }
  bench.SupplyVoltage = 10.4L;
  bench.ChopperType = 1;
  bench.DrivingMachine = kind == u"4q-m1" ? 1 : 2;
  bench.RotationDirection = Direction(row.at(1));
  bench.MachineSpeedSetting = 2 * percent;
  bench.RefreshFourQuadrant();
  if (kind == u"4q-m1")
    return {readings.shown[inVoltmeter], readings.shown[inTachometer], readings.shown[inAmmeter1],
            readings.shown[inAmmeter2]};
  return {readings.shown[inTachometer], readings.shown[inVoltmeter], readings.shown[inAmmeter1],
          readings.shown[inAmmeter2]};
}

// Columns before the readings: the setting, then the command and/or the direction.
int SettingColumns(const QString& kind) {
  if (kind == u"1q") return 1;
  if (kind == u"2q") return 3;
  return 2;
}

const char* const kPages[] = {"index.htm", "cours1.htm", "cours2.htm", "travail.htm",
                              "aideoscillo.htm"};

TEST(BenchReadingsInPages, EveryQuotedTableMatchesTheBench) {
  std::set<std::string> kinds;
  for (const char* name : kPages) {
    const HtmlPage page(RunDir() / "aide" / name);
    ASSERT_TRUE(page.IsWellFormed()) << name << ": " << page.Error().toStdString();
    for (const PageTable& table : page.Tables()) {
      if (table.kind.isEmpty()) continue;
      kinds.insert(table.kind.toStdString());
      const int first = SettingColumns(table.kind);
      for (const QStringList& row : table.rows) {
        const std::vector<std::string> bench = Replay(table.kind, row);
        ASSERT_EQ(static_cast<std::size_t>(row.size() - first), bench.size())
            << name << ", table " << table.kind.toStdString() << ": wrong number of columns";
        for (std::size_t c = 0; c < bench.size(); ++c)
          EXPECT_EQ(AsInstrumentText(row.at(first + static_cast<int>(c))), bench[c])
              << name << ", table " << table.kind.toStdString() << ", row \""
              << row.join(" | ").toStdString() << "\", column " << first + c;
      }
    }
  }
  // Each experiment of the menu has its readings quoted somewhere.
  EXPECT_EQ(kinds, (std::set<std::string>{"1q", "2q", "4q-m1", "4q-m2"}));
}

TEST(BenchReadingsInPages, FullSpeedsFollowTheSpeedLaw) {
  // "2920 tr/mn sous 10,4 V": what the tachometer shows at that voltage.
  const QRegularExpression quote(QStringLiteral("(\\d+) tr/mn sous (\\d+),(\\d) V"));
  int quotes = 0;
  for (const char* name : kPages) {
    const HtmlPage page(RunDir() / "aide" / name);
    for (auto it = quote.globalMatch(page.Prose()); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      Readings readings;
      TBench bench(&readings);
      bench.ConnectionMode = 2;
      bench.RotationDirection = 1;
      bench.MotorVoltage = m.captured(2).toInt() + m.captured(3).toInt() / 10.0L;
      bench.UpdateSpeed();
      EXPECT_EQ(m.captured(1).toStdString(), readings.shown[inTachometer])
          << name << ": \"" << m.captured().toStdString() << "\"";
      ++quotes;
    }
  }
  EXPECT_GE(quotes, 2);
}

}  // namespace
