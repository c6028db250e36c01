// The readings notebook from the main window: what a recorded row holds in each experiment, F5,
// and the rows found again by the next run.
#include <QScrollBar>
#include <QTest>

#include "app/notebook_model.h"
#include "form_fixture.h"
#include "sim/notebook.h"

namespace {

class NotebookFormTest : public FormTest {
 protected:
  const TNotebookRow& Last() { return form->Notebook()->Rows().back(); }
  void Bar(const char* name, int position) {
    Find<QScrollBar>(name)->triggerAction(QAbstractSlider::SliderToMinimum);
    for (int i = 0; i < position; ++i)
      Find<QScrollBar>(name)->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  }
};

TEST_F(NotebookFormTest, TwoQuadrantRowHasNoCurrents) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton5");
  Bar("ScrollBar1", 120);
  form->Releverlepoint1Click();
  ASSERT_EQ(form->Notebook()->Rows().size(), 1u);
  const TNotebookRow& row = Last();
  EXPECT_EQ(row.experiment, "Hacheur 2 quadrants");
  EXPECT_EQ(row.wiring, "moteur branché sans effet de self");
  EXPECT_EQ(row.direction, "horaire");
  EXPECT_EQ(row.drivingMachine, "");
  EXPECT_EQ(row.setPoint, 60);
  EXPECT_EQ(row.voltage, static_cast<double>(Bench().MotorVoltage));
  EXPECT_EQ(row.speed, static_cast<double>(Bench().MotorSpeed));
  EXPECT_GT(*row.speed, 0);
  // The ammeters read "inactif": empty cells, never zeros.
  EXPECT_FALSE(row.current1.has_value());
  EXPECT_FALSE(row.current2.has_value());
}

TEST_F(NotebookFormTest, FourQuadrantRowHasTheMachineAndBothCurrents) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  Select("RadioButton13");
  Select("RadioButton10");
  Bar("ScrollBar3", 80);
  form->Releverlepoint1Click();
  const TNotebookRow& row = Last();
  EXPECT_EQ(row.experiment, "Hacheur 4 quadrants");
  EXPECT_EQ(row.wiring, "");  // no wiring panel in this experiment
  EXPECT_FALSE(row.drivingMachine.empty());
  ASSERT_TRUE(row.current1.has_value());
  EXPECT_EQ(*row.current1, static_cast<double>(Bench().Current1));
  EXPECT_EQ(*row.current2, static_cast<double>(Bench().Current2));
}

TEST_F(NotebookFormTest, F5RecordsAndTheNextRunFindsTheRows) {
  form->show();
  QApplication::setActiveWindow(form.get());
  QTest::keyClick(form.get(), Qt::Key_F5);
  QTest::keyClick(form.get(), Qt::Key_F5);
  ASSERT_EQ(form->Notebook()->Rows().size(), 2u);
  form.reset();
  form = std::make_unique<TForm1>();
  EXPECT_EQ(form->Notebook()->Rows().size(), 2u);
  EXPECT_TRUE(errors.empty());
}

}  // namespace
