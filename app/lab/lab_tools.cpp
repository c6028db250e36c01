// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/lab_tools.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QFontInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <cmath>
#include <vector>

#include "app/dialogs/error_box.h"
#include "app/guarded.h"
#include "app/lab/export.h"
#include "app/lab/measures_window.h"
#include "app/lab/report.h"
#include "app/oscilloscope_settings.h"
#include "app/projector_mode.h"
#include "app/save_folder.h"
#include "chart/chart.h"
#include "sim/bench.h"
#include "sim/measure.h"

namespace {

const QString kHighContrastKey = QStringLiteral("affichage/contraste_eleve");
const QString kFolderKey = QStringLiteral("fichiers/dossier");
const QString kInkSavingKey = QStringLiteral("impression/economie_encre");
const QString kNone = QString::fromUtf8(kUndefinedMeasure);

std::string Separator() {
  return QLocale::system().decimalPoint().toStdString();
}

QString Quantity(const std::optional<double>& value, const char* unit, int decimals) {
  return QString::fromStdString(FormatQuantity(value, unit, decimals, Separator()));
}

QString Point(double time, double voltage) {
  return QStringLiteral("t = %1, u = %2").arg(Quantity(time, "ms", 2), Quantity(voltage, "V", 2));
}

// Printing on a white background is what a class of thirty wants: on until the user says no.
bool InkSavingSaved() {
  return QSettings().value(kInkSavingKey, true).toBool();
}

// The ink-saving choice, as offered wherever the report is printed.
QCheckBox* InkSavingBox(const QString& text) {
  auto* box = new QCheckBox(text);
  box->setObjectName(QStringLiteral("InkSaving"));
  box->setAccessibleName(QStringLiteral("Économie d'encre (fond blanc)"));
  box->setToolTip(
      QStringLiteral("Imprime l'écran de l'oscilloscope sur fond blanc, avec des "
                     "traces et une grille foncées."));
  box->setChecked(InkSavingSaved());
  return box;
}

TLabTools::TPrinterQuery& PrinterQuery() {
  static TLabTools::TPrinterQuery query;
  return query;
}

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> copy(static_cast<std::size_t>(list.ValueCount()));
  for (std::size_t i = 0; i < copy.size(); ++i)
    copy[i] = list.ValueAt(static_cast<int>(i));
  return copy;
}

// Watches the chart's double clicks for Shift before the chart hands them on, since its
// double-click event carries no key state.
class TShiftWatch : public QObject {
 public:
  TShiftWatch(QObject* parent, bool& shift) : QObject(parent), shift_(shift) {}

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick)
      shift_ = static_cast<QMouseEvent*>(event)->modifiers().testFlag(Qt::ShiftModifier);
    return false;
  }

 private:
  bool& shift_;
};

}  // namespace

TLabTools::TLabTools(QWidget* window, const TBench& bench, const TScope& scope, TWindowView view)
    : QObject(window), window_(window), bench_(bench), scope_(scope), view_(std::move(view)) {
  SetUpCursorB();
  // Whatever changes what the screen shows (a recomputation, a zoom, a pan, a wheel step)
  // ends in a paint; the measures follow from there.
  scope_.chart->OnAfterDraw = [this](TCustomAxisPanel*) { Guarded([this] { RefreshMeasures(); }); };
  baseLabelSize_ = scope_.chart->BottomAxis().LabelsFont().Size;
}

TLabTools::~TLabTools() = default;

bool TLabTools::HighContrastSaved() {
  return QSettings().value(kHighContrastKey, false).toBool();
}

// --- Cursors ----------------------------------------------------------------------------------

void TLabTools::SetUpCursorB() {
  Series5 = oscilloscope::MakeTrace(*scope_.chart, oscilloscope::kCursorB[0], this);
  Series6 = oscilloscope::MakeTrace(*scope_.chart, oscilloscope::kCursorB[1], this);
  scope_.chart->installEventFilter(new TShiftWatch(this, shiftDoubleClick_));
}

void TLabTools::SetCursorB() {
  double time = 0, voltage = 0;
  scope_.trace->PointerToValues(time, voltage);
  PlaceCursorB(time, voltage);
}

void TLabTools::PlaceCursorB(double time, double voltage) {
  cursorB_ = {time, voltage};
  SpanCursorLines(*scope_.chart, *Series5, *Series6, time, voltage);
  RefreshMeasures();
}

void TLabTools::SpanCursorLines(TChart& chart, TFastLineSeries& vertical,
                                TFastLineSeries& horizontal, double time, double voltage) {
  vertical.ClearPoints();
  horizontal.ClearPoints();
  vertical.AppendPoint(time, chart.LeftAxis().Minimum());
  vertical.AppendPoint(time, chart.LeftAxis().Maximum());
  horizontal.AppendPoint(chart.BottomAxis().Minimum(), voltage);
  horizontal.AppendPoint(chart.BottomAxis().Maximum(), voltage);
}

