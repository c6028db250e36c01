#include "gui_test.h"

#include <QGuiApplication>
#include <memory>

namespace {

int argc = 1;
char name[] = "platform_tests";
char* argv[] = {name, nullptr};
std::unique_ptr<QGuiApplication> app;

}  // namespace

void GuiTest::SetUpTestSuite() {
  app = std::make_unique<QGuiApplication>(argc, argv);
}

void GuiTest::TearDownTestSuite() {
  app.reset();
}
