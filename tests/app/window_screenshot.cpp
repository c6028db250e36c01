// Takes the README's screenshot: the window at 1280 × 800 in the two-quadrant experiment with
// the motor running (or, with "4q" after the file name, the four-quadrant one with machine n°2
// driving). Run it from the run folder under a display (xvfb-run):
//   cd build/run && xvfb-run -a ../tests/app/window_screenshot ../../docs/screenshot.png
#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>
#include <initializer_list>

#include "app/form1.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: window_screenshot OUTPUT.png\n");
    return 2;
  }
  QApplication app(argc, argv);
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  TForm1 form;
  form.resize(1280, 800);
  form.show();
  const bool fourQuadrant = argc > 2 && QString::fromLocal8Bit(argv[2]) == QStringLiteral("4q");
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
  const QString output = QString::fromLocal8Bit(argv[1]);
  QTimer::singleShot(500, [&] {
    const bool saved = form.grab().save(output);
    QApplication::exit(saved ? 0 : 1);
  });
  return QApplication::exec();
}