void TLabTools::ClearCursorB() {
  cursorB_.reset();
  Series5->ClearPoints();
  Series6->ClearPoints();
}

// --- Measures ---------------------------------------------------------------------------------

TMeasuresText TLabTools::MeasuresText() const {
  TMeasuresText text;
  const TFastLineSeries& trace = *scope_.trace;
  const std::vector<double> times = Values(trace.XValues()), values = Values(trace.YValues());
  const TChartAxis& bottom = scope_.chart->BottomAxis();
  const TTraceMeasures m = MeasureTrace(times.data(), values.data(), trace.PointCount(),
                                        bottom.Minimum(), bottom.Maximum(), TBench::kPeriodSamples);
  const auto show = [&m](double value, const char* unit, int decimals) {
    return m.Empty() ? kNone : Quantity(value, unit, decimals);
  };
  text.mean = show(m.mean, "V", 2);
  text.rms = show(m.rms, "V", 2);
  text.min = show(m.min, "V", 2);
  text.max = show(m.max, "V", 2);
  text.peakToPeak = show(m.peakToPeak, "V", 2);
  text.top = Quantity(m.top, "V", 2);
  text.base = Quantity(m.base, "V", 2);
  text.period = Quantity(m.periodMs, "ms", 2);
  text.frequency = Quantity(m.frequencyHz, "Hz", 0);
  text.dutyCycle = Quantity(m.dutyCycle, "", 2);
  // Which level alpha counts: +E or -E is the chopper's active level, whichever its voltage.
  text.dutyCycleCaption = m.activeLevel == TActiveLevel::kPositive   ? QStringLiteral("α (à +E)")
                          : m.activeLevel == TActiveLevel::kNegative ? QStringLiteral("α (à −E)")
                                                                     : QStringLiteral("α");

  const bool cursorA = scope_.crossTime->PointCount() > 0;
  text.cursorA = cursorA ? Point(bench_.ReferenceTime(), bench_.ReferenceVoltage()) : kNone;
  text.cursorB = cursorB_ ? Point(cursorB_->first, cursorB_->second) : kNone;
  text.deltaT = text.deltaU = text.inverseDeltaT = kNone;
  if (cursorA && cursorB_) {
    const TCursorDelta d = CursorDifference(bench_.ReferenceTime(), bench_.ReferenceVoltage(),
                                            cursorB_->first, cursorB_->second);
    text.deltaT = Quantity(d.dtMs, "ms", 2);
    text.deltaU = Quantity(d.dU, "V", 2);
    text.inverseDeltaT = QString::fromStdString(FormatInverseTime(d.dtMs, Separator()));
  }
  MeasureCurrent(text, cursorA);
  return text;
}

QString TLabTools::CurrentName() const {
  return scope_.current != nullptr && view_.currentName ? view_.currentName() : QString();
}

