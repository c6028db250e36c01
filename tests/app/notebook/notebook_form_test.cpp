// SPDX-License-Identifier: GPL-3.0-or-later
// The readings notebook from the main window: what a recorded row holds in each experiment, F5,
// and the rows found again by the next run.
#include <QScopeGuard>
#include <QScrollBar>
#include <QTest>

#include "app/dialogs/confirmation_box.h"
#include "app/lab/export.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/unsaved_rows_box.h"
#include "sim/notebook.h"
#include "tests/app/form_fixture.h"

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
  EXPECT_EQ(row.voltage, static_cast<double>(Bench().MotorVoltage()));
  EXPECT_EQ(row.speed, static_cast<double>(Bench().MotorSpeed()));
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
  EXPECT_EQ(*row.current1, static_cast<double>(Bench().Current1()));
  EXPECT_EQ(*row.current2, static_cast<double>(Bench().Current2()));
}

// What the window shows, read from its controls: the caption of the button selected in `panel`
// when the panel is shown, "" otherwise.
std::string ShownChoice(const QWidget* panel, const QWidget* window) {
  if (!panel->isVisibleTo(window)) return {};
  for (const QRadioButton* button : panel->findChildren<QRadioButton*>())
    if (button->isChecked()) return button->text().remove(QLatin1Char('&')).toStdString();
  return {};
}

// The choices recorded and put in file names come from the bench; they must be what the screen
// shows after any sequence of clicks, a button left selected by an earlier visit included.
TEST_F(NotebookFormTest, RowsAndFileNamesNameTheChoicesTheWindowShows) {
  const std::map<std::string, std::string> titles = {
      {"Hacheur1quadrant1", "Hacheur 1 quadrant"},
      {"Hacheur2quadrantsvisualisationdestensions1", "Hacheur 2 quadrants"},
      {"Hacheur4quadrantsvisualisationdesintensits1", "Hacheur 4 quadrants"}};
  const std::vector<std::string> steps = {
      "",  // as started
      "Hacheur1quadrant1",
      "RadioButton1",
      "RadioButton8",
      "RadioButton2",
      "Hacheur2quadrantsvisualisationdestensions1",
      "RadioButton3",
      "RadioButton8",
      "RadioButton5",
      "RadioButton4",
      "RadioButton7",
      "RadioButton6",
      "Hacheur4quadrantsvisualisationdesintensits1",
      "RadioButton10",
      "RadioButton13",
      "RadioButton9",
      "RadioButton12",
      "RadioButton10",
      "Hacheur2quadrantsvisualisationdestensions1",
      "RadioButton1",
      "Hacheur4quadrantsvisualisationdesintensits1",  // "horaire" still selected
      "RadioButton13",
      "RadioButton9",
      "Hacheur1quadrant1",
      "RadioButton2"};
  const char* const panels[] = {"Panel1", "Panel3", "Panel2", "Panel32", "Panel35"};
  const std::pair<const char*, const char*> setPoints[] = {
      {"Panel13", "Edit1"}, {"Panel37", "Edit3"}, {"Panel30", "Edit2"}};
  std::string title = "Hacheur 2 quadrants";
  for (const std::string& step : steps) {
    if (titles.count(step)) {
      Menu(step.c_str());
      title = titles.at(step);
    } else if (!step.empty()) {
      Select(step.c_str());
    }
    const auto shown = [&](const char* panel) {
      return ShownChoice(Find<QWidget>(panel), form.get());
    };
    // The one-quadrant experiment fixes what its hidden panels would say: "type + ou -" and
    // "horaire", as the two-quadrant panel's buttons say them.
    const auto fixed = [&](const char* button, const std::string& otherwise) {
      return title == "Hacheur 1 quadrant"
                 ? Find<QRadioButton>(button)->text().remove(QLatin1Char('&')).toStdString()
                 : otherwise;
    };
    const TNotebookRow row = form->CurrentReadings();
    EXPECT_EQ(row.experiment, title) << step;
    EXPECT_EQ(row.wiring, shown("Panel1")) << step;
    EXPECT_EQ(row.chopperType, fixed("RadioButton5", shown("Panel3"))) << step;
    EXPECT_EQ(row.direction, fixed("RadioButton3", shown("Panel2") + shown("Panel35")))
        << step;  // one is hidden
    EXPECT_EQ(row.drivingMachine, shown("Panel32")) << step;

    QStringList parts{QString::fromStdString(title)};
    for (const char* name : panels) {
      if (!Find<QWidget>(name)->isVisibleTo(form.get())) continue;
      const std::string choice = shown(name);
      parts.append(choice.empty() ? QStringLiteral("non choisi") : QString::fromStdString(choice));
    }
    for (const auto& [panel, box] : setPoints)
      if (Find<QWidget>(panel)->isVisibleTo(form.get())) parts.append(Text(box) + "\u00A0%");
    EXPECT_EQ(
        form->LabTools().DefaultFileName(QStringLiteral("csv")).toStdString(),
        DefaultExportFileName(parts.join(QLatin1Char(' ')), QStringLiteral("csv")).toStdString())
        << step;
  }
  EXPECT_TRUE(errors.empty());
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

// Readings that could not be written (here a folder stands where the file should be): closing
// says how many, and offers to export them first, to close anyway or to stay.
TEST_F(NotebookFormTest, ClosingWithUnsavedRowsOffersToExportThem) {
  form.reset();
  const QString blocked = TNotebookFile::DefaultPath();
  ASSERT_TRUE(QDir().mkpath(blocked));
  const auto unblock = qScopeGuard([&] {
    form.reset();
    QDir(blocked).removeRecursively();
  });
  form = std::make_unique<TForm1>();
  form->Releverlepoint1Click();
  form->Releverlepoint1Click();
  using A = TUnsavedRowsAnswer;
  std::vector<QString> questions;
  A answer = A::kCancel;
  QString chosenPath;
  const TUnsavedRowsHandlers previous = SetUnsavedRowsHandlers(
      {[&](const QString& question) {
         questions.push_back(question);
         return answer;
       },
       [&](const QString& proposed) {
         EXPECT_TRUE(proposed.endsWith(QStringLiteral("/releves-non-enregistres.csv")));
         return chosenPath;
       }});
  const TConfirmationHandler previousConfirmation = SetConfirmationHandler([](const QString& q) {
    ADD_FAILURE() << q.toStdString();
    return true;
  });
  const QString exported = QDir(work.path()).filePath(QStringLiteral("sauvés.csv"));
  const struct {
    A answer;
    QString path;
    bool closes;
  } cases[] = {{A::kCancel, {}, false},
               {A::kExport, {}, false},  // the file dialog cancelled
               {A::kExport, exported, true},
               {A::kClose, {}, true}};
  for (const auto& c : cases) {
    answer = c.answer;
    chosenPath = c.path;
    bool canClose = !c.closes;
    form->FormCloseQuery(canClose);
    EXPECT_EQ(canClose, c.closes);
  }
  EXPECT_EQ(questions, std::vector<QString>(
                           4, QStringLiteral("2 relevés n'ont pas pu être enregistrés et seront "
                                             "perdus à la fermeture du programme. Les exporter "
                                             "d'abord dans un fichier CSV\u202F?")));
  QFile csv(exported);
  EXPECT_TRUE(csv.open(QIODevice::ReadOnly));
  EXPECT_EQ(csv.readAll().count('\n'), 3);  // the titles and the two rows
  SetConfirmationHandler(previousConfirmation);
  SetUnsavedRowsHandlers(previous);
}

}  // namespace
