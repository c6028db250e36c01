// simhacheur: the chopper-fed DC motor bench, for the classroom.
#include <QApplication>
#include <QFont>

#include "app/form1.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("simhacheur"));
  // No display name: the window system would append it to every title and cut the dialogs'.
  // The layout was drawn for an 8-point sans serif of Arial's metrics.
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

  TForm1 form;
  form.showMaximized();
  return QApplication::exec();
}
