// SPDX-License-Identifier: GPL-3.0-or-later
// Exact speeds typed in the speed boxes.
#include "app/set_point.h"
#include "keyboard_fixture.h"
#include "tests/sim/c_locale.h"

namespace {

TEST(SetPoint, HalfStepsWithACommaOrAPointAndTheRestRefusedSayingWhy) {
  const struct {
    const char* typed;
    int position;         // -1: refused
    const char* because;  // a word of the reason
  } rows[] = {{"12,5", 25, ""},
              {"12.5", 25, ""},
              {"37,5", 75, ""},
              {"37.5", 75, ""},
              {" 50 % ", 100, ""},
              {"100,0", 200, ""},
              {",5", 1, ""},
              {"-0", 0, ""},
              {"", -1, "Tapez"},
              {"vingt", -1, "pas une vitesse"},
              {"1e2", -1, "pas une vitesse"},
              {"12,5,5", -1, "pas une vitesse"},
              {"12,25", -1, "pas de 0,5"},
              {"100,5", -1, "hors de la plage"},
              {"-3", -1, "hors de la plage"},
              {"99999999999999999999", -1, "hors de la plage"},
              {"\u0663\u0667", -1, "pas une vitesse"},  // digits of another script
              {"1\u202F0", -1, "pas une vitesse"}};
  // The C library's locale, French or not, changes nothing.
  for (const char* name : kCLocales) {
    const TCLocale locale(name);
    ASSERT_TRUE(locale.Ok()) << name;
    for (const auto& r : rows) {
      const TSetPoint parsed = ParseSetPoint(QString::fromUtf8(r.typed));
      EXPECT_EQ(parsed.position, r.position) << r.typed << " under " << name;
      EXPECT_TRUE(parsed.refusal.contains(QString::fromUtf8(r.because))) << r.typed;
    }
  }
}

class SpeedBoxTest : public KeyboardTest {
 protected:
  // Types into the box as a user would, then leaves with `end`.
  void Type(const char* box, const char* text, Qt::Key end = Qt::Key_Return) {
    FocusOn(box);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(text));
    Key(end);
  }
};

TEST_F(SpeedBoxTest, ATypedSpeedMovesTheBarAsADragAndAnythingElseChangesNothing) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton6");
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  Type("Edit1", "37,5");
  EXPECT_EQ(bar->value(), 75);
  EXPECT_EQ(Text("Edit1"), "38");  // what the bar's handler writes for position 75
  const std::vector<QString> typed = Readings();
  Drag(bar, 0);
  Drag(bar, 75);
  EXPECT_EQ(Readings(), typed);
  Type("Edit1", "100", Qt::Key_Tab);  // leaving the box does as Enter
  EXPECT_EQ(Text("LabeledEdit1"), Reading("10.40"));
  Type("Edit1", "20.5");
  const std::vector<QString> before = Readings();
  for (const char* refused : {"150", "vingt", "12,3", ""}) {
    Type("Edit1", refused);
    EXPECT_EQ(bar->value(), 41) << refused;
    EXPECT_EQ(Readings(), before) << refused;  // "20" back in the box
    EXPECT_FALSE(Find<QLineEdit>("Edit1")->toolTip().isEmpty()) << refused;
  }
  Type("Edit1", "0");
  EXPECT_TRUE(Find<QLineEdit>("Edit1")->toolTip().isEmpty());
  EXPECT_TRUE(Enabled("Panel1"));
}

TEST_F(SpeedBoxTest, ALockedOrHiddenBarRefusesTheSpeed) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");  // no machine yet: both bars locked
  Type("Edit2", "50");
  EXPECT_EQ(Find<QScrollBar>("ScrollBar2")->value(), 0);
  EXPECT_EQ(Text("Edit2"), "0");
  EXPECT_TRUE(Find<QLineEdit>("Edit2")->toolTip().contains("verrouillée"));
  Select("RadioButton13");  // machine n°2 drives: its bar only
  Type("Edit3", "50");
  EXPECT_EQ(Find<QScrollBar>("ScrollBar3")->value(), 100);
  // The one- and two-quadrant box is hidden here; a value put there by any means is refused.
  QLineEdit* hidden = Find<QLineEdit>("Edit1");
  hidden->setText(QStringLiteral("30"));
  hidden->setModified(true);
  form->SpeedBoxEntered(hidden);
  EXPECT_EQ(Find<QScrollBar>("ScrollBar1")->value(), 0);
  EXPECT_TRUE(hidden->toolTip().contains("affichée"));
}

// The window's parts go before its widgets: a handler run by the focus leaving a half-typed
// box while the window is destroyed would crash here.
TEST_F(SpeedBoxTest, ClosingWithAHalfTypedValueRunsNothing) {
  Menu("Hacheur1quadrant1");
  FocusOn("Edit1");
  ASSERT_EQ(FocusName(), "Edit1");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4"));
  form.reset();
  EXPECT_TRUE(errors.empty());
}

}  // namespace
