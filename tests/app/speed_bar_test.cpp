// SPDX-License-Identifier: GPL-3.0-or-later
// The speed bars driven as a user would, and pictures that cannot be read.
#include <QFile>
#include <QTest>

#include "form_fixture.h"

namespace {

class SpeedBar : public FormTest {
 protected:
  SpeedBar() {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Select("RadioButton8");
    Select("RadioButton3");
    Select("RadioButton6");
    bar = Find<QScrollBar>("ScrollBar1");
    bar->resize(153, 16);
  }
  // The readings match the bar's final position and the panels are locked off zero.
  void ExpectFollowsBar() {
    const int position = bar->value();
    EXPECT_EQ(Bench().SpeedSetting(), position);
    EXPECT_EQ(Text("Edit1"), QString::number(TBench::HalveToEven(position)));
    const long double volts = position / 200.0L * 10.4L;
    long double speed = 300 * volts - 200;
    if (speed < 0) speed = 0;
    EXPECT_EQ(Text("LabeledEdit1"),
              Reading(QString::number(static_cast<double>(volts), 'f', 2).toLatin1().constData()));
    EXPECT_EQ(Text("LabeledEdit2"), QString::number(static_cast<double>(speed), 'f', 0));
    for (const char* panel : {"Panel1", "Panel2", "Panel3"}) {
      EXPECT_EQ(Enabled(panel), position == 0) << panel << " at " << position;
      EXPECT_EQ(PanelColour(panel) == kMoneyGreen, position == 0) << panel;
    }
  }
  QScrollBar* bar = nullptr;
};

TEST_F(SpeedBar, ArrowClicksStepByOne) {
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  EXPECT_EQ(bar->value(), 1);
  EXPECT_EQ(Text("Edit1"), "0");  // position 1 rounds to 0 % and still locks the panels
  ExpectFollowsBar();
  for (int i = 0; i < 4; ++i) {
    QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  }
  EXPECT_EQ(bar->value(), 5);
  EXPECT_EQ(Text("Edit1"), "2");
  ExpectFollowsBar();
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(3, bar->height() / 2));
  EXPECT_EQ(bar->value(), 4);
  ExpectFollowsBar();
}

TEST_F(SpeedBar, PageClicksAndKeyboard) {
  bar->triggerAction(QAbstractSlider::SliderPageStepAdd);  // a click in the track
  EXPECT_EQ(bar->value(), 1);
  ExpectFollowsBar();
  QTest::keyClick(bar, Qt::Key_End);
  EXPECT_EQ(bar->value(), 200);
  EXPECT_EQ(Text("LabeledEdit1"), Reading("10.40"));
  EXPECT_EQ(Text("LabeledEdit2"), "2920");
  ExpectFollowsBar();
  QTest::keyClick(bar, Qt::Key_PageUp);  // a page is one step on these bars
  EXPECT_EQ(bar->value(), 199);
  EXPECT_EQ(Text("Edit1"), "100");
  ExpectFollowsBar();
  QTest::keyClick(bar, Qt::Key_Right);  // one step, whichever way the bar takes it
  EXPECT_EQ(std::abs(bar->value() - 199), 1);
  ExpectFollowsBar();
  QTest::keyClick(bar, Qt::Key_Home);
  EXPECT_EQ(bar->value(), 0);
  ExpectFollowsBar();
}

TEST_F(SpeedBar, DragEndsOnTheReleasedPosition) {
  bar->setSliderDown(true);
  for (int p : {10, 57, 123, 150})
    bar->setSliderPosition(p);
  bar->setSliderDown(false);
  EXPECT_EQ(bar->value(), 150);
  ExpectFollowsBar();
  EXPECT_EQ(Text("Edit1"), "75");
  // Back to zero: the panels come back, enabled and green.
  bar->setSliderDown(true);
  bar->setSliderPosition(0);
  bar->setSliderDown(false);
  ExpectFollowsBar();
}

TEST_F(SpeedBar, OneQuadrantRecomputesTooFourQuadrantDoesNot) {
  Menu("Hacheur1quadrant1");
  Select("RadioButton8");
  bar->triggerAction(QAbstractSlider::SliderToMaximum);
  EXPECT_EQ(Text("LabeledEdit1"), Reading("11.20"));
  EXPECT_EQ(Text("LabeledEdit2"), "3160");
}

// --- Pictures that cannot be read -------------------------------------------------------------

class BadPictures : public FormTest {
 protected:
  void Replace(const std::string& name, const QByteArray& content) {
    QFile file(PicturePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(content);
  }
};

TEST_F(BadPictures, EachGivesOneErrorAndTheHandlerStops) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton3");
  Select("RadioButton6");
  QFile good(PicturePath("branché"));
  ASSERT_TRUE(good.open(QIODevice::ReadOnly));
  const QByteArray bytes = good.readAll();
  good.close();

  const struct {
    const char* what;
    QByteArray content;
  } cases[] = {{"empty", {}},
               {"truncated", bytes.left(bytes.size() / 2)},
               {"not a picture", "GIF89a ce n'est pas un JPEG"}};
  for (const auto& c : cases) {
    Replace("branché", c.content);
    Select("RadioButton1");  // a readable picture first
    EXPECT_EQ(Shown(), "nonbranché");
    const QString voltsBefore = Text("LabeledEdit1");
    errors.clear();
    Select("RadioButton8");
    ASSERT_EQ(errors.size(), 1u) << c.what;
    EXPECT_EQ(errors[0], "Impossible d'ouvrir le fichier image/branché.jpg") << c.what;
    EXPECT_EQ(Shown(), "nonbranché") << c.what;  // the previous picture stays
    EXPECT_EQ(Bench().ConnectionMode(), TWiring::kWithoutInductance) << c.what;  // set first
    EXPECT_EQ(Text("LabeledEdit1"), voltsBefore) << c.what;
  }
  // The program goes on.
  QFile::remove(PicturePath("branché"));
  errors.clear();
  Select("RadioButton2");
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(Shown(), "branchéself");
}

// The picture is said to be missing, and the experiment is still usable.
TEST_F(BadPictures, AnExperimentWithoutItsPictureStillShowsItsPanels) {
  QFile::remove(PicturePath("ampere4q"));
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Impossible d'ouvrir le fichier image/ampere4q.jpg");
  EXPECT_EQ(Bench().ExperimentKind(), TExperiment::kFourQuadrants);
  EXPECT_EQ(Text("LabeledEdit3"), "0");
  EXPECT_FALSE(Hidden("Panel29"));
  EXPECT_FALSE(Hidden("Panel34"));
  EXPECT_EQ(Shown(), "vide0");  // the previous picture stays
}

}  // namespace
