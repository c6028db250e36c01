// SPDX-License-Identifier: GPL-3.0-or-later
// The main window by keyboard and for screen readers: the menu bar on F10, keys on the speed
// bars and in the radio groups, typed set-points, the oscilloscope's cursors and zoom, the Tab
// order, focus frames, and the oscilloscope described in words.
#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>
#include <QStyle>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <tuple>
#include <vector>

#include "app/form1.h"
#include "app/keyboard_access.h"
#include "app/lab/lab_tools.h"
#include "app/oscilloscope_settings.h"
#include "app/scope_description.h"
#include "app/set_point.h"
#include "chart/chart.h"
#include "ui_form1.h"

namespace {

const QString kBoxHint =
    QStringLiteral("Tapez une vitesse de 0 à 100\u00A0% par pas de 0,5, puis Entrée.");

const QString kScopeHint = QStringLiteral(
    "Double clic\u00A0: curseur A\u202F; Maj\u00A0+\u00A0double clic\u00A0: curseur B.\n"
    "Au clavier\u00A0: A ou B pose le curseur A ou B au milieu de la trace\u202F;\n"
    "← et → le déplacent d'un point, Ctrl\u00A0+\u00A0← et Ctrl\u00A0+\u00A0→ d'une "
    "division\u202F;\n"
    "+ et − zooment autour du curseur, Retour arrière revient (dezoom)\u202F;\n"
    "Échap retire les curseurs (0 absolu).");

std::vector<double> Values(const TChartValueList& list) {
  std::vector<double> copy(static_cast<std::size_t>(list.ValueCount()));
  for (std::size_t i = 0; i < copy.size(); ++i)
    copy[i] = list.ValueAt(static_cast<int>(i));
  return copy;
}

double Middle(const TChartAxis& axis) {
  return (axis.Minimum() + axis.Maximum()) / 2;
}

}  // namespace

void TForm1::SetUpKeyboard() {
  auto* barKeys = new TSpeedBarKeys(this);
  for (QScrollBar* bar : {ui_->ScrollBar1, ui_->ScrollBar2, ui_->ScrollBar3})
    barKeys->Watch(bar);
  auto* radioKeys = new TRadioGroupKeys(this);
  for (QRadioButton* button : findChildren<QRadioButton*>())
    radioKeys->Watch(button);
  for (QLineEdit* box : {ui_->Edit1, ui_->Edit2, ui_->Edit3}) {
    box->setAccessibleDescription(kBoxHint);
    Wire(box, &QLineEdit::editingFinished, [box](TForm1* form) { form->SpeedBoxEntered(box); });
  }
  ui_->memo1->setTabChangesFocus(true);
  // A click on the oscilloscope takes the keyboard from the box that had it, as a click on any
  // other control does.
  ui_->Chart1->setFocusPolicy(Qt::StrongFocus);
  ui_->Chart1->setToolTip(kScopeHint);
  scopeKeys_ = new TScopeKeys(this);
  scopeKeys_->Watch(ui_->Chart1);
  Wire(scopeKeys_, &TScopeKeys::Pressed, &TForm1::Chart1KeyDown);
  auto* shortcutKeys = new TWindowShortcutKeys(this);
  for (QLineEdit* box : findChildren<QLineEdit*>())
    shortcutKeys->Watch(box);
  for (QPlainTextEdit* box : findChildren<QPlainTextEdit*>())
    shortcutKeys->Watch(box);
  // A set-point typed but not yet entered is entered first: what is saved, copied or printed
  // is what the box shows.
  Wire(shortcutKeys, &TWindowShortcutKeys::ShortcutTaken, [](TForm1* form, QWidget* box) {
    for (QLineEdit* speedBox : {form->ui_->Edit1, form->ui_->Edit2, form->ui_->Edit3})
      if (box == speedBox) form->SpeedBoxEntered(speedBox);
  });
  auto* barStyle = new TMenuBarStyle();
  barStyle->setParent(menuBar());
  menuBar()->setStyle(barStyle);
  auto* f10 = new QShortcut(QKeySequence(Qt::Key_F10), this);
  Wire(f10, &QShortcut::activated, &TForm1::OpenMenuBarByKeyboard);
  SetTabOrder();
  ShowFocusFrames();
}

