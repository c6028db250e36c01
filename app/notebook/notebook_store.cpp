// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/notebook_store.h"

#include <QFileInfo>
#include <QLocale>
#include <QScopeGuard>
#include <QScopedValueRollback>
#include <QTimer>
#include <algorithm>
#include <atomic>
#include <exception>
#include <thread>
#include <utility>

#include "app/guarded.h"
#include "app/notebook/notebook_model.h"

namespace {

// Messages pile up, each in its own paragraph.
void Add(QString* into, const QString& more) {
  if (more.isEmpty()) return;
  if (!into->isEmpty()) *into += QStringLiteral("\n\n");
  *into += more;
}

bool SameIds(const std::vector<TNotebookRow>& a, const std::vector<TNotebookRow>& b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                    [](const TNotebookRow& x, const TNotebookRow& y) { return x.id == y.id; });
}

// Pending changes are tried again this often while the file cannot be written.
constexpr int kRetryMs = 1'000;

}  // namespace

// A load in its thread; the thread alone touches the file and these until it ends.
struct TNotebookStore::TLoad {
  std::thread thread;
  std::atomic<int> permille = 0;
  TNotebookLoad result;
  std::unordered_set<std::string> ids;
  std::exception_ptr failure;
};

TNotebookStore::TNotebookStore(TNotebookModel* model, const QString& path, QObject* parent)
    : QObject(parent),
      model_(model),
      file_(path),
      progressTimer_(new QTimer(this)),
      retryTimer_(new QTimer(this)) {
  // Each change the user makes is saved at once.
  ConnectGuarded(model_, &TNotebookModel::Recorded, this, &TNotebookStore::OnRecorded);
  ConnectGuarded(model_, &TNotebookModel::Removed, this, &TNotebookStore::OnRemoved);
  progressTimer_->setInterval(100);
  ConnectGuarded(progressTimer_, &QTimer::timeout, this, [this] {
    if (load_) emit LoadProgress(load_->permille);
  });
  retryTimer_->setSingleShot(true);
  retryTimer_->setInterval(kRetryMs);
  ConnectGuarded(retryTimer_, &QTimer::timeout, this, [this] {
    const QString message = Flush();
    if (!message.isEmpty()) emit Report(message);
  });
}

TNotebookStore::~TNotebookStore() {
  if (load_) load_->thread.join();
}

QString TNotebookStore::Load() {
  FinishLoad();
  TNotebookLoad loaded = file_.Load();
  pendingRows_.clear();
  pendingIds_.clear();
  pendingRemovals_.clear();
  std::unordered_set<std::string> ids;
  for (const TNotebookRow& row : loaded.rows)
    ids.insert(row.id);
  Bring(std::move(loaded.rows), std::move(ids));
  FollowWrites();
  return loaded.message;
}

void TNotebookStore::StartLoad() {
  if (load_) return;
  if (!QFileInfo::exists(file_.Path())) {  // nothing to wait for: no thread
    emit Loaded(Load());
    return;
  }
  load_ = std::make_unique<TLoad>();
  TLoad* load = load_.get();
  load->thread = std::thread([this, load] {
    try {
      load->result = file_.Load([load](double share) { load->permille = int(share * 900); });
      for (const TNotebookRow& row : load->result.rows)
        load->ids.insert(row.id);
    } catch (...) {
      load->failure = std::current_exception();  // said on the program's thread
    }
    load->permille = 1000;
    QMetaObject::invokeMethod(
        this, [this] { Guarded([this] { FinishLoad(); }); }, Qt::QueuedConnection);
  });
  emit LoadProgress(0);
  progressTimer_->start();
}

void TNotebookStore::FinishLoad() {
  if (!load_) return;
  const std::unique_ptr<TLoad> load = std::move(load_);
  load->thread.join();
  progressTimer_->stop();
  emit LoadProgress(1000);
  if (load->failure) std::rethrow_exception(load->failure);
  QString message = std::move(load->result.message);
  Bring(std::move(load->result.rows), std::move(load->ids));
  Add(&message, Flush());
  emit Loaded(message);
}

// Rows recorded during a load are the model's only rows, all pending: the file's go before them.
void TNotebookStore::Bring(std::vector<TNotebookRow> rows, std::unordered_set<std::string> ids) {
  inFile_ = std::move(ids);
  const QScopedValueRollback merging(merging_, true);
  if (model_->rowCount() == 0 || pendingRows_.empty())
    model_->SetRows(std::move(rows));
  else
    model_->Merge(std::move(rows), {}, std::size_t(model_->rowCount()));
}

