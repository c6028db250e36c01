// Exact speeds typed in the speed boxes: what is accepted, and what a refusal leaves.
#include <QToolTip>

#include "app/set_point.h"
#include "keyboard_fixture.h"

namespace {

TEST(SetPoint, AcceptsHalfStepsWithACommaOrAPoint) {
  const struct {
    const char* typed;
    int position;
  } rows[] = {{"50", 100}, {"12,5", 25}, {"12.5", 25},   {" 7 ", 14},   {"100", 200},
              {"0", 0},    {"0,0", 0},   {"99.50", 199}, {"50 %", 100}, {"50%", 100},
              {"-0", 0},   {",5", 1},    {"007", 14},    {"12.", 24},   {"100,0", 200}};
  for (const auto& r : rows) {
    const TSetPoint parsed = ParseSetPoint(QString::fromUtf8(r.typed));
    EXPECT_TRUE(parsed.Accepted()) << r.typed << ": " << parsed.refusal.toStdString();
    EXPECT_EQ(parsed.position, r.position) << r.typed;
  }
}

TEST(SetPoint, RefusesTheRestSayingWhy) {
  const struct {
    const char* typed;
    const char* because;  // a word the French reason holds
  } rows[] = {{"", "Tapez"},
              {"  ", "Tapez"},
              {"abc", "pas une vitesse"},
              {"1e2", "pas une vitesse"},
              {"12,5,5", "pas une vitesse"},
              {"5 5", "pas une vitesse"},
              {"+", "pas une vitesse"},
              {",", "pas une vitesse"},
              {"0x10", "pas une vitesse"},
              {"12,25", "pas de 0,5"},
              {"0.1", "pas de 0,5"},
              {"100,5", "hors de la plage"},
              {"101", "hors de la plage"},
              {"-3", "hors de la plage"},
              {"99999999999999999999", "hors de la plage"}};
  for (const auto& r : rows) {
    const TSetPoint parsed = ParseSetPoint(QString::fromUtf8(r.typed));
    EXPECT_FALSE(parsed.Accepted()) << r.typed;
    EXPECT_TRUE(parsed.refusal.contains(QString::fromUtf8(r.because)))
        << r.typed << ": " << parsed.refusal.toStdString();
  }
}

// --- Through the window
// ---------------------------------------------------------------------------

class SpeedBoxTest : public KeyboardTest {
 protected:
  SpeedBoxTest() {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Select("RadioButton8");
    Select("RadioButton3");
    Select("RadioButton6");
  }
  // Types into the box as a user would: select all, type, then Enter.
  void Type(const char* box, const QString& text, Qt::Key end = Qt::Key_Return) {
    FocusOn(box);
    Key(Qt::Key_A, Qt::ControlModifier);
    Key(Qt::Key_Backspace);
    QTest::keyClicks(QApplication::focusWidget(), text);
    Key(end);
  }
};

TEST_F(SpeedBoxTest, ATypedSpeedReadsAsADragThere) {
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  for (const QString& typed : {QStringLiteral("37,5"), QStringLiteral("37.5")}) {
    Drag(bar, 0);
    Type("Edit1", typed);
    EXPECT_EQ(bar->value(), 75) << typed.toStdString();
    EXPECT_EQ(Text("Edit1"), "38");  // what the bar's handler writes for position 75
    const std::vector<QString> typedReadings = Readings();
    Drag(bar, 0);
    Drag(bar, 75);
    EXPECT_EQ(Readings(), typedReadings);
  }
  // Leaving the box does the same as Enter.
  Type("Edit1", QStringLiteral("100"), Qt::Key_Tab);
  EXPECT_EQ(bar->value(), 200);
  EXPECT_EQ(Text("LabeledEdit1"), Reading("10.40"));
  EXPECT_FALSE(Enabled("Panel1"));
  Type("Edit1", QStringLiteral("0"));
  EXPECT_EQ(bar->value(), 0);
  EXPECT_TRUE(Enabled("Panel1"));
  EXPECT_TRUE(errors.empty());
}

TEST_F(SpeedBoxTest, ARefusalLeavesBarAndReadingsAndPutsTheValueBack) {
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  Drag(bar, 41);
  const std::vector<QString> before = Readings();
  for (const QString& typed : {QStringLiteral("150"), QStringLiteral("vingt"),
                               QStringLiteral("12,3"), QStringLiteral("-5"), QString()}) {
    Type("Edit1", typed);
    EXPECT_EQ(bar->value(), 41) << typed.toStdString();
    EXPECT_EQ(Readings(), before) << typed.toStdString();
    EXPECT_EQ(Text("Edit1"), "20") << typed.toStdString();
    EXPECT_FALSE(Find<QLineEdit>("Edit1")->toolTip().isEmpty()) << typed.toStdString();
  }
  Type("Edit1", QStringLiteral("10"));  // accepted again: the explanation goes
  EXPECT_EQ(bar->value(), 20);
  EXPECT_TRUE(Find<QLineEdit>("Edit1")->toolTip().isEmpty());
}

TEST_F(SpeedBoxTest, ALockedOrHiddenBarRefusesTheSpeed) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");  // no machine yet: both bars locked
  Type("Edit2", QStringLiteral("50"));
  EXPECT_EQ(Find<QScrollBar>("ScrollBar2")->value(), 0);
  EXPECT_EQ(Text("Edit2"), "0");
  EXPECT_TRUE(Find<QLineEdit>("Edit2")->toolTip().contains("verrouillée"));
  EXPECT_EQ(Text("LabeledEdit1"), Reading("0.00"));

  Select("RadioButton13");  // machine n°2 drives: its bar only
  Select("RadioButton10");
  Type("Edit2", QStringLiteral("50"));
  EXPECT_EQ(Find<QScrollBar>("ScrollBar2")->value(), 0);
  Type("Edit3", QStringLiteral("50"));
  EXPECT_EQ(Find<QScrollBar>("ScrollBar3")->value(), 100);
  EXPECT_EQ(Text("Edit3"), "50");
  EXPECT_FALSE(Enabled("Panel32"));

  // The one- and two-quadrant bar is hidden here: a value put in its box by any means is refused.
  QLineEdit* hidden = Find<QLineEdit>("Edit1");
  hidden->setText(QStringLiteral("30"));
  hidden->setModified(true);
  form->SpeedBoxEntered(hidden);
  EXPECT_EQ(Find<QScrollBar>("ScrollBar1")->value(), 0);
  EXPECT_EQ(hidden->text(), "0");
  EXPECT_TRUE(hidden->toolTip().contains("affichée"));
}

// A half-typed value while the window goes: no handler may run on what is being destroyed (the
// window's parts go before its widgets, so one would crash here).
TEST_F(SpeedBoxTest, ClosingWithAHalfTypedValueRunsNothing) {
  FocusOn("Edit1");
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("4"));
  form.reset();
  EXPECT_TRUE(errors.empty());
}

}  // namespace
