// SPDX-License-Identifier: GPL-3.0-or-later
// Chart tests need an application object: the chart is a widget and measures text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>

int main(int argc, char** argv) {
  // No display needed: CTest sets the offscreen platform, and so does a run by hand.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Settings and the notebook go to a test folder, never to the user's, and one of this process's
  // own: CTest runs tests side by side, each remembering and recording.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName(QStringLiteral("simhacheur-tests"));
  QApplication::setApplicationName(
      QStringLiteral("run-%1").arg(QCoreApplication::applicationPid()));
  testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  const QString settings = QSettings().fileName();
  QFile::remove(settings);
  QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation)).removeRecursively();
  return result;
}
