// SPDX-License-Identifier: GPL-3.0-or-later
// The lab tools' printed page: on the desktop's printer, or as a PDF where there is none.
#include <QCheckBox>
#include <QDateTime>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSettings>
#include <QVBoxLayout>
#include <utility>

#include "app/dialogs/error_box.h"
#include "app/instruments.h"
#include "app/lab/lab_tools.h"
#include "app/lab/report.h"
#include "app/oscilloscope_settings.h"
#include "app/scope/scope_view.h"
#include "chart/chart.h"

namespace {

const QString kInkSavingKey = QStringLiteral("impression/economie_encre");

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

}  // namespace

// The screen for paper: white behind dark inks when the user chose to save ink. The chart is
// back to its own colours when this returns.
QImage TLabTools::PaperScreenImage() const {
  if (!InkSavingSaved()) return ScreenImage();
  QList<TInkSavingLook::TInk> inks;
  for (const TScopeView::TLine& line : scope_.Lines())
    inks.append({line.series, line.setting->inkColour});
  const TInkSavingLook look(scope_.Chart(), inks);
  return ScreenImage();
}

void TLabTools::PrintReportTo(QPrinter* printer) {
  TReport report;
  report.title = QStringLiteral("Relevé de l'oscilloscope");
  report.date = QDateTime::currentDateTime();
  report.experiment = ExperimentTitle();
  report.settings = Settings();
  report.screen = PaperScreenImage();
  report.readings = instruments_.Readings();
  // Channel 2's measures under channel 1's, and its ΔI under ΔU, while it is on.
  report.measures = MeasuresRows(MeasuresText(), !scope_.CurrentName().isEmpty());
  const TExportResult result = PrintReport(report, printer);
  if (!result.Ok()) ShowErrorBox(result.error);
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
