// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace Ui {
class TForm1;
}
class QMainWindow;
class QWidget;

// The main window's widgets as a desktop expects them, set up once at construction.

// The layout's widths were measured in a narrower font than the one this platform has: a radio
// button whose caption would be cut grows to its caption, from the same place.
void FitCaptions(QWidget* window);
// Centred when restored; the program shows the window maximised.
void CenterOnScreen(QWidget* window);
// A screen reader names each instrument and control after its panel's caption.
void NameWindowControls(const Ui::TForm1& ui);
// The screen's order: the tool bar, the oscilloscope, the control panel shown (top to bottom,
// each bar before its box), then the remarks and the instruments. Hidden controls are skipped.
void SetWindowTabOrder(const Ui::TForm1& ui);
// Radio buttons, push buttons and edit boxes draw their own focus; the chart and the speed bars
// get a frame around them while they hold it.
void ShowFocusFrames(QWidget* window, const Ui::TForm1& ui);
// F10 does what a lone Alt does: the menu bar takes the keyboard with its first entry
// highlighted. A style without that navigation opens the first menu instead.
void OpenMenuBarByKeyboard(QMainWindow* window);
