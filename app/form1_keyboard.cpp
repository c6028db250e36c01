// SPDX-License-Identifier: GPL-3.0-or-later
// The main window by keyboard and for screen readers: the menu bar on F10, keys on the speed
// bars and in the radio groups, typed set-points, the shortcuts in text boxes, the Tab order
// and focus frames. The oscilloscope's own keys are its view's.
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QScrollBar>
#include <QShortcut>

#include "app/form1.h"
#include "app/form1_setup.h"
#include "app/keyboard_access.h"
#include "ui_form1.h"

void TForm1::SetUpKeyboard() {
  NameWindowControls(*ui_);
  auto* barKeys = new TSpeedBarKeys(this);
  for (QScrollBar* bar : {ui_->ScrollBar1, ui_->ScrollBar2, ui_->ScrollBar3})
    barKeys->Watch(bar);
  auto* radioKeys = new TRadioGroupKeys(this);
  for (QRadioButton* button : findChildren<QRadioButton*>())
    radioKeys->Watch(button);
  for (QLineEdit* box : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
    Wire(box, &QLineEdit::editingFinished, [box](TForm1* form) { form->SpeedBoxEntered(box); });
  ui_->memo1->setTabChangesFocus(true);
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
  Wire(f10, &QShortcut::activated, [](TForm1* form) { OpenMenuBarByKeyboard(form); });
  SetWindowTabOrder(*ui_);
  ShowFocusFrames(this, *ui_);
}