// Channel 2 as channel 1: the same whole periods of what is shown, in A to the milliampere
// (the ripple with the smoothing inductor is a tenth of an ampere). The cursors, set on the
// voltage, read the current at their times on its drawn line.
void TLabTools::MeasureCurrent(TMeasuresText& text, bool cursorA) const {
  const QString name = CurrentName();
  if (name.isEmpty()) return;  // off: the column keeps its dashes
  text.currentName = name;
  const TFastLineSeries& current = *scope_.current;
  const std::vector<double> times = Values(current.XValues()), values = Values(current.YValues());
  const TChartAxis& bottom = scope_.chart->BottomAxis();
  const TTraceMeasures m = MeasureTrace(times.data(), values.data(), current.PointCount(),
                                        bottom.Minimum(), bottom.Maximum(), TBench::kPeriodSamples);
  if (!m.Empty()) {
    text.currentMean = Quantity(m.mean, "A", 3);
    text.currentRms = Quantity(m.rms, "A", 3);
    text.currentMin = Quantity(m.min, "A", 3);
    text.currentMax = Quantity(m.max, "A", 3);
    text.currentPeakToPeak = Quantity(m.peakToPeak, "A", 3);
  }
  if (!cursorA || !cursorB_) return;
  const int count = current.PointCount();
  const std::optional<double> iA =
      ValueAtTime(times.data(), values.data(), count, bench_.ReferenceTime());
  const std::optional<double> iB = ValueAtTime(times.data(), values.data(), count, cursorB_->first);
  if (iA && iB) text.deltaI = Quantity(*iB - *iA, "A", 3);
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

// --- Projector mode ---------------------------------------------------------------------------

void TLabTools::SetHighContrast(bool on) {
  namespace osc = oscilloscope;
  QSettings().setValue(kHighContrastKey, on);
  highContrast_ = on;
  const std::pair<TFastLineSeries*, const osc::TTraceSetting*> lines[] = {
      {scope_.zeroLine, &osc::kTraces[0]},  {scope_.trace, &osc::kTraces[1]},
      {scope_.crossTime, &osc::kTraces[2]}, {scope_.crossVoltage, &osc::kTraces[3]},
      {Series5, &osc::kCursorB[0]},         {Series6, &osc::kCursorB[1]}};
  for (const auto& [series, setting] : lines)
    series->SetSeriesColor(on ? setting->highContrastColour : setting->colour);
  for (TFastLineSeries* trace : {scope_.zeroLine, scope_.trace, scope_.current}) {
    if (trace != nullptr) trace->LinePen().SetWidth(on ? osc::kProjectorTraceWidth : 1);
  }
  for (TFastLineSeries* cursor : {scope_.crossTime, scope_.crossVoltage, Series5, Series6})
    cursor->LinePen().SetWidth(on ? osc::kProjectorCursorWidth : 1);
  for (TFastLineSeries* cursorB : {Series5, Series6})
    cursorB->LinePen().SetStyle(on ? osc::kProjectorCursorBStyle : psSolid);
  for (TChartAxis* axis : {&scope_.chart->BottomAxis(), &scope_.chart->LeftAxis()}) {
    TCanvasFont font = axis->LabelsFont();
    font.Size = on ? static_cast<int>(std::ceil(baseLabelSize_ * osc::kProjectorTextScale))
                   : baseLabelSize_;
    axis->SetLabelsFont(font);
    axis->Grid.SetColor(on ? osc::kProjectorGridColour : TDottedGrayPen().Color());
    for (TChartPen* ticks : {&axis->Ticks, &axis->TicksInner, &axis->MinorTicks})
      ticks->SetColor(on ? osc::kProjectorGridColour : TDarkGrayPen().Color());
  }
  if (MeasuresWindow_ != nullptr) MeasuresWindow_->SetHighContrast(on);
}

// --- Files, clipboard and printer -------------------------------------------------------------

QImage TLabTools::ScreenImage() const {
  return scope_.chart->grab().toImage();
}

QString TLabTools::ExperimentTitle() const {
  return QString::fromStdString(bench_.Description().experiment);
}

QString TLabTools::DefaultFileName(const QString& suffix) const {
  QStringList parts{ExperimentTitle()};
  for (const auto& setting : view_.settings())
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

// The screen for paper: white behind dark inks when the user chose to save ink. The chart is
// back to its own colours when this returns.
QImage TLabTools::PaperScreenImage() const {
  if (!InkSavingSaved()) return ScreenImage();
  constexpr TColor kTraceInk = 0x0000C8, kZeroInk = clBlack, kCursorAInk = 0xA00000,
                   kCursorBInk = 0x008000;  // red, black, blue, green: told apart on paper
  const TInkSavingLook look(*scope_.chart, {{scope_.zeroLine, kZeroInk},
                                            {scope_.trace, kTraceInk},
                                            {scope_.crossTime, kCursorAInk},
                                            {scope_.crossVoltage, kCursorAInk},
                                            {Series5, kCursorBInk},
                                            {Series6, kCursorBInk}});
  return ScreenImage();
}

bool TLabTools::SaveScreenTo(const QString& path) {
  // The file goes into lab reports: it says under the screen what it shows.
  const TScreenCaption caption{ExperimentTitle(), view_.settings(), QDateTime::currentDateTime(),
                               CurrentName()};
  const TExportResult result = SaveImagePng(CaptionedScreen(ScreenImage(), caption), path);
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

bool TLabTools::ExportCurvesTo(const QString& path) {
  const TFastLineSeries& trace = *scope_.trace;
  const TFastLineSeries& zero = *scope_.zeroLine;
  const std::vector<double> t1 = Values(trace.XValues()), u1 = Values(trace.YValues());
  const std::vector<double> t4 = Values(zero.XValues()), u4 = Values(zero.YValues());
  QList<TCsvTrace> traces = {
      {QStringLiteral("tension moteur"), t1.data(), u1.data(), static_cast<int>(u1.size())},
      {QStringLiteral("ligne zéro"), t4.data(), u4.data(), static_cast<int>(u4.size())}};
  // Channel 2 on the voltage's own times: it shares their rows.
  const QString current = CurrentName();
  std::vector<double> t7, i7;
  if (!current.isEmpty()) {
    t7 = Values(scope_.current->XValues());
    i7 = Values(scope_.current->YValues());
    traces.append(
        {current, t7.data(), i7.data(), static_cast<int>(i7.size()), QStringLiteral("A")});
  }
  const TExportResult result = SaveTracesCsv(path, traces, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

void TLabTools::PrintReportTo(QPrinter* printer) {
  TReport report;
  report.title = QStringLiteral("Relevé de l'oscilloscope");
  report.date = QDateTime::currentDateTime();
  report.experiment = ExperimentTitle();
  report.settings = view_.settings();
  report.screen = PaperScreenImage();
  report.readings = view_.readings();
  const TMeasuresText m = MeasuresText();
  // Channel 2's measures under channel 1's, and its ΔI under ΔU, while it is on.
  const QString current = CurrentName();
  report.measures = {{QStringLiteral("Moyenne ⟨u⟩"), m.mean},
                     {QStringLiteral("Valeur efficace U"), m.rms},
                     {QStringLiteral("Minimum"), m.min},
                     {QStringLiteral("Maximum"), m.max},
                     {QStringLiteral("Crête à crête"), m.peakToPeak},
                     {QStringLiteral("Niveau haut"), m.top},
                     {QStringLiteral("Niveau bas"), m.base},
                     {QStringLiteral("Période"), m.period},
                     {QStringLiteral("Fréquence"), m.frequency},
                     {m.dutyCycleCaption, m.dutyCycle}};
  if (!current.isEmpty()) {
    report.measures += TPairs{
        {QStringLiteral("Moyenne ⟨%1⟩").arg(current), m.currentMean},
        {QStringLiteral("Valeur efficace %1").arg(current.toUpper()), m.currentRms},
        {QStringLiteral("Minimum de %1").arg(current), m.currentMin},
        {QStringLiteral("Maximum de %1").arg(current), m.currentMax},
        {QStringLiteral("Ondulation Δ%1 (crête à crête)").arg(current), m.currentPeakToPeak}};
  }
  report.measures += TPairs{{QStringLiteral("Curseur A"), m.cursorA},
                            {QStringLiteral("Curseur B"), m.cursorB},
                            {QStringLiteral("Δt"), m.deltaT},
                            {QStringLiteral("ΔU"), m.deltaU}};
  if (!current.isEmpty())
    report.measures.append({QStringLiteral("Δ%1").arg(current.toUpper()), m.deltaI});
  report.measures.append({QStringLiteral("1/Δt"), m.inverseDeltaT});
  const TExportResult result = PrintReport(report, printer);
  if (!result.Ok()) ShowErrorBox(result.error);
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

TLabTools::TPrinterQuery TLabTools::SetPrinterQuery(TPrinterQuery query) {
  return std::exchange(PrinterQuery(), std::move(query));
}

void TLabTools::Print() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(DefaultFileName(QString()));
  const bool printers =
      PrinterQuery() ? PrinterQuery()() : !QPrinterInfo::availablePrinters().isEmpty();
  if (!printers) {
    OfferPdf(printer);
    return;
  }
  QPrintDialog dialog(&printer, window_);
  dialog.setWindowTitle(QStringLiteral("Imprimer"));
  // Declared after the dialog, so it goes first whether or not the dialog took it as a tab
  // (native dialogs do not show option tabs; the choice saved then still holds).
  QWidget options;
  options.setWindowTitle(QStringLiteral("Relevé"));
  QCheckBox* inkSaving = InkSavingBox(QStringLiteral("Économie d'&encre (fond blanc)"));
  auto* layout = new QVBoxLayout(&options);
  layout->addWidget(inkSaving);
  layout->addStretch();
  dialog.setOptionTabs({&options});
  if (dialog.exec() != QDialog::Accepted) return;
  QSettings().setValue(kInkSavingKey, inkSaving->isChecked());
  PrintReportTo(&printer);
}

// Many classroom seats have no printer: the report goes to a PDF the user prints elsewhere.
void TLabTools::OfferPdf(QPrinter& printer) {
  QMessageBox box(QMessageBox::Information, QStringLiteral("Imprimer"),
                  QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.\n\n"
                                 "Vous pouvez enregistrer le relevé dans un fichier PDF, puis "
                                 "l'imprimer depuis un autre poste."),
                  QMessageBox::NoButton, window_);
  QPushButton* pdf = box.addButton(QStringLiteral("&Enregistrer en PDF…"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  box.setDefaultButton(pdf);
  box.setEscapeButton(cancel);  // Escape and the close box answer "Annuler"
  // "&Enregistrer" has Alt+E here: the box takes the other mnemonic.
  QCheckBox* inkSaving = InkSavingBox(QStringLiteral("Économie d'encre (fond &blanc)"));
  box.setCheckBox(inkSaving);
  box.exec();
  if (box.clickedButton() != pdf) return;
  QSettings().setValue(kInkSavingKey, inkSaving->isChecked());
  const QString path = AskSavePath(QStringLiteral("Enregistrer le relevé en PDF"),
                                   QStringLiteral("pdf"), QStringLiteral("Documents PDF (*.pdf)"));
  if (path.isEmpty()) return;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  PrintReportTo(&printer);
}
