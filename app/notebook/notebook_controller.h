// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

#include "sim/notebook.h"

class QWidget;
class TBench;
class TNotebookModel;
class TNotebookStore;
class TNotebookWindow;

// The readings notebook as the main window uses it: F5, the "Relever le point" button or
// Fichier › Relever le point records the bench's readings as a row; Affichage › Relevés… shows
// the rows with their plot. Every change goes to the file at once, beside the changes of any
// other copy of the program, and the rows are found again at the next start.
class TNotebookController : public QObject {
  Q_OBJECT

 public:
  // Reads the notebook's file in a thread of its own once `window` has painted itself (or a
  // second later, or as soon as the rows are asked for): the window shows as soon with 200 000
  // rows as with none. What has to be said about the file is said once it is read, from the
  // event loop. The bench must outlive the controller.
  TNotebookController(QWidget* window, const TBench& bench);
  ~TNotebookController() override;

  // The rows, the file's included: waits for the file to be read when it still is.
  TNotebookModel* Model() const;

  // The bench's readings as a row, its choices as the bench describes them: "" for a panel that
  // is not part of the experiment or where nothing is chosen. The one-quadrant experiment's
  // rows also name the chopper type and direction it fixes.
  TNotebookRow CurrentReadings() const;
  // A row of the current readings into the notebook and its file; while the file is still
  // being read, it comes after the file's rows.
  void Record();
  // The "Relevés" window, with what other copies recorded or removed meanwhile, and how far
  // the file is read while it still is.
  void ShowWindow();
  // Projector mode: the "Relevés" table's values half as large again, when the window is open
  // (it opens in the mode last chosen).
  void SetHighContrast(bool on);
  // Why the notebook is not being saved, for as long as it is not; empty otherwise.
  QString SaveProblem() const;

  // Closing: true when every reading is in the notebook's file, after one more try.
  bool Saved();
  // Some readings could not be written: export them, close anyway or stay. True to close.
  bool CloseWithUnsavedRows();

 signals:
  // SaveProblem() changed: a state to show for as long as it lasts, beside the error box that
  // says it once.
  void SaveProblemChanged(const QString& problem);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  // Starts reading the file, unless it is read or being read already.
  void StartLoading();

  QWidget* window_;
  const TBench& bench_;
  TNotebookModel* model_;
  TNotebookStore* store_;
  TNotebookWindow* NotebookWindow_ = nullptr;
  bool loadStarted_ = false;
};
