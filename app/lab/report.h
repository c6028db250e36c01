// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>
#include <utility>
#include <vector>

#include "app/lab/export.h"
#include "platform/color.h"

class QPrinter;
class TChart;
class TChartAxis;
class TChartSeries;

// The one-page printed report of the oscilloscope: what it shows, the settings and readings.

struct TReport {
  QString title;
  QDateTime date;
  QString experiment;
  QList<QPair<QString, QString>> settings;  // wiring, chopper, direction, driving machine, ...
  QImage screen;                            // the oscilloscope as shown
  QList<QPair<QString, QString>> readings;  // the four instruments
  QList<QPair<QString, QString>> measures;
};

// Under the title, a line for the student to fill in: "Nom\u00A0:" and "Classe\u00A0:" with dotted
// blanks, "Date\u00A0:" with the report's date when it has one.
//
// Lays the report out on one page of `printer`, whatever the lengths of its texts and lists:
// the type shrinks first, then the longest lists are cut with a line saying how many rows were
// left out. The printer keeps its settings (paper, margins, output file). Fails only when the
// printer cannot start (an output file that cannot be written, a printer gone).
TExportResult PrintReport(const TReport& report, QPrinter* printer);

// While it lives, the chart draws for paper: a white background instead of its gradient, axes
// and labels black, the grid mid grey, each series given in its own dark ink. Whatever it changes
// is put back when it goes (also when what ran in between threw), and the chart then draws
// exactly as before.
class TInkSavingLook {
 public:
  struct TInk {
    TChartSeries* series;
    TColor colour;
  };
  TInkSavingLook(TChart& chart, const QList<TInk>& inks);
  ~TInkSavingLook();
  TInkSavingLook(const TInkSavingLook&) = delete;
  TInkSavingLook& operator=(const TInkSavingLook&) = delete;

 private:
  struct TAxisLook {
    TChartAxis* axis;
    TColor line, ticks, grid, labels;
  };
  void Restore();

  TChart& chart_;
  bool gradient_ = false;
  TColor panel_ = clWhite;
  std::vector<TAxisLook> axes_;
  std::vector<std::pair<TChartSeries*, TColor>> series_;
};
