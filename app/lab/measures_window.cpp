// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/lab/measures_window.h"

#include <QLabel>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>

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
    : QDialog(parent), ui_(std::make_unique<Ui::TMeasuresWindow>()) {
  ui_->setupUi(this);
  // A tool window: kept above the main window, and put away with its close box alone, where a
  // dialog minimised would take the main window along on some desktops.
  setWindowFlags((DialogWindowFlags() & ~Qt::WindowType_Mask) | Qt::Tool);
  const Ui::TMeasuresWindow& u = *ui_;
  // Channel 1's values keep the names they had on their own; the column's captions speak of
  // both channels, so the names are given, not read off the captions.
  const std::pair<QLabel*, QString> named[] = {
      {u.MeanValue, QStringLiteral("Moyenne ⟨u⟩")},
      {u.RmsValue, QStringLiteral("Valeur efficace U")},
      {u.MinValue, QStringLiteral("Minimum")},
      {u.MaxValue, QStringLiteral("Maximum")},
      {u.PeakToPeakValue, QStringLiteral("Crête à crête")}};
  for (const auto& [value, name] : named)
    value->setAccessibleName(name);
  const std::pair<QLabel*, QLabel*> rows[] = {{u.TopLevelValue, u.TopLevelValueCaption},
                                              {u.BaseLevelValue, u.BaseLevelValueCaption},
                                              {u.PeriodValue, u.PeriodValueCaption},
                                              {u.FrequencyValue, u.FrequencyValueCaption},
                                              {u.DutyCycleValue, u.DutyCycleValueCaption},
                                              {u.CursorAValue, u.CursorAValueCaption},
                                              {u.CursorBValue, u.CursorBValueCaption},
                                              {u.DeltaTValue, u.DeltaTValueCaption},
                                              {u.DeltaUValue, u.DeltaUValueCaption},
                                              {u.InverseDeltaTValue, u.InverseDeltaTValueCaption}};
  for (const auto& [value, caption] : rows)
    NameAfterCaption(value, caption);
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
  NameCurrent(shown_.currentName);
}

// The column's header, its values' names and ΔI's caption follow the current shown: i, i1 or i2.
void TMeasuresWindow::NameCurrent(const QString& name) {
  const Ui::TMeasuresWindow& u = *ui_;
  const QString symbol = name.toUpper();  // I, I1, I2 for the RMS value and the difference
  u.CurrentHeader->setText(QStringLiteral("Voie 2 (%1)").arg(name));
  u.CurrentMeanValue->setAccessibleName(QStringLiteral("Moyenne ⟨%1⟩").arg(name));
  u.CurrentRmsValue->setAccessibleName(QStringLiteral("Valeur efficace %1").arg(symbol));
  u.CurrentMinValue->setAccessibleName(QStringLiteral("Minimum de %1").arg(name));
  u.CurrentMaxValue->setAccessibleName(QStringLiteral("Maximum de %1").arg(name));
  u.CurrentPeakToPeakValue->setAccessibleName(
      QStringLiteral("Ondulation Δ%1, crête à crête").arg(name));
  u.DeltaIValueCaption->setText(QStringLiteral("Δ%1\u00A0:").arg(symbol));
  NameAfterCaption(u.DeltaIValue, u.DeltaIValueCaption);
}

TMeasuresWindow::~TMeasuresWindow() = default;

void TMeasuresWindow::SetHighContrast(bool on) {
  placer_.Refit([this, on] {
    for (QLabel* label : findChildren<QLabel*>()) {
      if (label->objectName().endsWith(QStringLiteral("Value"))) SetProjectorText(label, on);
    }
  });
}

// Beside the plot and the instruments, not over them, each time it opens.
void TMeasuresWindow::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) placer_.Showing();
  QDialog::showEvent(event);
}

void TMeasuresWindow::moveEvent(QMoveEvent* event) {
  QDialog::moveEvent(event);
  placer_.Changed();
}

void TMeasuresWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placer_.Changed();
}

void TMeasuresWindow::changeEvent(QEvent* event) {
  QDialog::changeEvent(event);
  if (event->type() == QEvent::WindowStateChange) placer_.StateChanged();
}

void TMeasuresWindow::Show(const TMeasuresText& text) {
  shown_ = text;
  const Ui::TMeasuresWindow& u = *ui_;
  SetText(u.MeanValue, text.mean);
  SetText(u.RmsValue, text.rms);
  SetText(u.MinValue, text.min);
  SetText(u.MaxValue, text.max);
  SetText(u.PeakToPeakValue, text.peakToPeak);
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

  if (u.CurrentHeader->text() != QStringLiteral("Voie 2 (%1)").arg(text.currentName))
    NameCurrent(text.currentName);
  SetText(u.CurrentMeanValue, text.currentMean);
  SetText(u.CurrentRmsValue, text.currentRms);
  SetText(u.CurrentMinValue, text.currentMin);
  SetText(u.CurrentMaxValue, text.currentMax);
  SetText(u.CurrentPeakToPeakValue, text.currentPeakToPeak);
  SetText(u.DeltaIValue, text.deltaI);
}
