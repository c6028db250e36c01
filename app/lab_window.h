// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QSize>

#include "app/lab_window_place.h"

// A lab window ("Mesures", "Relevés"): a dialog beside the main window that opens where the
// bench stays in sight, and is found again where the user last left it (TLabWindowPlacer).
class TLabWindow : public QDialog {
  Q_OBJECT

 public:
  // `preferred`: the size of the contents it opens at where there is room; none, its layout's.
  explicit TLabWindow(QWidget* parent = nullptr, QSize preferred = {});
  ~TLabWindow() override;

 protected:
  TLabWindowPlacer& Placer() { return placer_; }

  void showEvent(QShowEvent* event) override;
  void moveEvent(QMoveEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void changeEvent(QEvent* event) override;

 private:
  TLabWindowPlacer placer_;
};
