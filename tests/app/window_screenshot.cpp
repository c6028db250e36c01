// SPDX-License-Identifier: GPL-3.0-or-later
// Takes the README's screenshot: the window at 1280 × 800 in the two-quadrant experiment with
// the motor running (or, with "4q" after the file name, the four-quadrant one with machine n°2
// driving; with "lab", the two-quadrant one with both cursors set and the "Mesures" window
// open, the whole screen taken, or printed when the output ends in ".pdf", the curves then
// exported beside it; with "projecteur", the same in projector mode; with "releves", ten points
// recorded and the notebook open). Run it from the
// run folder under a display (xvfb-run):
//   cd build/run && xvfb-run -a -s "-screen 0 1280x800x24" ../tests/app/window_screenshot
//   ../../docs/screenshot.png
#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPrinter>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QStandardPaths>
#include <QTimer>
#include <cstdio>
#include <initializer_list>

#include "app/form1.h"
#include "app/lab/lab_tools.h"
#include "app/notebook/notebook_model.h"
#include "chart/chart.h"

namespace {

// A double click on the chart at (time, volts), with the pointer there as a user's would be.
void DoubleClick(TChart* chart, double time, double volts, Qt::KeyboardModifiers keys) {
  const QPointF local(chart->BottomAxis().ValueToPixel(time),
                      chart->LeftAxis().ValueToPixel(volts));
  const QPointF global = chart->mapToGlobal(local);
  QCursor::setPos(global.toPoint());
  QMouseEvent click(QEvent::MouseButtonDblClick, local, global, Qt::LeftButton, Qt::LeftButton,
                    keys);
  QApplication::sendEvent(chart, &click);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  // The user's settings and notebook are left alone: this run has folders of its own.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  TForm1 form;
  form.resize(1280, 800);
  form.show();
  const QString mode = argc > 2 ? QString::fromLocal8Bit(argv[2]) : QString();
  const bool fourQuadrant = mode == QStringLiteral("4q");
  const bool notebook = mode == QStringLiteral("releves");
  const bool lab =
      notebook || mode == QStringLiteral("lab") || mode == QStringLiteral("projecteur");
  form.findChild<QAction*>(fourQuadrant
                               ? QStringLiteral("Hacheur4quadrantsvisualisationdesintensits1")
                               : QStringLiteral("Hacheur2quadrantsvisualisationdestensions1"))
      ->trigger();
  const auto select = [&](std::initializer_list<const char*> names) {
    for (const char* name : names)
      form.findChild<QRadioButton*>(QString::fromLatin1(name))->click();
  };
  if (fourQuadrant) {
    select({"RadioButton13", "RadioButton10"});
  } else {
    select({"RadioButton2", "RadioButton3", "RadioButton6"});
  }
  auto* bar = form.findChild<QScrollBar*>(fourQuadrant ? QStringLiteral("ScrollBar3")
                                                       : QStringLiteral("ScrollBar1"));
  bar->setSliderDown(true);
  bar->setSliderPosition(150);
  bar->setSliderDown(false);
  if (notebook) {
    // Ten points of the two-quadrant experiment, from 10 % to 100 %, in an empty notebook.
    form.Notebook()->Clear();
    for (int step = 1; step <= 10; ++step) {
      bar->setSliderDown(true);
      bar->setSliderPosition(20 * step);
      bar->setSliderDown(false);
      form.Releverlepoint1Click();
    }
    form.move(0, 0);
    form.Relevs1Click();
    if (QWidget* window = QApplication::activeWindow(); window != nullptr && window != &form)
      window->setGeometry(300, 60, 900, 700);
  } else if (lab) {
    form.move(0, 0);  // the whole screen is taken: the window fills it
    form.findChild<QAction*>(QStringLiteral("Contrastelev1"))
        ->setChecked(mode == QStringLiteral("projecteur"));
    auto* chart = form.findChild<TChart*>(QStringLiteral("Chart1"));
    QApplication::processEvents();
    DoubleClick(chart, 5.4, 15, Qt::NoModifier);
    DoubleClick(chart, 8.2, -10, Qt::ShiftModifier);
    form.Mesures1Click();
    if (QWidget* window = QApplication::activeWindow(); window != nullptr && window != &form)
      window->move(form.width() - window->width() - 40, 120);
  }
  const QString output = QString::fromLocal8Bit(argv[1]);
  if (lab && output.endsWith(QStringLiteral(".pdf"))) {  // the printed page instead
    QApplication::processEvents();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(output);
    form.LabTools().PrintReportTo(&printer);
    return form.LabTools().ExportCurvesTo(output.chopped(4) + QStringLiteral(".csv")) ? 0 : 1;
  }
  QTimer::singleShot(500, [&] {
    const bool saved = lab ? form.screen()->grabWindow(0).save(output) : form.grab().save(output);
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
