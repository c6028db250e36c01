// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/measures_window.h"

#include <QLabel>

#include "app/dialogs/dialog_flags.h"
#include "app/projector_mode.h"

#include "ui_measures_window.h"

namespace {

// Each value is read out by a screen reader under its row's caption, without the colon.
void NameAfterCaption(QLabel* value, const QLabel* caption) {
  QString name = caption->text();
  name.remove(QStringLiteral("\u00A0:"));
  value->setAccessibleName(name);
}

// Set only when it changes: a screen reader announces every change of an accessible text.
void SetText(QLabel* label, const QString& text) {
  if (label->text() != text) label->setText(text);
}

}  // namespace

TMeasuresWindow::TMeasuresWindow(QWidget* parent)
    : TLabWindow(parent), ui_(std::make_unique<Ui::TMeasuresWindow>()) {
  ui_->setupUi(this);
  // A tool window: kept above the main window, and put away with its close box alone, where a
  // dialog minimised would take the main window along on some desktops.
  setWindowFlags((DialogWindowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  const Ui::TMeasuresWindow& u = *ui_;
  // Every value is named as the printed page captions it, channel 1's and the cursors' here,
  // channel 2's after the current shown.
  const std::pair<QLabel*, TMeasure> named[] = {{u.MeanValue, TMeasure::kMean},
                                                {u.RmsValue, TMeasure::kRms},
                                                {u.MinValue, TMeasure::kMin},
                                                {u.MaxValue, TMeasure::kMax},
                                                {u.PeakToPeakValue, TMeasure::kPeakToPeak},
                                                {u.TopLevelValue, TMeasure::kTop},
                                                {u.BaseLevelValue, TMeasure::kBase},
                                                {u.PeriodValue, TMeasure::kPeriod},
                                                {u.FrequencyValue, TMeasure::kFrequency},
                                                {u.CursorAValue, TMeasure::kCursorA},
                                                {u.CursorBValue, TMeasure::kCursorB},
                                                {u.DeltaTValue, TMeasure::kDeltaT},
                                                {u.DeltaUValue, TMeasure::kDeltaU},
                                                {u.InverseDeltaTValue, TMeasure::kInverseDeltaT}};
  for (const auto& [value, measure] : named)
    value->setAccessibleName(MeasureCaption(measure));
  NameAfterCaption(u.DutyCycleValue, u.DutyCycleValueCaption);
  u.CursorHint->setAccessibleName(u.CursorHint->text());
  // The two columns in the traces' colours, as the legend on the screen.
  const std::pair<QLabel*, QColor> headers[] = {{u.VoltageHeader, QColor(0x90, 0x00, 0x00)},
                                                {u.CurrentHeader, QColor(75, 0, 130)},
                                                {u.VoltageOnlyHeader, QColor(0x90, 0x00, 0x00)}};
  for (const auto& [header, colour] : headers) {
    QPalette palette = header->palette();
    palette.setColor(QPalette::WindowText, colour);
    header->setPalette(palette);
    QFont font = header->font();
    font.setBold(true);
    header->setFont(font);
  }
  NameCurrent(shown_.current.name);
}

// The column's header, its values' names and ΔI's caption follow the current shown: i, i1 or i2.
void TMeasuresWindow::NameCurrent(const QString& name) {
  const Ui::TMeasuresWindow& u = *ui_;
  u.CurrentHeader->setText(QStringLiteral("Voie 2 (%1)").arg(name));
  const std::pair<QLabel*, TMeasure> named[] = {{u.CurrentMeanValue, TMeasure::kMean},
                                                {u.CurrentRmsValue, TMeasure::kRms},
                                                {u.CurrentMinValue, TMeasure::kMin},
                                                {u.CurrentMaxValue, TMeasure::kMax},
                                                {u.CurrentPeakToPeakValue, TMeasure::kPeakToPeak},
                                                {u.DeltaIValue, TMeasure::kDeltaI}};
  for (const auto& [value, measure] : named)
    value->setAccessibleName(MeasureCaption(measure, name));
  u.DeltaIValueCaption->setText(MeasureCaption(TMeasure::kDeltaI, name) +
                                QStringLiteral("\u00A0:"));
}

TMeasuresWindow::~TMeasuresWindow() = default;

void TMeasuresWindow::SetHighContrast(bool on) {
  Placer().Refit([this, on] {
    for (QLabel* label : findChildren<QLabel*>()) {
      if (label->objectName().endsWith(QStringLiteral("Value"))) SetProjectorText(label, on);
    }
  });
}

void TMeasuresWindow::Show(const TMeasuresText& text) {
  shown_ = text;
  const Ui::TMeasuresWindow& u = *ui_;
  SetText(u.MeanValue, text.voltage.mean);
  SetText(u.RmsValue, text.voltage.rms);
  SetText(u.MinValue, text.voltage.min);
  SetText(u.MaxValue, text.voltage.max);
  SetText(u.PeakToPeakValue, text.voltage.peakToPeak);
  SetText(u.TopLevelValue, text.top);
  SetText(u.BaseLevelValue, text.base);
  SetText(u.PeriodValue, text.period);
  SetText(u.FrequencyValue, text.frequency);
  const QString dutyCycleCaption = text.dutyCycleCaption + QStringLiteral("\u00A0:");
  if (u.DutyCycleValueCaption->text() != dutyCycleCaption) {
    u.DutyCycleValueCaption->setText(dutyCycleCaption);
    NameAfterCaption(u.DutyCycleValue, u.DutyCycleValueCaption);
  }
  SetText(u.DutyCycleValue, text.dutyCycle);
  SetText(u.CursorAValue, text.cursorA);
  SetText(u.CursorBValue, text.cursorB);
  SetText(u.DeltaTValue, text.deltaT);
  SetText(u.DeltaUValue, text.deltaU);
  SetText(u.InverseDeltaTValue, text.inverseDeltaT);

  if (u.CurrentHeader->text() != QStringLiteral("Voie 2 (%1)").arg(text.current.name))
    NameCurrent(text.current.name);
  SetText(u.CurrentMeanValue, text.current.mean);
  SetText(u.CurrentRmsValue, text.current.rms);
  SetText(u.CurrentMinValue, text.current.min);
  SetText(u.CurrentMaxValue, text.current.max);
  SetText(u.CurrentPeakToPeakValue, text.current.peakToPeak);
  SetText(u.DeltaIValue, text.deltaI);
}
