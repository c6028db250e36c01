#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QPair>
#include <QString>

#include "app/lab/export.h"

class QPrinter;

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

// Lays the report out on one page of `printer`, whatever the lengths of its texts and lists:
// the type shrinks first, then the longest lists are cut with a line saying how many rows were
// left out. The printer keeps its settings (paper, margins, output file). Fails only when the
// printer cannot start (an output file that cannot be written, a printer gone).
TExportResult PrintReport(const TReport& report, QPrinter* printer);
