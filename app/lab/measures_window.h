// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSize>
#include <QString>
#include <memory>

#include "app/lab/measures.h"
#include "app/lab_window.h"

namespace Ui {
class TMeasuresWindow;
}

// The automatic measurements of the two channels and the two cursors, beside the main window:
// not modal, so the student keeps zooming and moving the bars while it follows.
class TMeasuresWindow : public TLabWindow {
  Q_OBJECT

 public:
  explicit TMeasuresWindow(QWidget* parent = nullptr);
  ~TMeasuresWindow() override;

  void Show(const TMeasuresText& text);
  const TMeasuresText& Shown() const { return shown_; }
  // Projector mode: the values half as large again.
  void SetHighContrast(bool on);

 private:
  void NameCurrent(const QString& name);

  std::unique_ptr<Ui::TMeasuresWindow> ui_;
  TMeasuresText shown_;
};