// The screen's order: the tool bar, the oscilloscope, the control panel shown (top to bottom,
// each bar before its box), then the remarks and the instruments. Hidden controls are skipped.
void TForm1::SetTabOrder() {
  const Ui::TForm1& u = *ui_;
  const QWidget* order[] = {
      u.Button1,      u.Button2,      u.Button3,       u.Button4,       u.Button6,
      u.Button5,      u.Chart1,       u.RadioButton1,  u.RadioButton8,  u.RadioButton2,
      u.RadioButton5, u.RadioButton7, u.RadioButton6,  u.RadioButton3,  u.RadioButton4,
      u.ScrollBar1,   u.Edit1,        u.RadioButton12, u.RadioButton13, u.RadioButton10,
      u.RadioButton9, u.ScrollBar3,   u.Edit3,         u.ScrollBar2,    u.Edit2,
      u.memo1,        u.LabeledEdit1, u.LabeledEdit3,  u.LabeledEdit2,  u.LabeledEdit4};
  for (std::size_t i = 1; i < std::size(order); ++i)
    setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

// Radio buttons, push buttons and edit boxes draw their own focus; the chart and the speed
// bars get a frame around them while they hold it.
void TForm1::ShowFocusFrames() {
  auto* frame = new QFocusFrame(this);
  frame->setObjectName(QStringLiteral("FocusFrame"));
  const std::array<QWidget*, 4> framed = {ui_->Chart1, ui_->ScrollBar1, ui_->ScrollBar2,
                                          ui_->ScrollBar3};
  ConnectGuarded(qApp, &QApplication::focusChanged, frame, [frame, framed](QWidget*, QWidget* now) {
    const bool ours = std::find(framed.begin(), framed.end(), now) != framed.end();
    frame->setWidget(ours ? now : nullptr);
  });
}

// F10 does what a lone Alt does: the menu bar takes the keyboard with its first entry
// highlighted. A style without that navigation opens the first menu instead.
void TForm1::OpenMenuBarByKeyboard() {
  QMenuBar* bar = menuBar();
  if (bar->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, bar)) {
    for (QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress}) {
      QKeyEvent press(type, Qt::Key_Alt, Qt::AltModifier);
      QApplication::sendEvent(this, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(this, &release);
  } else if (!bar->actions().isEmpty()) {
    bar->setActiveAction(bar->actions().constFirst());
  }
}

QScrollBar* TForm1::BarOfBox(const QLineEdit* box) const {
  if (box == ui_->Edit2) return ui_->ScrollBar2;
  if (box == ui_->Edit3) return ui_->ScrollBar3;
  return ui_->ScrollBar1;
}

void TForm1::SpeedBoxEntered(QLineEdit* box) {
  if (!box->isModified()) return;  // left without typing anything
  box->setModified(false);
  QScrollBar* bar = BarOfBox(box);
  TSetPoint typed = ParseSetPoint(box->text());
  if (typed.Accepted() && !bar->isEnabled()) {
    typed = {-1, QStringLiteral("Réglage impossible\u00A0: cette barre de vitesse est "
                                "verrouillée (choisissez d'abord la machine motrice).")};
  } else if (typed.Accepted() && !bar->isVisibleTo(this)) {
    typed = {-1, QStringLiteral("Réglage impossible\u00A0: cette barre de vitesse n'est pas "
                                "affichée.")};
  }
  if (typed.Accepted()) {
    bar->setSliderPosition(typed.position);  // as a drag to there: the scroll handler runs
    box->setToolTip({});
    box->setAccessibleDescription(kBoxHint);
  } else {
    box->setToolTip(typed.refusal);
    box->setAccessibleDescription(typed.refusal);
    QToolTip::showText(box->mapToGlobal(QPoint(0, box->height())), typed.refusal, box);
  }
  // The box shows what the bar's handler writes, also when the bar did not move.
  box->setText(QString::number(TBench::HalveToEven(bar->value())));
}

// --- The oscilloscope by keyboard -------------------------------------------------------------
// Each key ends where the mouse's gesture ends: the cross, cursor B, the read-out, the
// "Mesures" window and the scales change through the same steps, and the description follows
// as after every handler.

void TForm1::Chart1KeyDown(TScopeKey key) {
  switch (key) {
    case TScopeKey::kCursorA:
      TakeCursor(TScopeCursor::kA);
      break;
    case TScopeKey::kCursorB:
      TakeCursor(TScopeCursor::kB);
      break;
    case TScopeKey::kSampleBack:
    case TScopeKey::kSampleForward:
      MoveCursor(key == TScopeKey::kSampleForward ? 1 : -1, false);
      break;
    case TScopeKey::kDivisionBack:
    case TScopeKey::kDivisionForward:
      MoveCursor(key == TScopeKey::kDivisionForward ? 1 : -1, true);
      break;
    case TScopeKey::kZoomIn:
      ZoomAroundCursor(0.5);
      break;
    case TScopeKey::kZoomOut:
      ZoomAroundCursor(2);
      break;
    case TScopeKey::kDezoom:
      Button2Click();
      break;
    case TScopeKey::kClearCursors:
      Button1Click();
      scopeKeys_->SetActive(TScopeCursor::kNone);
      break;
    case TScopeKey::kNone:
      break;
  }
}

bool TForm1::CursorPoint(TScopeCursor cursor, double& time, double& voltage) const {
  if (cursor == TScopeCursor::kA && Series2->PointCount() > 0) {
    time = bench_.ReferenceTime();
    voltage = bench_.ReferenceVoltage();
    return true;
  }
  if (cursor == TScopeCursor::kB && labTools_->CursorB()) {
    std::tie(time, voltage) = *labTools_->CursorB();
    return true;
  }
  return false;
}

// A cursor already set stays where it is; a new one goes to the sample in the middle of the
// screen (the middle of the plot when no trace is shown).
void TForm1::TakeCursor(TScopeCursor cursor) {
  scopeKeys_->SetActive(cursor);
  double time = 0, voltage = 0;
  if (CursorPoint(cursor, time, voltage)) {
    ShowReadOut(time, voltage);
    return;
  }
  TChart& chart = *ui_->Chart1;
  const TChartAxis& bottom = chart.BottomAxis();
  const std::vector<double> times = Values(Series1->XValues());
  const int sample = NearestSample(times, bottom.Minimum(), bottom.Maximum(), Middle(bottom));
  if (sample >= 0) {
    PlaceCursor(cursor, times[static_cast<std::size_t>(sample)],
                Series1->YValues().ValueAt(sample));
  } else {
    PlaceCursor(cursor, Middle(bottom), Middle(chart.LeftAxis()));
  }
}

void TForm1::MoveCursor(int direction, bool byDivision) {
  const TScopeCursor cursor = scopeKeys_->Active();
  double time = 0, voltage = 0;
  if (!CursorPoint(cursor, time, voltage)) return;
  TChartAxis& bottom = ui_->Chart1->BottomAxis();
  // A division is the grid's step, as the screen shows it.
  const double span = byDivision ? bottom.LabelStep() : 0;
  const std::vector<double> times = Values(Series1->XValues());
  const int sample = SampleAlong(times, bottom.Minimum(), bottom.Maximum(), time, direction, span);
  if (sample < 0) return;
  PlaceCursor(cursor, times[static_cast<std::size_t>(sample)], Series1->YValues().ValueAt(sample));
}

void TForm1::PlaceCursor(TScopeCursor cursor, double time, double voltage) {
  if (cursor == TScopeCursor::kA) PlaceCursorA(time, voltage);
  if (cursor == TScopeCursor::kB) labTools_->PlaceCursorB(time, voltage);
  ShowReadOut(time, voltage);
}

// As a rectangle dragged around the cursor (the middle of the plot without one) would: the
// cursor keeps its place on the screen, and "dezoom" brings back the scales of before.
void TForm1::ZoomAroundCursor(double factor) {
  TChart& chart = *ui_->Chart1;
  double time = Middle(chart.BottomAxis()), voltage = Middle(chart.LeftAxis());
  CursorPoint(scopeKeys_->Active(), time, voltage);
  const auto fraction = [](const TChartAxis& axis, double value) {
    const double span = axis.Maximum() - axis.Minimum();
    return span > 0 ? std::clamp((value - axis.Minimum()) / span, 0.0, 1.0) : 0.5;
  };
  const double across = fraction(chart.BottomAxis(), time);
  const double up = fraction(chart.LeftAxis(), voltage);
  const auto range = [factor](const TChartAxis& axis, double at) {
    const double span = axis.Maximum() - axis.Minimum();
    const double centre = axis.Minimum() + at * span;
    return std::pair(centre - at * span * factor, centre + (1 - at) * span * factor);
  };
  const auto [topMin, topMax] = range(chart.TopAxis(), across);
  const auto [bottomMin, bottomMax] = range(chart.BottomAxis(), across);
  const auto [leftMin, leftMax] = range(chart.LeftAxis(), up);
  // Channel 2's axis stays a tenth of the voltage's.
  chart.ApplyZoom(topMin, topMax, bottomMin, bottomMax, leftMin, leftMax,
                  leftMin / oscilloscope::kVoltsPerAmpere, leftMax / oscilloscope::kVoltsPerAmpere);
  chart.InvalidateChart();
  // The cursors' lines span the new screen, which a zoom out makes larger than they are.
  if (CursorPoint(TScopeCursor::kA, time, voltage)) PlaceCursorA(time, voltage);
  if (CursorPoint(TScopeCursor::kB, time, voltage)) labTools_->PlaceCursorB(time, voltage);
}

void TForm1::DescribeScope() {
  TScopeSummary scope;
  scope.experiment = bench_.Description().experiment;
  const int count = Series1->PointCount();
  scope.hasTrace = count > TBench::kPeriodSamples;
  if (scope.hasTrace) {
    const TChartValueList& x = Series1->XValues();
    const TChartValueList& y = Series1->YValues();
    scope.period = x.ValueAt(TBench::kPeriodSamples) - x.ValueAt(0);
    scope.low = y.MinimumValue();
    scope.high = y.MaximumValue();
    scope.mean = y.SumOfValues() / count;
  }
  const QString current = CurrentName();
  if (!current.isEmpty() && Series7->PointCount() > 0) {
    scope.current = current.toStdString();
    scope.currentLow = Series7->YValues().MinimumValue();
    scope.currentHigh = Series7->YValues().MaximumValue();
  }
  scope.cross = Series2->PointCount() > 0;
  scope.crossTime = bench_.ReferenceTime();
  scope.crossVoltage = bench_.ReferenceVoltage();
  const QString text = ScopeDescription(scope, QLocale::system().decimalPoint().toStdString());
  // Each change is announced: set it only when it differs.
  if (ui_->Chart1->accessibleDescription() != text) ui_->Chart1->setAccessibleDescription(text);
}
