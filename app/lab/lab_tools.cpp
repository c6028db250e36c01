// SPDX-License-Identifier: GPL-3.0-or-later
// The lab tools: the "Mesures" window, the screen and the curves saved, the screen copied.
#include "app/lab/lab_tools.h"

#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLocale>
#include <QSettings>
#include <vector>

#include "app/dialogs/error_box.h"
#include "app/guarded.h"
#include "app/instruments.h"
#include "app/lab/bench_settings.h"
#include "app/lab/export.h"
#include "app/lab/measures_window.h"
#include "app/save_folder.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"
#include "sim/bench.h"

namespace {

const QString kFolderKey = QStringLiteral("fichiers/dossier");

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> copy(static_cast<std::size_t>(list.ValueCount()));
  for (std::size_t i = 0; i < copy.size(); ++i)
    copy[i] = list.ValueAt(static_cast<int>(i));
  return copy;
}

}  // namespace

TLabTools::TLabTools(QWidget* window, const TBench& bench, const TScopeView& scope,
                     const TInstruments& instruments)
    : QObject(window), window_(window), bench_(bench), scope_(scope), instruments_(instruments) {
  // The measures follow whatever changes them: a recomputation, a zoom, a pan, a cursor.
  ConnectGuarded(&scope_, &TScopeView::Changed, this, [this] { RefreshMeasures(); });
}

TLabTools::~TLabTools() = default;

// --- Measures ---------------------------------------------------------------------------------

TMeasuresText TLabTools::MeasuresText() const {
  return MeasureScope(scope_);
}

void TLabTools::RefreshMeasures() {
  if (MeasuresWindow_ != nullptr && MeasuresWindow_->isVisible())
    MeasuresWindow_->Show(MeasuresText());
}

void TLabTools::ShowMeasures() {
  if (MeasuresWindow_ == nullptr) {
    MeasuresWindow_ = new TMeasuresWindow(window_);
    if (highContrast_) MeasuresWindow_->SetHighContrast(true);
  }
  MeasuresWindow_->show();
  MeasuresWindow_->raise();
  MeasuresWindow_->activateWindow();
  RefreshMeasures();
}

void TLabTools::SetHighContrast(bool on) {
  highContrast_ = on;
  if (MeasuresWindow_ != nullptr) MeasuresWindow_->SetHighContrast(on);
}

// --- Files and clipboard ------------------------------------------------------------------------

QImage TLabTools::ScreenImage() const {
  return scope_.Chart().grab().toImage();
}

QString TLabTools::ExperimentTitle() const {
  return QString::fromStdString(bench_.Description().experiment);
}

TLabTools::TPairs TLabTools::Settings() const {
  return BenchSettings(bench_);
}

QString TLabTools::DefaultFileName(const QString& suffix) const {
  QStringList parts{ExperimentTitle()};
  for (const auto& setting : Settings())
    parts.append(setting.second);
  return DefaultExportFileName(parts.join(QLatin1Char(' ')), suffix);
}

QString TLabTools::AskSavePath(const QString& title, const QString& suffix, const QString& filter) {
  const QString folder = ProposedSaveFolder(kFolderKey);
  QString path =
      AskSaveFileName(window_, title, QDir(folder).filePath(DefaultFileName(suffix)), filter);
  if (!path.isEmpty()) QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
  return path;
}

bool TLabTools::SaveScreenTo(const QString& path) {
  // The file goes into lab reports: it says under the screen what it shows.
  const TScreenCaption caption{ExperimentTitle(), Settings(), QDateTime::currentDateTime(),
                               scope_.CurrentName()};
  const TExportResult result = SaveImagePng(CaptionedScreen(ScreenImage(), caption), path);
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

bool TLabTools::ExportCurvesTo(const QString& path) {
  const TFastLineSeries& trace = scope_.Trace();
  const TFastLineSeries& zero = scope_.ZeroLine();
  const std::vector<double> t1 = Values(trace.XValues()), u1 = Values(trace.YValues());
  const std::vector<double> t4 = Values(zero.XValues()), u4 = Values(zero.YValues());
  QList<TCsvTrace> traces = {
      {QStringLiteral("tension moteur"), t1.data(), u1.data(), static_cast<int>(u1.size())},
      {QStringLiteral("ligne zéro"), t4.data(), u4.data(), static_cast<int>(u4.size())}};
  // Channel 2 on the voltage's own times: it shares their rows.
  const QString current = scope_.CurrentName();
  std::vector<double> t7, i7;
  if (!current.isEmpty()) {
    t7 = Values(scope_.CurrentTrace().XValues());
    i7 = Values(scope_.CurrentTrace().YValues());
    traces.append(
        {current, t7.data(), i7.data(), static_cast<int>(i7.size()), QStringLiteral("A")});
  }
  const TExportResult result = SaveTracesCsv(path, traces, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

void TLabTools::SaveScreen() {
  const QString path = AskSavePath(QStringLiteral("Enregistrer l'écran de l'oscilloscope"),
                                   QStringLiteral("png"), QStringLiteral("Images PNG (*.png)"));
  if (!path.isEmpty()) SaveScreenTo(path);
}

void TLabTools::ExportCurves() {
  const QString path = AskSavePath(QStringLiteral("Exporter les courbes"), QStringLiteral("csv"),
                                   QStringLiteral("Tableaux CSV (*.csv)"));
  if (!path.isEmpty()) ExportCurvesTo(path);
}

void TLabTools::CopyScreen() {
  QGuiApplication::clipboard()->setImage(ScreenImage());
}
