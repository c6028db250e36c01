// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QSortFilterProxyModel>
#include <string>

#include "sim/notebook.h"

class TNotebookModel;

// The model's rows of one experiment, or all of them, in their order. The notebook's table only
// ever sees the rows through this filter, so an index in the table is never one of the model.
class TExperimentFilter : public QSortFilterProxyModel {
  Q_OBJECT

 public:
  TExperimentFilter(TNotebookModel* model, QObject* parent);

  const std::string& Experiment() const { return experiment_; }
  // "" for every row.
  void SetExperiment(const std::string& experiment);
  bool Shows(const TNotebookRow& row) const {
    return experiment_.empty() || row.experiment == experiment_;
  }

 protected:
  bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;

 private:
  const TNotebookModel* model_;
  std::string experiment_;
};
