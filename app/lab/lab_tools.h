// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <functional>
#include <optional>
#include <utility>

#include "app/projector_mode.h"

class QPrinter;
class QWidget;
class TBench;
class TChart;
class TFastLineSeries;
class TMeasuresWindow;
struct TMeasuresText;

// The oscilloscope for lab work: the screen saved as PNG, the curves exported as CSV, the screen
// copied, the one-page report printed (or saved as PDF where there is no printer), the "Mesures"
// window, cursor B and the projector mode ("Contraste élevé"). The window creates it and runs its
// menus through it; nothing here runs until the user opens one of them, so the window without
// them is the window as it always was.
class TLabTools : public QObject {
  Q_OBJECT

 public:
  using TPairs = QList<QPair<QString, QString>>;

  // The oscilloscope of the window.
  struct TScope {
    TChart* chart = nullptr;
    TFastLineSeries* trace = nullptr;         // Series1, the red trace
    TFastLineSeries* zeroLine = nullptr;      // Series4, the blue zero line
    TFastLineSeries* crossTime = nullptr;     // Series2 and Series3: the measuring cross,
    TFastLineSeries* crossVoltage = nullptr;  // which is cursor A
    // Channel 2, the current on the right axis (A): empty and hidden while the channel is off.
    TFastLineSeries* current = nullptr;
  };
  // What the window shows around it, as it shows it now.
  struct TWindowView {
    // The choices and set-points shown, named as their panels, in the screen's order.
    std::function<TPairs()> settings;
    // The four instruments, each with its reading and unit.
    std::function<TPairs()> readings;
    // Channel 2's current as named on the screen ("i", "i1" or "i2"); empty while it is off.
    std::function<QString()> currentName;
  };

  // Cursor B's lines are drawn on the chart after the cross. `window` parents the dialogs and
  // the "Mesures" window; the bench must outlive the tools.
  TLabTools(QWidget* window, const TBench& bench, const TScope& scope, TWindowView view);
  ~TLabTools() override;

  // Whether projector mode was on when the program last ran.
  static bool HighContrastSaved();

  // --- What the menus do ------------------------------------------------------------------------
  // Each asks for a file where it needs one (in the last folder used, else Documents or home);
  // a failed write is said in the error box and leaves any existing file as it was.
  void SaveScreen();
  void ExportCurves();
  void CopyScreen();
  void Print();
  void ShowMeasures();
  void SetHighContrast(bool on);  // remembered for the next run

  // --- Cursors ----------------------------------------------------------------------------------
  // Whether the chart's last double click came with Shift held: it sets cursor B.
  bool ShiftDoubleClick() const { return shiftDoubleClick_; }
  // Cursor B where the pointer is, spanning the ranges shown.
  void SetCursorB();
  // Cursor B at (`time` ms, `voltage` V), spanning the ranges shown: where the pointer or the
  // keyboard puts it.
  void PlaceCursorB(double time, double voltage);
  void ClearCursorB();
  // Where cursor B is (ms, V), when it is set.
  std::optional<std::pair<double, double>> CursorB() const { return cursorB_; }
  // Puts a cursor's two lines at (`time`, `voltage`) across the ranges the chart shows now:
  // `vertical` from bottom to top, `horizontal` from left to right.
  static void SpanCursorLines(TChart& chart, TFastLineSeries& vertical, TFastLineSeries& horizontal,
                              double time, double voltage);
  // The "Mesures" window, when it is open, brought up to date.
  void RefreshMeasures();

  // --- What those entries do once a file or a printer is chosen --------------------------------
  bool SaveScreenTo(const QString& path);
  bool ExportCurvesTo(const QString& path);
  void PrintReportTo(QPrinter* printer);
  // Whether the desktop has a printer; tests replace the question. Returns the one replaced;
  // an empty one asks the desktop again.
  using TPrinterQuery = std::function<bool()>;
  static TPrinterQuery SetPrinterQuery(TPrinterQuery query);
  // The oscilloscope screen as shown, cross and cursors included, at its pixel size.
  QImage ScreenImage() const;
  // What the "Mesures" window shows now.
  TMeasuresText MeasuresText() const;
  // The file name proposed for an export: the experiment and its settings.
  QString DefaultFileName(const QString& suffix) const;

 private:
  void SetUpCursorB();
  QString ExperimentTitle() const;
  // Channel 2's name while it is on; empty while it is off.
  QString CurrentName() const;
  void MeasureCurrent(TMeasuresText& text, bool cursorA) const;
  QString AskSavePath(const QString& title, const QString& suffix, const QString& filter);
  // No printer: offers the report as a PDF file instead.
  void OfferPdf(QPrinter& printer);
  // The screen as the printed report shows it: ScreenImage, drawn in dark inks on white when
  // the user chose to save ink.
  QImage PaperScreenImage() const;

  QWidget* window_;
  const TBench& bench_;
  TScope scope_;
  TWindowView view_;
  // Cursor B's two lines.
  TFastLineSeries* Series5 = nullptr;
  TFastLineSeries* Series6 = nullptr;
  std::optional<std::pair<double, double>> cursorB_;  // ms, V
  bool shiftDoubleClick_ = false;
  TMeasuresWindow* MeasuresWindow_ = nullptr;
  int baseLabelSize_ = 8;
  bool highContrast_ = false;
};
