// SPDX-License-Identifier: GPL-3.0-or-later
// The main window: start-up, the three experiments and the radio buttons.
#include <QLabel>
#include <QPlainTextEdit>
#include <ostream>
#include <string>

#include "form_fixture.h"

namespace {

TEST_F(FormTest, StartsWithNothingChosen) {
  EXPECT_EQ(Bench().ExperimentKind(), TExperiment::kTwoQuadrants);
  EXPECT_EQ(Bench().ConnectionMode(), TWiring::kNotChosen);
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kNotChosen);
  EXPECT_EQ(Bench().ChopperType(), TChopperType::kNotChosen);
  EXPECT_EQ(Bench().SupplyVoltage(), 0);
  for (const char* box : {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3", "LabeledEdit4"}) {
    EXPECT_EQ(Text(box), "inactif") << box;
  }
  EXPECT_EQ(Shown(), "vide0");
  EXPECT_TRUE(Hidden("Panel9"));
  EXPECT_TRUE(Hidden("Panel29"));
  EXPECT_TRUE(Hidden("Panel34"));
  EXPECT_FALSE(Hidden("Panel6"));
  EXPECT_EQ(Find<QLabel>("Label1")->text(), "0/0");
  for (QRadioButton* button : form->findChildren<QRadioButton*>()) {
    EXPECT_FALSE(button->isChecked()) << button->objectName().toStdString();
  }
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(form->windowTitle().startsWith(
      QStringLiteral("Simulation de commande de moteur CC à aimant permanent par hacheur (")));
  EXPECT_EQ(form->minimumSize(), QSize(800, 600));
  EXPECT_EQ(form->windowIcon().availableSizes().value(0), QSize(32, 32));
  // The screen and its series, in drawing order, all empty: the zero line, the trace, channel
  // 2's current, the cross, then cursor B.
  TChart* chart = Find<TChart>("Chart1");
  ASSERT_EQ(chart->SeriesList().size(), 7u);
  const char* order[] = {"Series4", "Series1", "Series7", "Series2",
                         "Series3", "Series5", "Series6"};
  for (std::size_t i = 0; i < std::size(order); ++i) {
    EXPECT_EQ(chart->SeriesList()[i]->objectName(), order[i]);
    EXPECT_EQ(chart->SeriesList()[i]->PointCount(), 0);
  }
  EXPECT_EQ(Find<TFastLineSeries>("Series1")->SeriesColor(), clRed);
  EXPECT_EQ(chart->LeftAxis().Minimum(), -25);
  EXPECT_EQ(chart->BottomAxis().Maximum(), 25);
  EXPECT_EQ(Find<QPlainTextEdit>("memo1")->document()->blockCount(), 6);
  EXPECT_EQ(Find<QWidget>("LabeledEdit1")->accessibleName(), "Voltmètre");
  EXPECT_EQ(Find<QWidget>("ScrollBar2")->accessibleName(), "Réglage vitesse % moteur1");
}

TEST_F(FormTest, MissingStartPictureGivesOneErrorAndTheWindowStillWorks) {
  form.reset();
  QFile::remove(PicturePath("vide0"));
  form = std::make_unique<TForm1>();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Impossible d'ouvrir le fichier image/vide0.jpg");
  EXPECT_EQ(Shown(), "<none>");
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  EXPECT_EQ(Shown(), "vide");
}

struct ExperimentRow {
  const char* action;
  long double supply;
  TExperiment kind;
  TWiring connection;
  TDirection direction;
  TChopperType type;
  const char* ammeters;
  const char* picture;
  bool panel9, panel29, panel34, panel2and3;
};

std::ostream& operator<<(std::ostream& out, const ExperimentRow& row) {
  return out << row.action;
}

class Experiments : public FormTest, public testing::WithParamInterface<ExperimentRow> {};

TEST_P(Experiments, PutTheBenchInItsStartingState) {
  const ExperimentRow& row = GetParam();
  // Something chosen and running before, to see it all reset.
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton2");
  Select("RadioButton3");
  Select("RadioButton6");
  Find<QScrollBar>("ScrollBar1")->triggerAction(QAbstractSlider::SliderToMaximum);
  Menu(row.action);

  EXPECT_EQ(Bench().SupplyVoltage(), row.supply);
  EXPECT_EQ(Bench().ExperimentKind(), row.kind);
  EXPECT_EQ(Bench().ConnectionMode(), row.connection);
  EXPECT_EQ(Bench().RotationDirection(), row.direction);
  EXPECT_EQ(Bench().ChopperType(), row.type);
  EXPECT_EQ(Bench().SpeedSetting(), 0);
  EXPECT_EQ(Bench().SpeedPercent(), 0);
  EXPECT_EQ(Bench().MotorVoltage(), 0);
  EXPECT_EQ(Find<QScrollBar>("ScrollBar1")->value(), 0);
  EXPECT_EQ(Text("Edit1"), "0");
  EXPECT_EQ(Text("LabeledEdit1"), Reading("0.00"));
  EXPECT_EQ(Text("LabeledEdit2"), "0");
  EXPECT_EQ(Text("LabeledEdit3"), row.ammeters);
  EXPECT_EQ(Text("LabeledEdit4"), row.ammeters);
  EXPECT_EQ(Shown(), row.picture);
  EXPECT_EQ(!Hidden("Panel9"), row.panel9);
  EXPECT_EQ(!Hidden("Panel29"), row.panel29);
  EXPECT_EQ(!Hidden("Panel34"), row.panel34);
  EXPECT_FALSE(Hidden("Panel6"));
  if (row.panel9) {
    EXPECT_EQ(!Hidden("Panel2"), row.panel2and3);
    EXPECT_EQ(!Hidden("Panel3"), row.panel2and3);
    for (const char* panel : {"Panel1", "Panel2", "Panel3"}) {
      EXPECT_TRUE(Enabled(panel)) << panel;
      EXPECT_EQ(PanelColour(panel), kMoneyGreen) << panel;
    }
    for (const char* name : {"RadioButton1", "RadioButton2", "RadioButton3", "RadioButton6"}) {
      EXPECT_FALSE(Find<QRadioButton>(name)->isChecked()) << name;
    }
  } else {
    EXPECT_EQ(Bench().DrivingMachine(), TDrivingMachine::kNotChosen);
    EXPECT_EQ(Text("Edit2"), "0");
    EXPECT_EQ(Text("Edit3"), "0");
    EXPECT_FALSE(Enabled("ScrollBar2"));
    EXPECT_FALSE(Enabled("ScrollBar3"));
    EXPECT_TRUE(Enabled("Panel32"));
    EXPECT_TRUE(Enabled("Panel35"));
  }
  // The trace is flat at 0 and the zero line in place.
  EXPECT_EQ(Find<TFastLineSeries>("Series1")->PointCount(), 500);
  EXPECT_EQ(Find<TFastLineSeries>("Series4")->PointCount(), 501);
  EXPECT_EQ(Find<TFastLineSeries>("Series1")->YValues().MaximumValue(), 0);
  EXPECT_TRUE(errors.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Menu, Experiments,
    testing::Values(ExperimentRow{"Hacheur1quadrant1", 11.2L, TExperiment::kOneQuadrant,
                                  TWiring::kNotChosen, TDirection::kClockwise,
                                  TChopperType::kPlusOrMinus, "inactif", "vide", true, false, false,
                                  false},
                    ExperimentRow{"Hacheur2quadrantsvisualisationdestensions1", 10.4L,
                                  TExperiment::kTwoQuadrants, TWiring::kNotChosen,
                                  TDirection::kNotChosen, TChopperType::kNotChosen, "inactif",
                                  "vide", true, false, false, true},
                    ExperimentRow{"Hacheur4quadrantsvisualisationdesintensits1", 10.4L,
                                  TExperiment::kFourQuadrants, TWiring::kWithoutInductance,
                                  TDirection::kNotChosen, TChopperType::kPlusOrMinus, "0",
                                  "ampere4q", false, true, true, false}),
    [](const testing::TestParamInfo<ExperimentRow>& info) {
      return std::string(info.param.action);
    });

TEST_F(FormTest, TwoQuadrantButtons) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  // A direction before a wiring: recomputed with no wiring, the picture kept.
  Select("RadioButton3");
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kClockwise);
  EXPECT_EQ(Shown(), "vide");
  EXPECT_EQ(Text("LabeledEdit1"), Reading("0.00"));

