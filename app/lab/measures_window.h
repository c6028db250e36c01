// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <memory>

#include "app/lab_window_place.h"

namespace Ui {
class TMeasuresWindow;
}

// What the "Mesures" window shows, already written out with units; "—" where a value has no
// meaning (a flat trace's duty cycle, a cursor not set).
struct TMeasuresText {
  QString mean, rms, min, max, peakToPeak, top, base, period, frequency, dutyCycle;
  QString cursorA, cursorB, deltaT, deltaU, inverseDeltaT;
  // The duty cycle's caption, without its colon: which level alpha counts the time at.
  QString dutyCycleCaption = QStringLiteral("α");

  // Channel 2, the current, in A, beside channel 1's mean, RMS, extremes and peak to peak; "—"
  // while the channel is off. Levels, period and duty cycle are the chopper's, channel 1's only.
  QString currentName = QStringLiteral("i");  // "i", "i1" or "i2", as the screen names it
  QString currentMean = QStringLiteral("—"), currentRms = QStringLiteral("—"),
          currentMin = QStringLiteral("—"), currentMax = QStringLiteral("—"),
          currentPeakToPeak = QStringLiteral("—");
  QString deltaI = QStringLiteral("—");  // between the cursors, under deltaU
};

// The automatic measurements of the two channels and the two cursors, beside the main window:
// not modal, so the student keeps zooming and moving the bars while it follows.
class TMeasuresWindow : public QDialog {
  Q_OBJECT

 public:
  explicit TMeasuresWindow(QWidget* parent = nullptr);
  ~TMeasuresWindow() override;

  void Show(const TMeasuresText& text);
  const TMeasuresText& Shown() const { return shown_; }
  // Projector mode: the values half as large again.
  void SetHighContrast(bool on);

 protected:
  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  void NameCurrent(const QString& name);

  std::unique_ptr<Ui::TMeasuresWindow> ui_;
  TLabWindowPlacer placer_{this};
  TMeasuresText shown_;
};
