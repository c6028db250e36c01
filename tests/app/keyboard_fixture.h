// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QApplication>
#include <QTest>
#include <ostream>
#include <vector>

#include "form_fixture.h"
#include "platform/shell_open.h"

inline void PrintTo(const QString& text, std::ostream* out) {
  *out << '"' << text.toStdString() << '"';
}

// The main window shown and active, so that keys reach it as on a desktop; pages are recorded
// instead of opened.
class KeyboardTest : public FormTest {
 protected:
  KeyboardTest() {
    previousOpener = SetDocumentOpener(
        [this](const QString& path, const TOpenFailure&) { opened.push_back(path); });
    form->resize(1100, 720);
    form->show();
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
  }
  ~KeyboardTest() override { SetDocumentOpener(previousOpener); }

  // A key to the open menu if there is one, else to the focus.
  void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = {}) {
    QWidget* target = QApplication::activePopupWidget();
    if (target == nullptr) target = QApplication::focusWidget();
    QTest::keyClick(target != nullptr ? target : form.get(), key, modifiers);
  }
  void FocusOn(const char* name) { Find<QWidget>(name)->setFocus(Qt::TabFocusReason); }
  QString FocusName() {
    const QWidget* focus = QApplication::focusWidget();
    return focus != nullptr ? focus->objectName() : QStringLiteral("<none>");
  }
  static void Drag(QScrollBar* bar, int position) {
    bar->setSliderDown(true);
    bar->setSliderPosition(position);
    bar->setSliderDown(false);
  }
  // Everything a speed change shows: instruments, speed boxes, locks and the trace.
  std::vector<QString> Readings() {
    std::vector<QString> shown;
    for (const char* box : {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3", "LabeledEdit4", "Edit1",
                            "Edit2", "Edit3"})
      shown.push_back(Text(box));
    for (const char* panel : {"Panel1", "Panel2", "Panel3", "Panel32", "Panel35"})
      shown.push_back(QString::number(Enabled(panel)) + PanelColour(panel).name());
    const TChartValueList& trace = Find<TFastLineSeries>("Series1")->YValues();
    shown.push_back(QString::number(trace.SumOfValues(), 'g', 17));
    return shown;
  }

  std::vector<QString> opened;
  TDocumentOpener previousOpener;
};
