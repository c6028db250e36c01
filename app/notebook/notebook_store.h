// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include "app/notebook/notebook_file.h"
#include "sim/notebook.h"

class QTimer;
class TNotebookModel;

// Keeps the notebook's model and its file in step, the file being shared with any other copy
// of the program: what the user records or removes is appended to the file at once, and what
// the other copies appended meanwhile comes into the model first (rows in the order they were
// recorded, each once, by id). A clear removes the rows this copy had, so rows another copy
// recorded meanwhile stay. What could not be written stays pending, is tried again at every
// change and every second, and can be asked for before the program closes. The file may be read
// in a thread of its own, so that a large notebook never holds the program's start up.
class TNotebookStore : public QObject {
  Q_OBJECT

 public:
  // Past this, recording is refused: beyond it the notebook's window and its file would slow
  // every reading down.
  static constexpr int kMaxRows = 200'000;

  // `model` must outlive the store; its rows are replaced at Load().
  TNotebookStore(TNotebookModel* model, const QString& path, QObject* parent = nullptr);
  ~TNotebookStore() override;

  void SetMaxRows(int rows) { maxRows_ = rows; }

  // Reads the file into the model. A French message when something had to be said.
  QString Load();
  // The same in a thread of its own: LoadProgress() says how far it is, then the rows come into
  // the model, before any recorded meanwhile (which the file gets after them), and Loaded()
  // says what had to be said. Until then nothing is written, and Refresh() brings nothing.
  void StartLoad();
  bool Loading() const { return load_ != nullptr; }
  // Waits for the load under way to end and brings its rows in at once.
  void FinishLoad();
  // F5: `row` (given an id when it has none) in the model and in the file, after the rows
  // other copies recorded meanwhile. A French message when the notebook is full (nothing recorded)
  // or when the file could not be written (said once until a write succeeds; the row stays
  // pending).
  QString Record(const TNotebookRow& row);
  // Brings in what other copies changed, and writes what is pending.
  QString Refresh();
  // Writes what is pending; empty when all is written or the failure was already said.
  QString Flush();
  // Rows recorded here that are in no file yet.
  const std::vector<TNotebookRow>& UnsavedRows() const { return pendingRows_; }
  // While changes wait because the file cannot be written, a French sentence that says why,
  // for as long as it lasts; empty otherwise.
  const QString& SaveProblem() const { return saveProblem_; }

 signals:
  // A message about a change the user made through the model (a removal from the window), or
  // from a write tried again.
  void Report(const QString& message);
  void LoadProgress(int permille);
  void Loaded(const QString& message);
  void SaveProblemChanged(const QString& problem);

 private:
  void OnRecorded(const TNotebookRow& row);
  void OnRemoved(const std::vector<std::string>& ids);
  void Absorb(TNotebookNews news, QString* message);
  void AbsorbAppended(std::vector<TNotebookEntry>& entries);
  void AbsorbReplaced(std::vector<TNotebookRow> rows);
  // The model brought to `rows`, which differ from those it shows.
  void ShowRows(std::vector<TNotebookRow> rows);
  void WriteLocked(QString* message);
  // The rows read and their ids into the model, before those pending.
  void Bring(std::vector<TNotebookRow> rows, std::unordered_set<std::string> ids);
  // After a write was tried: the save problem told, and the next try planned.
  void FollowWrites();

  TNotebookModel* model_;
  TNotebookFile file_;
  int maxRows_ = kMaxRows;
  bool merging_ = false;  // the model's changes come from the file: not to be written back
  // Ids of the rows the file holds, as far as this copy has read and written it.
  std::unordered_set<std::string> inFile_;
  // Recorded here, not written yet, in order; and their ids.
  std::vector<TNotebookRow> pendingRows_;
  std::unordered_set<std::string> pendingIds_;
  // Removed here, still in the file.
  std::unordered_set<std::string> pendingRemovals_;
  // A load under way, in its thread.
  struct TLoad;
  std::unique_ptr<TLoad> load_;
  QTimer* progressTimer_;
  QTimer* retryTimer_;
  QString saveProblem_;
};
