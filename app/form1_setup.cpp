// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1_setup.h"

#include <QApplication>
#include <QFocusFrame>
#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>
#include <array>

#include "app/guarded.h"
#include "app/instruments.h"
#include "app/lab/bench_settings.h"
#include "ui_form1.h"

namespace {

void NameControls(const Ui::TForm1& u) {
  const std::pair<QWidget*, TInstrument> meters[] = {{u.LabeledEdit1, inVoltmeter},
                                                     {u.LabeledEdit2, inTachometer},
                                                     {u.LabeledEdit3, inAmmeter1},
                                                     {u.LabeledEdit4, inAmmeter2}};
  for (const auto& [box, instrument] : meters)
    box->setAccessibleName(TInstruments::Name(instrument));
  const std::pair<QWidget*, const char*> names[] = {{u.ScrollBar1, "Réglage vitesse %"},
                                                    {u.Edit1, "Réglage vitesse %"},
                                                    {u.ScrollBar2, "Réglage vitesse % moteur1"},
                                                    {u.Edit2, "Réglage vitesse % moteur1"},
                                                    {u.ScrollBar3, "Réglage vitesse % moteur2"},
                                                    {u.Edit3, "Réglage vitesse % moteur2"},
                                                    {u.Chart1, "Oscilloscope"},
                                                    {u.Image1, "schéma de branchement"},
                                                    {u.MainMenu1, "Barre de menus"},
                                                    {u.Button3, "Aide sur l'oscilloscope"},
                                                    {u.Button4, "Mesures"},
                                                    {u.Button5, "Relever le point"},
                                                    {u.Button6, "Voie 2\u00A0: courant"},
                                                    {u.memo1, "Remarques"}};
  for (const auto& [widget, name] : names)
    widget->setAccessibleName(QString::fromUtf8(name));
  // The read-out's name is its text, so each new reading is announced.
  const std::pair<QWidget*, const char*> descriptions[] = {
      {u.Label1, "Lecture du curseur, tension (V) / temps (ms)"},
      {u.Button1, "Retire la croix de mesure\u00A0: lecture en valeurs absolues"},
      {u.Button2, "Remet les échelles d'avant le zoom, le déplacement ou la molette"},
      {u.Button4, "Ouvre la fenêtre des mesures automatiques et des curseurs"},
      {u.Button5, "Ajoute les lectures des instruments au tableau des relevés (F5)"},
      {u.Button6,
       "Affiche ou retire le courant sur la voie 2 (axe de droite), comme une sonde de courant"}};
  for (const auto& [widget, description] : descriptions)
    widget->setAccessibleDescription(QString::fromUtf8(description));
}

void NamePanels(const Ui::TForm1& u) {
  const std::pair<QWidget*, const char*> panels[] = {
      {u.Panel9, "Panneau de commande des hacheurs 1 et 2 quadrants"},
      {u.Panel29, "Panneau de commande du hacheur 4 quadrants"},
      {u.Panel1, panel_names::kWiring},
      {u.Panel3, panel_names::kChopper},
      {u.Panel2, panel_names::kDirection},
      {u.Panel13, panel_names::kSpeed},
      {u.Panel32, panel_names::kDrivingMachine},
      {u.Panel35, panel_names::kDirection},
      {u.Panel30, panel_names::kSpeedMachine2},
      {u.Panel37, panel_names::kSpeedMachine1},
      {u.Panel18, "Instruments de mesure"}};
  for (const auto& [panel, name] : panels)
    panel->setAccessibleName(QString::fromUtf8(name));
  for (QScrollBar* bar : {u.ScrollBar1, u.ScrollBar2, u.ScrollBar3}) {
    bar->setAccessibleDescription(QStringLiteral(
        "Position de 0 à 200, soit 0 à 100\u00A0%\u00A0: Droite ou Bas augmente, Gauche ou "
        "Haut diminue, Début et Fin vont aux extrêmes"));
  }
}

}  // namespace

void FitCaptions(QWidget* window) {
  for (QRadioButton* button : window->findChildren<QRadioButton*>()) {
    const int needed = button->sizeHint().width();
    if (needed > button->width()) button->resize(needed, button->height());
  }
}

// Centred when restored; the program shows the window maximised.
void CenterOnScreen(QWidget* window) {
  if (const QScreen* screen = window->screen()) {
    const QRect area = screen->availableGeometry();
    window->move(area.center() - window->rect().center());
  }
}

void NameWindowControls(const Ui::TForm1& ui) {
  NameControls(ui);
  NamePanels(ui);
}

// The screen's order: the tool bar, the oscilloscope, the control panel shown (top to bottom,
// each bar before its box), then the remarks and the instruments. Hidden controls are skipped.
void SetWindowTabOrder(const Ui::TForm1& u) {
  const QWidget* order[] = {
      u.Button1,      u.Button2,      u.Button3,       u.Button4,       u.Button6,
      u.Button5,      u.Chart1,       u.RadioButton1,  u.RadioButton8,  u.RadioButton2,
      u.RadioButton5, u.RadioButton7, u.RadioButton6,  u.RadioButton3,  u.RadioButton4,
      u.ScrollBar1,   u.Edit1,        u.RadioButton12, u.RadioButton13, u.RadioButton10,
      u.RadioButton9, u.ScrollBar3,   u.Edit3,         u.ScrollBar2,    u.Edit2,
      u.memo1,        u.LabeledEdit1, u.LabeledEdit3,  u.LabeledEdit2,  u.LabeledEdit4};
  for (std::size_t i = 1; i < std::size(order); ++i)
    QWidget::setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
}

// Radio buttons, push buttons and edit boxes draw their own focus; the chart and the speed
// bars get a frame around them while they hold it.
void ShowFocusFrames(QWidget* window, const Ui::TForm1& ui) {
  auto* frame = new QFocusFrame(window);
  frame->setObjectName(QStringLiteral("FocusFrame"));
  const std::array<QWidget*, 4> framed = {ui.Chart1, ui.ScrollBar1, ui.ScrollBar2, ui.ScrollBar3};
  ConnectGuarded(qApp, &QApplication::focusChanged, frame, [frame, framed](QWidget*, QWidget* now) {
    const bool ours = std::find(framed.begin(), framed.end(), now) != framed.end();
    frame->setWidget(ours ? now : nullptr);
  });
}

// F10 does what a lone Alt does: the menu bar takes the keyboard with its first entry
// highlighted. A style without that navigation opens the first menu instead.
void OpenMenuBarByKeyboard(QMainWindow* window) {
  QMenuBar* bar = window->menuBar();
  if (bar->style()->styleHint(QStyle::SH_MenuBar_AltKeyNavigation, nullptr, bar)) {
    for (QEvent::Type type : {QEvent::ShortcutOverride, QEvent::KeyPress}) {
      QKeyEvent press(type, Qt::Key_Alt, Qt::AltModifier);
      QApplication::sendEvent(window, &press);
    }
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Alt, Qt::NoModifier);
    QApplication::sendEvent(window, &release);
  } else if (!bar->actions().isEmpty()) {
    bar->setActiveAction(bar->actions().constFirst());
  }
}
