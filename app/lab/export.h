// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>
#include <QImage>
#include <QList>
#include <QLocale>
#include <QPair>
#include <QString>

#include "app/csv_text.h"

// Saving the oscilloscope's traces (CSV) and screen (PNG). Every
// file is written whole or not at all (app/save_file.h): a write that fails leaves the file that
// was there untouched. Nothing here throws; a failure comes back as a French sentence for the
// error box.

// One trace as the chart stores it: `count` points, times in ms and values in `unit`. The
// pointers are read only during the call (a series' StoredValues() can be handed in as is).
struct TCsvTrace {
  QString name;  // the column's heading before its unit: "tension rouge"
  const double* times = nullptr;
  const double* values = nullptr;
  int count = 0;
  QString unit = QStringLiteral("V");
};

// The CSV text, UTF-8 without a byte-order mark, one line per row ending in "\n":
// - a heading row: "temps (ms)" then "<name> (<unit>)" for each trace;
// - one row per time, in time order: traces sampled at the same instants share their rows, and a
//   trace that has no point at a row's time (a shorter trace, another time base) leaves its cell
//   empty. Every point is written exactly once, even when a trace repeats a time.
// When `locale` writes a decimal comma, fields are separated by ';' and numbers take a decimal
// comma, as a French spreadsheet expects; otherwise ',' and a decimal point. Numbers have at most
// six decimals (a microvolt, a microsecond: finer than the screen shows) unless that text would
// not read back as the same double, in which case the shortest text that does (an exponent
// possible); no thousands separator, always ASCII digits; a value that is not finite is an empty
// cell.
QByteArray TracesCsv(const QList<TCsvTrace>& traces, const QLocale& locale);
[[nodiscard]] TExportResult SaveTracesCsv(const QString& path, const QList<TCsvTrace>& traces,
                                          const QLocale& locale);

// The image as PNG, pixel for pixel, with its texts (QImage::text) as the file's text chunks.
[[nodiscard]] TExportResult SaveImagePng(const QImage& image, const QString& path);

// What a saved screen says about itself, so it can go into a lab report as it is.
struct TScreenCaption {
  QString experiment;
  QList<QPair<QString, QString>> settings;  // "Branchement", "moteur branché"...
  QDateTime date;                           // not written when invalid
  QString current;  // channel 2's name ("i", "i1", "i2") while it is on, else empty
};

// The lines under a saved screen: the experiment, its settings ("Branchement\u00A0: ..." joined
// on one line), the axes (the right one while channel 2 is on) and the date, in French; empty
// parts are left out.
QStringList ScreenCaptionLines(const TScreenCaption& caption);

// `screen` as grabbed, untouched, with below it a white strip as wide as the screen holding the
// caption lines in dark type; long lines wrap, nothing is cut. The strip is drawn at the screen's
// device pixel ratio, so a screen grabbed at 2x gets type drawn at 2x. The texts are also set as
// the image's "Title", "Description" and "Creation Time", which a PNG keeps. A null screen gives
// a null image.
QImage CaptionedScreen(const QImage& screen, const TScreenCaption& caption);

// The file name proposed for an export: "oscillogramme_<tag>.<extension>", with the tag made
// safe on every system: accents stripped, "%" written "pc", blanks as "_", anything but ASCII
// letters, digits, '-' and '.' as "-". "2-quadrants R-L 50 %" gives
// "oscillogramme_2-quadrants_R-L_50pc.csv".
QString DefaultExportFileName(const QString& experimentTag, const QString& extension);
