// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <functional>

#include "app/lab/measures.h"
#include "app/projector_mode.h"

class QPrinter;
class QWidget;
class TBench;
class TInstruments;
class TMeasuresWindow;
class TScopeView;

// The oscilloscope for lab work: the screen saved as PNG, the curves exported as CSV, the screen
// copied, the one-page report printed (or saved as PDF where there is no printer), and the
// "Mesures" window. The window creates it and runs its menus through it; nothing here runs until
// the user opens one of them, so the window without them is the window as it always was. What
// it saves and prints is named after the bench's own values, never read back from a widget.
class TLabTools : public QObject {
  Q_OBJECT

 public:
  using TPairs = QList<QPair<QString, QString>>;

  // `window` parents the dialogs and the "Mesures" window; the bench, the scope view and the
  // instruments must outlive the tools.
  TLabTools(QWidget* window, const TBench& bench, const TScopeView& scope,
            const TInstruments& instruments);
  ~TLabTools() override;

  // --- What the menus do ------------------------------------------------------------------------
  // Each asks for a file where it needs one (in the last folder used, else Documents or home);
  // a failed write is said in the error box and leaves any existing file as it was.
  void SaveScreen();
  void ExportCurves();
  void CopyScreen();
  void Print();
  void ShowMeasures();
  // Projector mode: the "Mesures" values half as large again, now and when it opens.
  void SetHighContrast(bool on);
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
  QString ExperimentTitle() const;
  TPairs Settings() const;
  QString AskSavePath(const QString& title, const QString& suffix, const QString& filter);
  // No printer: offers the report as a PDF file instead.
  void OfferPdf(QPrinter& printer);
  // The screen as the printed report shows it: ScreenImage, drawn in dark inks on white when
  // the user chose to save ink.
  QImage PaperScreenImage() const;

  QWidget* window_;
  const TBench& bench_;
  const TScopeView& scope_;
  const TInstruments& instruments_;
  TMeasuresWindow* MeasuresWindow_ = nullptr;
  bool highContrast_ = false;
};
