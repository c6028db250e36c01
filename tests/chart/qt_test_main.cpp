// Chart tests need an application object: the chart is a widget and measures text.
#include <gtest/gtest.h>

#include <QApplication>
#include <QStandardPaths>

int main(int argc, char** argv) {
  // No display needed: CTest sets the offscreen platform, and so does a run by hand.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  // Settings the window remembers go to a test folder, never to the user's.
  QStandardPaths::setTestModeEnabled(true);
  QApplication::setOrganizationName(QStringLiteral("simhacheur-tests"));
  QApplication::setApplicationName(QStringLiteral("simhacheur-tests"));
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
