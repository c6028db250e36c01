// SPDX-License-Identifier: GPL-3.0-or-later
// simhacheur: the chopper-fed DC motor bench, for the classroom.
#include <QApplication>
#include <QFont>
#include <QLibraryInfo>
#include <QList>
#include <QTranslator>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <tuple>

#include "app/form1.h"
#include "app/guarded.h"
#include "app/single_instance.h"

namespace {

// What Qt says while it opens the display is kept back: when no display can be opened, Qt ends
// the program with advice in English to reinstall it, which is beside the point. It is said
// instead, in French, and the program ends without a core dump.
QtMessageHandler previousHandler = nullptr;
QList<std::tuple<QtMsgType, QByteArray, QString>> heldMessages;  // with their category

void HoldWhileOpening(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    heldMessages.append({type, QByteArray(context.category), message});
    return;
  }
  std::fputs(
      "simhacheur a besoin d'une session graphique pour s'ouvrir\u00A0: lancez-le depuis le "
      "bureau, ou par «\u202Fssh -X\u202F» depuis un autre ordinateur.\n",
      stderr);
  std::_Exit(EXIT_FAILURE);
}

// The application, or the end of the program when there is no display.
std::unique_ptr<QApplication> OpenDisplay(int& argc, char** argv) {
  previousHandler = qInstallMessageHandler(HoldWhileOpening);
  auto app = std::make_unique<QApplication>(argc, argv);
  qInstallMessageHandler(previousHandler);
  for (const auto& [type, category, message] : std::as_const(heldMessages))
    qt_message_output(type, QMessageLogContext(nullptr, 0, nullptr, category.constData()), message);
  heldMessages.clear();
  return app;
}

}  // namespace

int main(int argc, char** argv) {
  const std::unique_ptr<QApplication> app = OpenDisplay(argc, argv);
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