QString TNotebookStore::Record(const TNotebookRow& row) {
  if (model_->rowCount() >= maxRows_) {
    return QStringLiteral(
               "Le point n'a pas été relevé\u00A0: le tableau des relevés en compte déjà "
               "%1, le plus qu'il puisse garder. Exportez les relevés, puis effacez-en "
               "pour en relever d'autres.")
        .arg(QLocale(QLocale::French).toString(maxRows_));
  }
  {
    // Written below, once: OnRecorded only queues it.
    const QScopedValueRollback merging(merging_, true);
    model_->Append(row);
  }
  const TNotebookRow& recorded = model_->Rows().back();
  pendingRows_.push_back(recorded);
  pendingIds_.insert(recorded.id);
  return Flush();
}

QString TNotebookStore::Refresh() {
  if (load_) return {};  // the load brings it all
  QString message;
  Absorb(file_.ReadNew(false), &message);
  Add(&message, Flush());
  return message;
}

QString TNotebookStore::Flush() {
  if (load_ || (pendingRows_.empty() && pendingRemovals_.empty())) return {};
  QString message;
  if (file_.Lock(&message)) {
    // Unlocked whatever happens: a lock kept would stop every later write of this copy.
    const auto unlock = qScopeGuard([this] { file_.Unlock(); });
    WriteLocked(&message);
  }
  FollowWrites();
  return message;
}

void TNotebookStore::FollowWrites() {
  const bool pending = !pendingRows_.empty() || !pendingRemovals_.empty();
  const QString problem =
      pending && !file_.Problem().isEmpty()
          ? QStringLiteral(
                "Les relevés ne sont pas enregistrés\u00A0: %1\u202F; le programme "
                "réessaie chaque seconde.")
                .arg(file_.Problem())
          : QString();
  if (pending && !retryTimer_->isActive()) retryTimer_->start();
  if (!pending) retryTimer_->stop();
  if (problem == saveProblem_) return;
  saveProblem_ = problem;
  emit SaveProblemChanged(saveProblem_);
}

void TNotebookStore::OnRecorded(const TNotebookRow& row) {
  if (merging_) return;
  pendingRows_.push_back(row);
  pendingIds_.insert(row.id);
  const QString message = Flush();
  if (!message.isEmpty()) emit Report(message);
}

void TNotebookStore::OnRemoved(const std::vector<std::string>& ids) {
  if (merging_) return;
  bool unwritten = false;
  for (const std::string& id : ids) {
    if (pendingIds_.erase(id) != 0)
      unwritten = true;  // never reached the file: nothing to write
    else if (inFile_.count(id) != 0)
      pendingRemovals_.insert(id);
  }
  if (unwritten)
    std::erase_if(pendingRows_, [&](const TNotebookRow& r) { return !pendingIds_.count(r.id); });
  const QString message = Flush();
  if (!message.isEmpty()) emit Report(message);
}

void TNotebookStore::WriteLocked(QString* message) {
  Absorb(file_.ReadNew(true), message);
  if (pendingRows_.empty() && pendingRemovals_.empty()) return;  // others did the same
  const std::vector<std::string> removals(pendingRemovals_.begin(), pendingRemovals_.end());
  const std::size_t live = inFile_.size() - removals.size() + pendingRows_.size();
  const std::size_t newLines = pendingRows_.size() + (removals.empty() ? 0 : 1);
  const bool rewrite = file_.NeedsRewrite() || file_.CompactionDue(live, newLines);
  QString why;
  bool written = !rewrite && file_.Append(removals, pendingRows_, &why);
  // The model holds what the file holds, plus what is pending, minus what was removed here.
  if (!written && (rewrite || file_.NeedsRewrite())) {
    written = file_.Rewrite(model_->Rows(), &why);
    if (written) {
      inFile_.clear();
      for (const TNotebookRow& row : model_->Rows())
        inFile_.insert(row.id);
    }
  } else if (written) {
    for (const std::string& id : removals)
      inFile_.erase(id);
    for (const TNotebookRow& row : pendingRows_)
      inFile_.insert(row.id);
  }
  Add(message, why);
  if (!written) return;
  pendingRows_.clear();
  pendingIds_.clear();
  pendingRemovals_.clear();
}