  const struct {
    const char* button;
    TWiring connection;
    const char* picture;
  } wirings[] = {{"RadioButton1", TWiring::kNotConnected, "nonbranché"},
                 {"RadioButton8", TWiring::kWithoutInductance, "branché"},
                 {"RadioButton2", TWiring::kWithInductance, "branchéself"}};
  for (const auto& w : wirings) {
    Select(w.button);
    EXPECT_EQ(Bench().ConnectionMode(), w.connection) << w.button;
    EXPECT_EQ(Shown(), w.picture) << w.button;
  }
  const struct {
    const char* button;
    TChopperType type;
  } types[] = {{"RadioButton5", TChopperType::kPlusOrMinus},
               {"RadioButton6", TChopperType::kPlusAndMinusFedAtZero},
               {"RadioButton7", TChopperType::kPlusAndMinusOffAtZero}};
  for (const auto& t : types) {
    Select(t.button);
    EXPECT_EQ(Bench().ChopperType(), t.type) << t.button;
  }
  Select("RadioButton4");
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kAnticlockwise);
  // Each recomputation redrew the traces: type 3 at 0 % is flat, type 2 is not.
  Select("RadioButton6");
  EXPECT_GT(Find<TFastLineSeries>("Series1")->YValues().MaximumValue(), 10);
  EXPECT_TRUE(errors.empty());
}

