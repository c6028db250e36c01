// The oscilloscope for lab work: the "Fichier" menu (screen, curves, clipboard, print, quit),
// the "Mesures" window, the second cursor and the projector mode. Nothing here runs until the
// user opens one of them, so the window without them is the window as it always was.
#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QLocale>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <utility>
#include <vector>

#include "app/error_box.h"
#include "app/export.h"
#include "app/form1.h"
#include "app/measures_window.h"
#include "app/oscilloscope_settings.h"
#include "app/save_folder.h"
#include "chart/chart.h"
#include "sim/measure.h"
#include "ui_form1.h"

namespace {

const QString kHighContrastKey = QStringLiteral("affichage/contraste_eleve");
const QString kFolderKey = QStringLiteral("fichiers/dossier");
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

TForm1::TPrinterQuery& PrinterQuery() {
  static TForm1::TPrinterQuery query;
  return query;
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

void TForm1::SetUpLabTools() {
  Series5 = oscilloscope::MakeTrace(*ui_->Chart1, oscilloscope::kCursorB[0], this);
  Series6 = oscilloscope::MakeTrace(*ui_->Chart1, oscilloscope::kCursorB[1], this);
  ui_->Chart1->installEventFilter(new TShiftWatch(this, shiftDoubleClick_));
  const auto onMenu = [this](QAction* action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  onMenu(ui_->Enregistrerlcrandeloscilloscope1, &TForm1::Enregistrerlcrandeloscilloscope1Click);
  onMenu(ui_->Exporterlescourbes1, &TForm1::Exporterlescourbes1Click);
  onMenu(ui_->Copierlcran1, &TForm1::Copierlcran1Click);
  onMenu(ui_->Imprimer1, &TForm1::Imprimer1Click);
  onMenu(ui_->Quitter1, &TForm1::Quitter1Click);
  onMenu(ui_->Mesures1, &TForm1::Mesures1Click);
  connect(ui_->Button4, &QAbstractButton::clicked, this,
          [this] { Guarded([&] { Mesures1Click(); }); });
  connect(ui_->Contrastelev1, &QAction::toggled, this,
          [this](bool on) { Guarded([&] { Contrastelev1Click(on); }); });
  ui_->Button4->setAccessibleName(QStringLiteral("Mesures"));
  ui_->Button4->setAccessibleDescription(
      QStringLiteral("Ouvre la fenêtre des mesures automatiques et des curseurs"));
  // Whatever changes what the screen shows (a recomputation, a zoom, a pan, a wheel step)
  // ends in a paint; the measures follow from there.
  ui_->Chart1->OnAfterDraw = [this](TCustomAxisPanel*) { RefreshMeasures(); };
  baseLabelSize_ = ui_->Chart1->BottomAxis().LabelsFont().Size;
  if (QSettings().value(kHighContrastKey, false).toBool()) ui_->Contrastelev1->setChecked(true);
}

// --- Cursors ----------------------------------------------------------------------------------

void TForm1::SetCursorB() {
  double time = 0, voltage = 0;
  Series1->PointerToValues(time, voltage);
  cursorB_ = {time, voltage};
  // The same end points as the cross: the ranges shown at this moment.
  TChart& chart = *ui_->Chart1;
  Series5->ClearPoints();
  Series6->ClearPoints();
  Series5->AppendPoint(time, chart.LeftAxis().Minimum());
  Series5->AppendPoint(time, chart.LeftAxis().Maximum());
  Series6->AppendPoint(chart.BottomAxis().Minimum(), voltage);
  Series6->AppendPoint(chart.BottomAxis().Maximum(), voltage);
  RefreshMeasures();
}

void TForm1::ClearCursorB() {
  cursorB_.reset();
  Series5->ClearPoints();
  Series6->ClearPoints();
}

// --- Measures ---------------------------------------------------------------------------------

TMeasuresText TForm1::MeasuresText() const {
  TMeasuresText text;
  const int count = Series1->PointCount();
  std::vector<double> times(count), values(count);
  for (int i = 0; i < count; ++i) {
    times[i] = Series1->XValues().ValueAt(i);
    values[i] = Series1->YValues().ValueAt(i);
  }
  const TChartAxis& bottom = ui_->Chart1->BottomAxis();
  const TTraceMeasures m = MeasureTrace(times.data(), values.data(), count, bottom.Minimum(),
                                        bottom.Maximum(), TBench::kPeriodSamples);
  const auto show = [&m](double value, const char* unit, int decimals) {
    return m.Empty() ? kNone : Quantity(value, unit, decimals);
  };
  text.mean = show(m.mean, "V", 2);
  text.rms = show(m.rms, "V", 2);
  text.min = show(m.min, "V", 2);
  text.max = show(m.max, "V", 2);
  text.peakToPeak = show(m.peakToPeak, "V", 2);
  text.period = Quantity(m.periodMs, "ms", 2);
  text.frequency = Quantity(m.frequencyHz, "Hz", 0);
  text.dutyCycle = Quantity(m.dutyCycle, "", 2);

  const bool cursorA = Series2->PointCount() > 0;
  text.cursorA = cursorA ? Point(bench_.ReferenceTime(), bench_.ReferenceVoltage()) : kNone;
  text.cursorB = cursorB_ ? Point(cursorB_->first, cursorB_->second) : kNone;
  text.deltaT = text.deltaU = text.inverseDeltaT = kNone;
  if (cursorA && cursorB_) {
    const TCursorDelta d = CursorDifference(bench_.ReferenceTime(), bench_.ReferenceVoltage(),
                                            cursorB_->first, cursorB_->second);
    text.deltaT = Quantity(d.dtMs, "ms", 2);
    text.deltaU = Quantity(d.dU, "V", 2);
    text.inverseDeltaT = Quantity(d.inverseHz, "Hz", 1);
  }
  return text;
}

void TForm1::RefreshMeasures() {
  if (MeasuresWindow_ != nullptr && MeasuresWindow_->isVisible())
    MeasuresWindow_->Show(MeasuresText());
}

void TForm1::Mesures1Click() {
  if (MeasuresWindow_ == nullptr) MeasuresWindow_ = new TMeasuresWindow(this);
  MeasuresWindow_->show();
  MeasuresWindow_->raise();
  MeasuresWindow_->activateWindow();
  RefreshMeasures();
}

// --- Projector mode ---------------------------------------------------------------------------

void TForm1::Contrastelev1Click(bool on) {
  QSettings().setValue(kHighContrastKey, on);
  const int width = on ? 2 : 1;
  for (TFastLineSeries* trace : {Series4, Series1})
    trace->LinePen().SetWidth(width);
  const auto colour = [on](const oscilloscope::TTraceSetting& s) {
    return on ? s.highContrastColour : s.colour;
  };
  Series2->SetSeriesColor(colour(oscilloscope::kTraces[2]));
  Series3->SetSeriesColor(colour(oscilloscope::kTraces[3]));
  Series5->SetSeriesColor(colour(oscilloscope::kCursorB[0]));
  Series6->SetSeriesColor(colour(oscilloscope::kCursorB[1]));
  for (TChartAxis* axis : {&ui_->Chart1->BottomAxis(), &ui_->Chart1->LeftAxis()}) {
    TCanvasFont font = axis->LabelsFont();
    font.Size = baseLabelSize_ + (on ? 1 : 0);
    axis->SetLabelsFont(font);
  }
}

// --- Files, clipboard and printer -------------------------------------------------------------

QImage TForm1::ScreenImage() const {
  return ui_->Chart1->grab().toImage();
}

QString TForm1::ExperimentTitle() const {
  return QString::fromStdString(bench_.Description().experiment);
}

// The choices of the control panel shown, named as their panels, in the screen's order
// (wiring, chopper, direction; or machine, direction), then each set-point shown.
QList<QPair<QString, QString>> TForm1::SettingsList() const {
  QList<QPair<QString, QString>> settings;
  const Ui::TForm1& u = *ui_;
  const TBenchDescription bench = bench_.Description();
  const bool fourQuadrant = bench_.ExperimentKind() == TExperiment::kFourQuadrants;
  const std::pair<const QWidget*, const TPanelChoice*> choices[] = {
      {u.Panel1, &bench.wiring},
      {u.Panel3, &bench.chopperType},
      {u.Panel32, &bench.drivingMachine},
      {fourQuadrant ? u.Panel35 : u.Panel2, &bench.direction}};
  for (const auto& [panel, choice] : choices) {
    if (!choice->shown) continue;
    settings.append({panel->accessibleName(), choice->caption.empty()
                                                  ? QStringLiteral("non choisi")
                                                  : QString::fromStdString(choice->caption)});
  }
  const std::pair<QWidget*, QLineEdit*> setPoints[] = {
      {u.Panel13, u.Edit1}, {u.Panel37, u.Edit3}, {u.Panel30, u.Edit2}};
  for (const auto& [panel, box] : setPoints) {
    if (!panel->isVisibleTo(this) || !panel->parentWidget()->isVisibleTo(this)) continue;
    settings.append({panel->accessibleName(), box->text() + QStringLiteral("\u00A0%")});
  }
  return settings;
}

QString TForm1::DefaultFileName(const QString& suffix) const {
  QStringList parts{ExperimentTitle()};
  for (const auto& setting : SettingsList())
    parts.append(setting.second);
  return DefaultExportFileName(parts.join(QLatin1Char(' ')), suffix);
}

QString TForm1::AskSavePath(const QString& title, const QString& suffix, const QString& filter) {
  const QString folder = ProposedSaveFolder(kFolderKey);
  const QString path =
      AskSaveFileName(this, title, QDir(folder).filePath(DefaultFileName(suffix)), filter);
  if (!path.isEmpty()) QSettings().setValue(kFolderKey, QFileInfo(path).absolutePath());
  return path;
}

bool TForm1::SaveScreenTo(const QString& path) {
  const TExportResult result = SaveImagePng(ScreenImage(), path);
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

bool TForm1::ExportCurvesTo(const QString& path) {
  const auto values = [](const TChartValueList& list) {
    std::vector<double> copy(list.ValueCount());
    for (int i = 0; i < list.ValueCount(); ++i)
      copy[i] = list.ValueAt(i);
    return copy;
  };
  const std::vector<double> t1 = values(Series1->XValues()), u1 = values(Series1->YValues());
  const std::vector<double> t4 = values(Series4->XValues()), u4 = values(Series4->YValues());
  const QList<TCsvTrace> traces = {
      {QStringLiteral("tension moteur"), t1.data(), u1.data(), static_cast<int>(u1.size())},
      {QStringLiteral("ligne zéro"), t4.data(), u4.data(), static_cast<int>(u4.size())}};
  const TExportResult result = SaveTracesCsv(path, traces, QLocale::system());
  if (!result.Ok()) ShowErrorBox(result.error);
  return result.Ok();
}

void TForm1::PrintReportTo(QPrinter* printer) {
  TReport report;
  report.title = QStringLiteral("Relevé de l'oscilloscope");
  report.date = QDateTime::currentDateTime();
  report.experiment = ExperimentTitle();
  report.settings = SettingsList();
  report.screen = ScreenImage();
  const Ui::TForm1& u = *ui_;
  const std::pair<QLineEdit*, const char*> meters[] = {{u.LabeledEdit1, "V"},
                                                       {u.LabeledEdit3, "A"},
                                                       {u.LabeledEdit2, "tr/mn"},
                                                       {u.LabeledEdit4, "A"}};
  for (const auto& [box, unit] : meters) {
    // "inactif" is a state, not a reading: no unit after it.
    const bool number = box->text().contains(QRegularExpression(QStringLiteral("\\d")));
    report.readings.append(
        {box->accessibleName(),
         number ? box->text() + QStringLiteral("\u00A0") + QString::fromUtf8(unit) : box->text()});
  }
  const TMeasuresText m = MeasuresText();
  report.measures = {{QStringLiteral("Moyenne ⟨u⟩"), m.mean},
                     {QStringLiteral("Valeur efficace U"), m.rms},
                     {QStringLiteral("Minimum"), m.min},
                     {QStringLiteral("Maximum"), m.max},
                     {QStringLiteral("Crête à crête"), m.peakToPeak},
                     {QStringLiteral("Période"), m.period},
                     {QStringLiteral("Fréquence"), m.frequency},
                     {QStringLiteral("Rapport cyclique α"), m.dutyCycle},
                     {QStringLiteral("Curseur A"), m.cursorA},
                     {QStringLiteral("Curseur B"), m.cursorB},
                     {QStringLiteral("Δt"), m.deltaT},
                     {QStringLiteral("ΔU"), m.deltaU},
                     {QStringLiteral("1/Δt"), m.inverseDeltaT}};
  const TExportResult result = PrintReport(report, printer);
  if (!result.Ok()) ShowErrorBox(result.error);
}

void TForm1::Enregistrerlcrandeloscilloscope1Click() {
  const QString path = AskSavePath(QStringLiteral("Enregistrer l'écran de l'oscilloscope"),
                                   QStringLiteral("png"), QStringLiteral("Images PNG (*.png)"));
  if (!path.isEmpty()) SaveScreenTo(path);
}

void TForm1::Exporterlescourbes1Click() {
  const QString path = AskSavePath(QStringLiteral("Exporter les courbes"), QStringLiteral("csv"),
                                   QStringLiteral("Tableaux CSV (*.csv)"));
  if (!path.isEmpty()) ExportCurvesTo(path);
}

void TForm1::Copierlcran1Click() {
  QGuiApplication::clipboard()->setImage(ScreenImage());
}

TForm1::TPrinterQuery TForm1::SetPrinterQuery(TPrinterQuery query) {
  return std::exchange(PrinterQuery(), std::move(query));
}

void TForm1::Imprimer1Click() {
  QPrinter printer(QPrinter::HighResolution);
  printer.setPageSize(QPageSize(QPageSize::A4));
  printer.setDocName(DefaultFileName(QString()));
  const bool printers =
      PrinterQuery() ? PrinterQuery()() : !QPrinterInfo::availablePrinters().isEmpty();
  if (printers) {
    QPrintDialog dialog(&printer, this);
    dialog.setWindowTitle(QStringLiteral("Imprimer"));
    if (dialog.exec() == QDialog::Accepted) PrintReportTo(&printer);
    return;
  }
  // Many classroom seats have no printer: the report goes to a PDF the user prints elsewhere.
  QMessageBox box(QMessageBox::Information, QStringLiteral("Imprimer"),
                  QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.\n\n"
                                 "Vous pouvez enregistrer le relevé dans un fichier PDF, puis "
                                 "l'imprimer depuis un autre poste."),
                  QMessageBox::NoButton, this);
  QPushButton* pdf = box.addButton(QStringLiteral("&Enregistrer en PDF…"), QMessageBox::AcceptRole);
  QPushButton* cancel = box.addButton(QStringLiteral("Annuler"), QMessageBox::RejectRole);
  box.setDefaultButton(pdf);
  box.setEscapeButton(cancel);  // Escape and the close box answer "Annuler"
  box.exec();
  if (box.clickedButton() != pdf) return;
  const QString path = AskSavePath(QStringLiteral("Enregistrer le relevé en PDF"),
                                   QStringLiteral("pdf"), QStringLiteral("Documents PDF (*.pdf)"));
  if (path.isEmpty()) return;
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  PrintReportTo(&printer);
}

void TForm1::Quitter1Click() {
  close();  // through the close confirmation
}