void TNotebookStore::Absorb(TNotebookNews news, QString* message) {
  Add(message, news.message);
  switch (news.kind) {
    case TNotebookNews::TKind::kAppended:
      AbsorbAppended(news.entries);
      break;
    case TNotebookNews::TKind::kReplaced:
      AbsorbReplaced(std::move(news.rows));
      break;
    case TNotebookNews::TKind::kGone:
      // Nothing of the file holds any more: every row shown is to be written again.
      inFile_.clear();
      pendingRemovals_.clear();
      pendingRows_ = model_->Rows();
      pendingIds_.clear();
      for (const TNotebookRow& row : pendingRows_)
        pendingIds_.insert(row.id);
      break;
  }
}

void TNotebookStore::AbsorbAppended(std::vector<TNotebookEntry>& entries) {
  std::vector<TNotebookRow> added;
  std::unordered_set<std::string> removed;
  for (TNotebookEntry& entry : entries) {
    if (entry.removed.empty()) {
      const std::string& id = entry.row.id;
      if (!inFile_.insert(id).second) continue;  // there twice
      if (pendingIds_.erase(id) != 0) {
        // Ours, from a write that failed after all its lines were out.
        std::erase_if(pendingRows_, [&](const TNotebookRow& r) { return r.id == id; });
        continue;
      }
      added.push_back(std::move(entry.row));
      continue;
    }
    for (const std::string& id : entry.removed) {
      if (inFile_.erase(id) == 0) continue;
      pendingRemovals_.erase(id);
      removed.insert(id);
    }
  }
  if (added.empty() && removed.empty()) return;
  if (!removed.empty())
    std::erase_if(added, [&](const TNotebookRow& r) { return removed.count(r.id) != 0; });
  // Rows recorded here and not written yet will come after these in the file: so they do on
  // screen.
  const std::vector<TNotebookRow>& shown = model_->Rows();
  std::size_t unwritten = 0;
  while (unwritten < shown.size() && pendingIds_.count(shown[shown.size() - 1 - unwritten].id))
    ++unwritten;
  const QScopedValueRollback merging(merging_, true);
  model_->Merge(std::move(added), removed, unwritten);
}

void TNotebookStore::AbsorbReplaced(std::vector<TNotebookRow> fileRows) {
  inFile_.clear();
  for (const TNotebookRow& row : fileRows)
    inFile_.insert(row.id);
  std::erase_if(pendingRows_, [&](const TNotebookRow& r) { return inFile_.count(r.id) != 0; });
  pendingIds_.clear();
  for (const TNotebookRow& row : pendingRows_)
    pendingIds_.insert(row.id);
  std::erase_if(pendingRemovals_, [&](const std::string& id) { return !inFile_.count(id); });

  std::vector<TNotebookRow> rows;
  rows.reserve(fileRows.size() + pendingRows_.size());
  for (TNotebookRow& row : fileRows)
    if (!pendingRemovals_.count(row.id)) rows.push_back(std::move(row));
  rows.insert(rows.end(), pendingRows_.begin(), pendingRows_.end());
  if (!SameIds(rows, model_->Rows())) ShowRows(std::move(rows));
}

// Usually the rows shown lost some and gained some at the end: said as such, the window keeps
// its selection; anything else is a new table.
void TNotebookStore::ShowRows(std::vector<TNotebookRow> rows) {
  const std::vector<TNotebookRow>& shown = model_->Rows();
  std::unordered_set<std::string> kept;
  for (const TNotebookRow& row : rows)
    kept.insert(row.id);
  std::unordered_set<std::string> removed;
  std::size_t next = 0;
  bool inOrder = true;
  for (const TNotebookRow& row : shown) {
    if (!kept.count(row.id)) {
      removed.insert(row.id);
    } else if (next < rows.size() && rows[next].id == row.id) {
      ++next;
    } else {
      inOrder = false;
      break;
    }
  }
  const QScopedValueRollback merging(merging_, true);
  if (inOrder) {
    model_->Merge(std::vector<TNotebookRow>(std::make_move_iterator(rows.begin() + long(next)),
                                            std::make_move_iterator(rows.end())),
                  removed);
  } else {
    model_->SetRows(std::move(rows));
  }
}
