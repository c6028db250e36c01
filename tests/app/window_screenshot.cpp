// Takes the README's screenshot: the window at 1280 × 800 in the two-quadrant experiment with
// the motor running. Run it from the run folder under a display (xvfb-run):
//   cd build/run && xvfb-run -a ../tests/app/window_screenshot ../../docs/screenshot.png
#include <QApplication>
#include <QRadioButton>
#include <QScrollBar>
#include <QTimer>
#include <cstdio>

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
  form.findChild<QAction*>(QStringLiteral("Hacheur2quadrantsvisualisationdestensions1"))->trigger();
  for (const char* name : {"RadioButton2", "RadioButton3", "RadioButton6"}) {
    form.findChild<QRadioButton*>(QString::fromLatin1(name))->click();
  }
  auto* bar = form.findChild<QScrollBar*>(QStringLiteral("ScrollBar1"));
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
