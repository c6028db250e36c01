// SPDX-License-Identifier: GPL-3.0-or-later
// simhacheur: the chopper-fed DC motor bench, for the classroom.
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QTranslator>

#include "app/form1.h"
#include "app/guarded.h"
#include "app/single_instance.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  QApplication::setApplicationName(QStringLiteral("simhacheur"));
  QApplication::setOrganizationName(QStringLiteral("simhacheur"));  // where QSettings go
  // A second start on the same desktop brings the window already open to the front.
  TSingleInstance instance(TSingleInstance::SessionServerName());
  if (instance.RaiseRunningCopy()) return 0;
  // The program speaks French whatever the desktop's language: so do Qt's own dialogs (file
  // choice, printing, the question before replacing a file).
  QTranslator qtFrench;
  if (qtFrench.load(QStringLiteral("qtbase_fr"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(&qtFrench);
  // No display name: the window system would append it to every title and cut the dialogs'.
  // The layout was drawn for an 8-point sans serif of Arial's metrics.
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));

  TForm1 form;
  ConnectGuarded(&instance, &TSingleInstance::RaiseRequested, &form,
                 [&form] { BringToFront(&form); });
  form.showMaximized();
  return QApplication::exec();
}
