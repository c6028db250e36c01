// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/notebook/experiment_filter.h"

#include "app/notebook/notebook_model.h"

TExperimentFilter::TExperimentFilter(TNotebookModel* model, QObject* parent)
    : QSortFilterProxyModel(parent), model_(model) {
  setSourceModel(model);
}

void TExperimentFilter::SetExperiment(const std::string& experiment) {
  if (experiment == experiment_) return;
  experiment_ = experiment;
  // Mapped again from scratch on the next look: one pass, where a filter changed in place
  // would move the table's rows one run at a time.
  invalidate();
}

bool TExperimentFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const {
  return Shows(model_->Rows()[static_cast<std::size_t>(sourceRow)]);
}
