// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader gets: a name on every control, the oscilloscope in words after each
// change (announcing it is the bridge's work: the AT-SPI check listens for that).
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "keyboard_fixture.h"

namespace {

TEST_F(KeyboardTest, EveryControlTheKeyboardReachesHasAName) {
  for (const char* experiment : {"Hacheur2quadrantsvisualisationdestensions1",
                                 "Hacheur4quadrantsvisualisationdesintensits1"}) {
    Menu(experiment);
    for (QWidget* widget : form->findChildren<QWidget*>()) {
      if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible()) continue;
      const QString name = QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
      EXPECT_FALSE(name.trimmed().isEmpty() || name == "?") << widget->objectName().toStdString();
    }
  }
}

TEST_F(KeyboardTest, TheOscilloscopeIsDescribedAfterEachChange) {
  auto* chart = Find<TChart>("Chart1");
  EXPECT_EQ(chart->accessibleDescription(), "Oscilloscope vide\u00A0: aucun essai choisi.");
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton5");  // "type + ou -": at 75 %, 76 of each period's 100 samples are at E
  Drag(Find<QScrollBar>("ScrollBar1"), 150);
  EXPECT_EQ(chart->accessibleDescription(),
            "Hacheur 2 quadrants\u00A0: période " + Reading("5.00") +
                "\u00A0ms\u202F; tension de " + Reading("0.00") + "\u00A0V à " + Reading("10.40") +
                "\u00A0V, moyenne " + Reading("7.90") + "\u00A0V\u202F; pas de croix de mesure.");
  chart->resize(600, 400);
  chart->PaintChart(nullptr, chart->ClientRect());
  QTest::mouseDClick(chart, Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_TRUE(chart->accessibleDescription().contains("croix de mesure en"));
  Find<QPushButton>("Button1")->click();
  EXPECT_TRUE(chart->accessibleDescription().endsWith("pas de croix de mesure."));
  // The read-out has no name of its own: its text is its name, announced as it changes.
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QLabel>("Label1"))->text(QAccessible::Name),
            Reading("0.00 /0.00"));
}

TEST_F(FormTest, DialogsHaveNeitherMinimiseNorMaximise) {
  for (const char* name : {"AboutBox", "OKBottomDlg"}) {
    const Qt::WindowFlags flags = Find<QDialog>(name)->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << name;
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << name;
  }
}

}  // namespace
