#include "app/lab/measures_window.h"

#include <QLabel>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>

#include "app/dialogs/dialog_flags.h"
#include "app/lab/lab_tools.h"

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
  const std::pair<QLabel*, QLabel*> rows[] = {{u.MeanValue, u.MeanValueCaption},
                                              {u.RmsValue, u.RmsValueCaption},
                                              {u.MinValue, u.MinValueCaption},
                                              {u.MaxValue, u.MaxValueCaption},
                                              {u.PeakToPeakValue, u.PeakToPeakValueCaption},
                                              {u.TopLevelValue, u.TopLevelValueCaption},
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
}
