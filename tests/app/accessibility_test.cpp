// What a screen reader gets: a French name on every control, the oscilloscope in words after
// each change, and the announcements that go with them.
#include <QAccessible>
#include <QDialog>
#include <QLabel>
#include <QPushButton>

#include "app/scope_description.h"
#include "keyboard_fixture.h"

namespace {

TEST_F(KeyboardTest, EveryControlTheKeyboardReachesHasAName) {
  for (const char* experiment : {"Hacheur1quadrant1", "Hacheur2quadrantsvisualisationdestensions1",
                                 "Hacheur4quadrantsvisualisationdesintensits1"}) {
    Menu(experiment);
    int reached = 0;
    for (QWidget* widget : form->findChildren<QWidget*>()) {
      if (!(widget->focusPolicy() & Qt::TabFocus) || !widget->isVisible()) continue;
      ++reached;
      QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget);
      ASSERT_NE(control, nullptr);
      const QString name = control->text(QAccessible::Name);
      EXPECT_FALSE(name.trimmed().isEmpty()) << widget->objectName().toStdString();
      EXPECT_NE(name, "?") << widget->objectName().toStdString();
    }
    EXPECT_GE(reached, 13) << experiment;
  }
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QWidget>("Panel3"))->text(QAccessible::Name),
            "Choix du hacheur");
}

TEST(ScopeDescription, SaysTheTraceAndTheCrossInFrench) {
  EXPECT_EQ(ScopeDescription({}, ","),
            QStringLiteral("Oscilloscope vide\u00A0: aucun essai choisi."));
  TScopeSummary scope;
  scope.experimentKind = 1;
  scope.hasTrace = true;
  scope.period = 5;
  scope.low = -10.4;
  scope.high = 10.4;
  scope.mean = 5.2;
  EXPECT_EQ(ScopeDescription(scope, ","),
            QStringLiteral("Hacheur 2 quadrants\u00A0: période 5,00\u00A0ms\u202F; tension de "
                           "-10,40\u00A0V à 10,40\u00A0V, moyenne 5,20\u00A0V\u202F; pas de croix "
                           "de mesure."));
  scope.experimentKind = 3;
  scope.cross = true;
  scope.crossTime = 12.4;
  scope.crossVoltage = -3.25;
  EXPECT_TRUE(ScopeDescription(scope, ".").startsWith("Hacheur 1 quadrant\u00A0: période 5.00"));
  EXPECT_TRUE(ScopeDescription(scope, ".")
                  .endsWith(QStringLiteral("croix de mesure en 12.40\u00A0ms, -3.25\u00A0V.")));
}

// Announcing each change is the accessibility bridge's work: the AT-SPI check listens for it.
TEST_F(KeyboardTest, TheOscilloscopeIsDescribedAfterEachRecomputation) {
  auto* chart = Find<TChart>("Chart1");
  EXPECT_TRUE(chart->accessibleDescription().contains("aucun essai"));
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton6");
  const QString atRest = chart->accessibleDescription();
  EXPECT_TRUE(atRest.startsWith("Hacheur 2 quadrants")) << atRest.toStdString();
  EXPECT_TRUE(atRest.contains(Reading("5.00") + "\u00A0ms")) << atRest.toStdString();
  Drag(Find<QScrollBar>("ScrollBar1"), 150);
  const QString running = chart->accessibleDescription();
  EXPECT_NE(running, atRest);
  EXPECT_TRUE(running.contains(Reading("10.40") + "\u00A0V")) << running.toStdString();
  EXPECT_TRUE(running.contains("pas de croix"));
  // A double click sets the cross, "0 absolu" removes it.
  chart->resize(600, 400);
  chart->PaintChart(nullptr, chart->ClientRect());
  QTest::mouseDClick(chart, Qt::LeftButton, {}, QPoint(300, 200));
  EXPECT_TRUE(chart->accessibleDescription().contains("croix de mesure en"));
  Find<QPushButton>("Button1")->click();
  EXPECT_TRUE(chart->accessibleDescription().contains("pas de croix"));
  // The read-out keeps no name of its own: its text is its name, announced as it changes.
  EXPECT_TRUE(Find<QLabel>("Label1")->accessibleName().isEmpty());
  EXPECT_EQ(QAccessible::queryAccessibleInterface(Find<QLabel>("Label1"))->text(QAccessible::Name),
            Find<QLabel>("Label1")->text());
}

TEST_F(FormTest, DialogsHaveNeitherMinimiseNorMaximise) {
  for (const char* name : {"AboutBox", "OKBottomDlg"}) {
    const Qt::WindowFlags flags = Find<QDialog>(name)->windowFlags();
    EXPECT_TRUE(flags & Qt::CustomizeWindowHint) << name;
    EXPECT_TRUE(flags & Qt::WindowCloseButtonHint) << name;
    EXPECT_FALSE(flags & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)) << name;
  }
  EXPECT_TRUE(QGuiApplication::applicationDisplayName() == QCoreApplication::applicationName());
}

}  // namespace
