// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QSize>
#include <QString>
#include <memory>

#include "app/lab/measures.h"
#include "app/lab_window_place.h"

namespace Ui {
class TMeasuresWindow;
}

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
