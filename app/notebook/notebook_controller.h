// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

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
  // Loads the notebook's file; what has to be said about it is said once the window is up.
  // The bench must outlive the controller.
  TNotebookController(QWidget* window, const TBench& bench);
  ~TNotebookController() override;

  TNotebookModel* Model() const { return model_; }

  // The bench's readings as a row, its choices as the bench describes them: "" for a panel that
  // is not part of the experiment or where nothing is chosen. The one-quadrant experiment's
  // rows also name the chopper type and direction it fixes.
  TNotebookRow CurrentReadings() const;
  // A row of the current readings into the notebook and its file.
  void Record();
  // The "Relevés" window, with what other copies recorded or removed meanwhile.
  void ShowWindow();
  // Projector mode: the "Relevés" table's values half as large again, when the window is open
  // (it opens in the mode last chosen).
  void SetHighContrast(bool on);

  // Closing: true when every reading is in the notebook's file, after one more try.
  bool Saved();
  // Some readings could not be written: export them, close anyway or stay. True to close.
  bool CloseWithUnsavedRows();

 private:
  QWidget* window_;
  const TBench& bench_;
  TNotebookModel* model_;
  TNotebookStore* store_;
  TNotebookWindow* NotebookWindow_ = nullptr;
};