TEST_F(FormTest, OneQuadrantWiringLoadsItsOwnPictures) {
  Menu("Hacheur1quadrant1");
  Select("RadioButton1");
  EXPECT_EQ(Shown(), "1nonbranché");
  Select("RadioButton8");
  EXPECT_EQ(Shown(), "1branché");
  Select("RadioButton2");
  EXPECT_EQ(Shown(), "1branchéself");
  EXPECT_EQ(Bench().ConnectionMode(), TWiring::kWithInductance);
}

TEST_F(FormTest, TheSelectedButtonAgainDoesNothing) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  // Were the handler to run again, it would fail on the missing picture.
  QFile::remove(PicturePath("branché"));
  Select("RadioButton8");
  EXPECT_TRUE(errors.empty());
  EXPECT_TRUE(Find<QRadioButton>("RadioButton8")->isChecked());
}

TEST_F(FormTest, FourQuadrantMachinesAndDirections) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  // A direction before a machine: only the bars are reset; no reading changes.
  Select("RadioButton10");
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kClockwise);
  EXPECT_EQ(Text("LabeledEdit3"), "0");
  EXPECT_EQ(Text("LabeledEdit1"), Reading("0.00"));

  Select("RadioButton13");
  EXPECT_EQ(Bench().DrivingMachine(), TDrivingMachine::kMachine2);
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kNotChosen);  // to be chosen again
  EXPECT_FALSE(Find<QRadioButton>("RadioButton10")->isChecked());
  EXPECT_TRUE(Enabled("ScrollBar3"));
  EXPECT_FALSE(Enabled("ScrollBar2"));
  // The recomputation ran with the direction in force before the click: machine n°2 at rest.
  EXPECT_EQ(Text("LabeledEdit3"), Reading("0.00"));

  Select("RadioButton10");
  QScrollBar* bar = Find<QScrollBar>("ScrollBar3");
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Text("Edit3"), "100");
  EXPECT_EQ(Text("LabeledEdit2"), "7000");
  EXPECT_EQ(Text("LabeledEdit1"), Reading("16.00"));
  EXPECT_EQ(Text("LabeledEdit3"), Reading("-0.40"));
  EXPECT_EQ(Text("LabeledEdit4"), Reading("-0.40"));
  EXPECT_FALSE(Enabled("Panel35"));
  EXPECT_FALSE(Enabled("Panel32"));
  EXPECT_NE(PanelColour("Panel35"), kMoneyGreen);
  bar->triggerAction(QAbstractSlider::SliderToMinimum);
  EXPECT_TRUE(Enabled("Panel35"));
  EXPECT_EQ(PanelColour("Panel32"), kMoneyGreen);

  Select("RadioButton12");
  EXPECT_TRUE(Enabled("ScrollBar2"));
  EXPECT_FALSE(Enabled("ScrollBar3"));
  Select("RadioButton9");
  Find<QScrollBar>("ScrollBar2")->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Text("LabeledEdit1"), Reading("-10.40"));
  EXPECT_EQ(Text("LabeledEdit2"), "-2920");
  EXPECT_EQ(Text("LabeledEdit3"), Reading("-1.08"));
  EXPECT_EQ(Text("LabeledEdit4"), Reading("1.08"));
}

TEST_F(FormTest, ReChoosingFourQuadrantKeepsTheDirectionButtonButNotTheDirection) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  Select("RadioButton9");
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  EXPECT_TRUE(Find<QRadioButton>("RadioButton9")->isChecked());
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kNotChosen);
  Select("RadioButton9");  // already selected: nothing
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kNotChosen);
  Select("RadioButton12");  // choosing a machine clears it
  EXPECT_FALSE(Find<QRadioButton>("RadioButton9")->isChecked());
}

}  // namespace
