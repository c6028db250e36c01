// SPDX-License-Identifier: GPL-3.0-or-later
// The notebook's window: the plot and its fitted line, the equation, and what the buttons do
// to the rows.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCoreApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <cstdlib>
#include <optional>
#include <string>
#include <tuple>
#include <unordered_set>
#include <vector>

#include "app/dialogs/confirmation_box.h"
#include "app/dialogs/error_box.h"
#include "app/notebook/fit_equation.h"
#include "app/notebook/notebook_csv.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_window.h"
#include "chart/chart.h"

namespace {

TNotebookRow Row(std::optional<double> u, std::optional<double> n,
                 std::optional<double> i1 = std::nullopt) {
  TNotebookRow row;
  row.time = "10:00:" + std::to_string(static_cast<int>(u.value_or(-1) * 10));
  row.experiment = "Hacheur 2 quadrants; série";  // quoted where ';' separates
  row.voltage = u;
  row.speed = n;
  row.current1 = i1;
  row.setPoint = u ? std::optional(*u * 10) : std::nullopt;
  return row;
}

// French text written plainly: '~' stands for a no-break space, '^' for a narrow one.
QString French(const char* text) {
  return QString::fromUtf8(text).replace(u'~', u'\u00A0').replace(u'^', u'\u202F');
}

TEST(FitEquation, FrenchTextOfTheLineOrWhyThereIsNone) {
  struct Case {
    std::vector<double> x, y;
    int decimals;
    const char* text;
  };
  const Case cases[] = {
      // By hand: slope 3/2, intercept 4/3 − 3/2 = −1/6, R² = 1 − (1/6)/(42/9) = 0.964.
      {{0, 1, 2}, {0, 1, 3}, 4, "n~=~1,5·U~−~0,1667^; R²~=~0,964"},
      {{0, 1, 2}, {0, 1, 3}, 2, "n~=~1,5·U~−~0,17^; R²~=~0,964"},
      {{0, 1, 2, 3}, {1, 3, 5, 7}, 4, "n~=~2·U~+~1^; R²~=~1,000"},
      {{0, 1, 2}, {-4, -7.5, -11}, 4, "n~=~−3,5·U~−~4^; R²~=~1,000"},
      // Through two points a line always passes: no R², which would read 1 whatever they are.
      {{0, 1}, {5, 5}, 4, "n~=~5"},
      {{0, 10, 20}, {0.0312, 0.0624, 0.0936}, 4, "n~=~0,00312·U~+~0,0312^; R²~=~1,000"},
      {{2, 2, 2},
       {1, 5, 9},
       4,
       "Ajustement impossible~: il faut au moins deux valeurs différentes en abscisse."},
      {{2, 2},
       {1, 5},
       4,
       "Ajustement impossible~: il faut au moins deux valeurs différentes en abscisse."},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(
        FitEquationText(FitLine(c.x, c.y), QStringLiteral("U"), QStringLiteral("n"), c.decimals),
        French(c.text));
  }
}

TEST(FitEquation, WarnsOfWhatTheRowsMix) {
  const std::string one = "Hacheur 1 quadrant", on = "moteur branché sans effet de self";
  const auto textOf = [](const std::vector<std::vector<std::string>>& rows) {
    TRowsMix mix;
    for (const std::vector<std::string>& fields : rows) {
      TNotebookRow row;
      std::tie(row.experiment, row.wiring, row.chopperType) =
          std::tie(fields[0], fields[1], fields[2]);
      mix.Add(row);
    }
    return MixWarningText(mix);
  };
  EXPECT_EQ(textOf({{one, on, ""}, {"Hacheur 2 quadrants", on, ""}}),
            French("Attention~: ces relevés mélangent des expériences différentes."));
  EXPECT_EQ(textOf({{one, on, "type + ou -"},
                    {"Hacheur 2 quadrants", "moteur non branché", "type + et - ,zéro alimenté"}}),
            French("Attention~: ces relevés mélangent des expériences différentes, des types de "
                   "hacheur différents et des branchements différents^; la vitesse des relevés "
                   "«^moteur non branché^» est forcée à 0."));
  EXPECT_EQ(textOf({{one, on, ""}}), QString());
}

class NotebookWindowTest : public testing::Test {
 protected:
  NotebookWindowTest() {
    for (double u : {0.0, 1.0, 2.0, 3.0})
      model.Append(Row(u, 2 * u + 1));
    model.Append(Row(1.5, std::nullopt));  // no speed: neither plotted nor fitted
    window.resize(1120, 580);
    window.show();
    table = window.findChild<QTableView*>(QStringLiteral("RowsTable"));
    chart = window.findChild<TChart*>(QStringLiteral("NotebookChart"));
  }

  TChartSeries* Series(const char* name) {
    for (TChartSeries* s : chart->SeriesList())
      if (s->objectName() == QLatin1String(name)) return s;
    return nullptr;
  }
  QPushButton* Button(const char* name) { return window.findChild<QPushButton*>(name); }
  QString FitText() { return window.findChild<QLabel*>(QStringLiteral("FitLabel"))->text(); }
  QLabel* MixLabel() { return window.findChild<QLabel*>(QStringLiteral("MixLabel")); }
  QComboBox* Box() { return window.findChild<QComboBox*>(QStringLiteral("ExperimentBox")); }
  QStringList Choices() {
    QStringList items;
    for (int i = 0; i < Box()->count(); ++i)
      items << Box()->itemText(i);
    return items;
  }
  void Choose(const char* experiment) {
    Box()->setCurrentIndex(Box()->findText(QString::fromUtf8(experiment)));
  }
  // Rows of another experiment, on n = 5·U.
  void AddRows(const char* experiment, std::initializer_list<int> voltages) {
    for (int u : voltages) {
      TNotebookRow row = Row(u, 5 * u);
      row.experiment = experiment;
      row.time = experiment[8] + std::string("q:") + std::to_string(u);
      model.Append(row);
    }
  }
  std::vector<std::string> ShownTimes() {
    std::vector<std::string> times;
    for (int row = 0; row < table->model()->rowCount(); ++row)
      times.push_back(table->model()->index(row, 0).data().toString().toStdString());
    return times;
  }
  const QImage& Paint() {
    chart->PaintChart(nullptr, chart->ClientRect());
    return *chart->BufferImage();
  }
  void SelectRows(std::initializer_list<int> rows) {
    table->clearSelection();
    for (int row : rows)
      table->selectionModel()->select(table->model()->index(row, 0),
                                      QItemSelectionModel::Select | QItemSelectionModel::Rows);
  }
  std::vector<std::string> Times() {
    std::vector<std::string> times;
    for (const TNotebookRow& row : model.Rows())
      times.push_back(row.time);
    return times;
  }

  TNotebookModel model;
  TNotebookWindow window{&model};
  QTableView* table = nullptr;
  TChart* chart = nullptr;
};

TEST_F(NotebookWindowTest, RowsWithBothValuesArePlottedClearOfTheFrame) {
  const QImage& image = Paint();
  const QRgb red = ToQColor(clRed).rgb();
  TChartSeries* points = Series("PointSeries");
  ASSERT_EQ(points->PointCount(), 4);  // the row without n is left out
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(points->XValues().ValueAt(i), i);
    EXPECT_EQ(points->YValues().ValueAt(i), 2 * i + 1);
    const int x = chart->BottomAxis().ValueToPixel(i),
              y = chart->LeftAxis().ValueToPixel(2 * i + 1);
    // The axes leave room for the whole cross inside the plot.
    EXPECT_TRUE(chart->PlotRect.Contains(x - 5, y - 5) && chart->PlotRect.Contains(x + 5, y + 5));
  }
  TChartSeries* line = Series("FitSeries");
  ASSERT_EQ(line->PointCount(), 2);  // from the fit at the lowest U to the fit at the highest
  EXPECT_DOUBLE_EQ(line->XValues().ValueAt(0), 0);
  EXPECT_DOUBLE_EQ(line->YValues().ValueAt(0), 1);
  EXPECT_DOUBLE_EQ(line->XValues().ValueAt(1), 3);
  EXPECT_DOUBLE_EQ(line->YValues().ValueAt(1), 7);
  // Between two markers, within the rounding of the line's ends.
  const int x = chart->BottomAxis().ValueToPixel(2.5), y = chart->LeftAxis().ValueToPixel(6);
  EXPECT_TRUE(image.pixel(x, y - 1) == red || image.pixel(x, y) == red ||
              image.pixel(x, y + 1) == red);
  EXPECT_TRUE(FitText().startsWith(French("n~=~2·U~+~1^;")));
}

// Each row's marker is a bold navy cross, 11 pixels across with arms 3 pixels thick (but for
// the pixels under the red line); how crosses crowd and meet the plot's edges is the cross
// series' own.
TEST_F(NotebookWindowTest, MarkersAreBoldNavyCrosses) {
  const QImage& image = Paint();
  const QRgb navy = ToQColor(clNavy).rgb(), red = ToQColor(clRed).rgb();
  for (const TNotebookRow& row : model.Rows()) {
    if (!row.speed) continue;
    SCOPED_TRACE(*row.voltage);
    const int cx = chart->BottomAxis().ValueToPixel(*row.voltage);
    const int cy = chart->LeftAxis().ValueToPixel(*row.speed);
    int wrong = 0;
    for (int dy = -7; dy <= 7; ++dy) {
      for (int dx = -7; dx <= 7; ++dx) {
        if (!chart->PlotRect.Contains(cx + dx, cy + dy)) continue;
        const bool crossed =
            (std::abs(dx) <= 5 && std::abs(dy) <= 1) || (std::abs(dy) <= 5 && std::abs(dx) <= 1);
        const QRgb pixel = image.pixel(cx + dx, cy + dy);
        wrong += pixel != red && (pixel == navy) != crossed;
      }
    }
    EXPECT_EQ(wrong, 0);
  }
}

TEST_F(NotebookWindowTest, EquationWritesTheInterceptToTheReadingsScale) {
  // n reaches 3000 tr/min: the intercept keeps a tenth.
  std::vector<TNotebookRow> rows;
  for (int k = 0; k <= 10; ++k)
    rows.push_back(Row(k, 312.5 * k - 12.3));
  model.SetRows(rows);
  EXPECT_EQ(FitText(), French("n~=~312,5·U~−~12,3^; R²~=~1,000"));
}

TEST_F(NotebookWindowTest, PlotFollowsTheModelAndTheColumnsChosen) {
  model.Append(Row(4, 9, 0.5));
  EXPECT_EQ(Series("PointSeries")->PointCount(), 5);
  model.RemoveRows({0, 1});
  EXPECT_EQ(Series("PointSeries")->PointCount(), 3);
  model.SetRows({Row(1, 10), Row(1, 20)});
  EXPECT_EQ(Series("PointSeries")->PointCount(), 2);
  EXPECT_EQ(Series("FitSeries")->PointCount(), 0);
  EXPECT_TRUE(FitText().startsWith(QStringLiteral("Ajustement impossible")));

  model.SetRows({Row(1, 10, 0.2), Row(2, 20), Row(3, 30, 0.6)});
  auto* yBox = window.findChild<QComboBox*>(QStringLiteral("YColumnBox"));
  yBox->setCurrentIndex(yBox->findText(QStringLiteral("I1 (A)")));
  auto* xBox = window.findChild<QComboBox*>(QStringLiteral("XColumnBox"));
  xBox->setCurrentIndex(xBox->findText(QStringLiteral("Consigne (%)")));
  TChartSeries* points = Series("PointSeries");
  ASSERT_EQ(points->PointCount(), 2);  // the row without I1 is left out
  EXPECT_DOUBLE_EQ(points->XValues().ValueAt(1), 30);
  EXPECT_DOUBLE_EQ(points->YValues().ValueAt(1), 0.6);
  EXPECT_EQ(chart->Title.Text(), QStringLiteral("I1 (A) en fonction de Consigne (%)"));
  EXPECT_EQ(FitText(), French("I1~=~0,02·consigne"));  // two points: no R²
}

TEST_F(NotebookWindowTest, DezoomUndoesTheChartsZoom) {
  Paint();
  chart->ApplyZoom(0, 1, 0.5, 1.5, 2, 4, 0, 1);
  Paint();
  EXPECT_DOUBLE_EQ(chart->BottomAxis().RangeMax(), 1.5);
  QTest::mouseClick(Button("DezoomButton"), Qt::LeftButton);
  Paint();
  EXPECT_TRUE(chart->ScalesUntouched());
  EXPECT_LT(chart->BottomAxis().RangeMin(), 0);
  EXPECT_GT(chart->BottomAxis().RangeMax(), 3);
}

TEST_F(NotebookWindowTest, DeleteRemovesTheSelectedRows) {
  SelectRows({1, 3});
  QTest::mouseClick(Button("RemoveButton"), Qt::LeftButton);
  EXPECT_EQ(Times(), (std::vector<std::string>{"10:00:0", "10:00:20", "10:00:15"}));
  QApplication::setActiveWindow(&window);
  table->setFocus();
  SelectRows({0});
  QTest::keyClick(table, Qt::Key_Delete);
  EXPECT_EQ(Times(), (std::vector<std::string>{"10:00:20", "10:00:15"}));
}

TEST_F(NotebookWindowTest, ClearAllAsksFirst) {
  QString asked;
  bool answer = false;
  const TConfirmationHandler previous = SetConfirmationHandler([&](const QString& question) {
    asked = question;
    return answer;
  });
  QTest::mouseClick(Button("ClearButton"), Qt::LeftButton);
  EXPECT_EQ(asked, QStringLiteral("Effacer les 5 relevés du tableau\u202F? Ils seront perdus."));
  EXPECT_EQ(model.rowCount(), 5);
  answer = true;
  QTest::mouseClick(Button("ClearButton"), Qt::LeftButton);
  EXPECT_EQ(model.rowCount(), 0);
  EXPECT_EQ(Series("PointSeries")->PointCount(), 0);
  EXPECT_FALSE(Button("ClearButton")->isEnabled());
  SetConfirmationHandler(previous);
}

TEST_F(NotebookWindowTest, CtrlCCopiesTheSelectedRows) {
  QApplication::clipboard()->clear();
  QApplication::setActiveWindow(&window);
  table->setFocus();
  SelectRows({2, 0});
  QTest::keyClick(table, Qt::Key_C, Qt::ControlModifier);
  const QStringList lines = QApplication::clipboard()->text().split(u'\n');
  ASSERT_EQ(lines.size(), 4) << lines.join(u'|').toStdString();  // header, 2 rows, end
  EXPECT_TRUE(lines[0].startsWith(QStringLiteral("Heure\tEssai\t")));
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("10:00:0\t")));
  EXPECT_TRUE(lines[2].startsWith(QStringLiteral("10:00:20\t")));
  EXPECT_EQ(QApplication::clipboard()->text(), model.TabSeparated({0, 2}, QLocale::system()));
}

TEST_F(NotebookWindowTest, ExportReadsBackInFrenchAndCLocales) {
  QTemporaryDir dir;
  const QString path = dir.filePath(QStringLiteral("releves.csv"));
  for (auto [locale, separator, number] :
       {std::tuple{QLocale(QLocale::French), QStringLiteral(";"), QStringLiteral("1,5")},
        std::tuple{QLocale::c(), QStringLiteral(","), QStringLiteral("1.5")}}) {
    ASSERT_TRUE(SaveTableCsv(path, model, locale).Ok());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    ASSERT_EQ(lines.size(), 7);  // header, 5 rows, end
    EXPECT_EQ(lines[0].split(separator).size(), kNotebookColumns);
    EXPECT_EQ(lines[0].split(separator)[7], QStringLiteral("U (V)"));
    // The last row: U = 1.5, speed empty; the experiment quoted when it holds the separator.
    const QString& last = lines[5];
    EXPECT_TRUE(last.contains(separator + number + separator + separator)) << last.toStdString();
    EXPECT_EQ(last.contains(QStringLiteral("\"Hacheur 2 quadrants; série\"")),
              separator == QStringLiteral(";"));
  }
  QString error;
  const TErrorBoxHandler previous = SetErrorBoxHandler([&](const QString& m) { error = m; });
  EXPECT_TRUE(window.ExportTo(path));
  EXPECT_FALSE(window.ExportTo(dir.filePath(QStringLiteral("absent/releves.csv"))));
  EXPECT_TRUE(error.startsWith(QStringLiteral("Impossible d'écrire le fichier")))
      << error.toStdString();
  SetErrorBoxHandler(previous);
}

TEST_F(NotebookWindowTest, ChoosingAnExperimentFiltersTheTableAndThePlot) {
  EXPECT_TRUE(MixLabel()->isHidden());  // one experiment: nothing to say
  AddRows("Hacheur 1 quadrant", {1, 2, 4});
  EXPECT_EQ(Choices(),
            (QStringList{"Tous les relevés", "Hacheur 1 quadrant", "Hacheur 2 quadrants; série"}));
  EXPECT_EQ(Series("PointSeries")->PointCount(), 7);
  EXPECT_TRUE(MixLabel()->isVisibleTo(&window));
  EXPECT_TRUE(MixLabel()->text().contains(QStringLiteral("des expériences différentes")));

  Choose("Hacheur 1 quadrant");
  EXPECT_EQ(ShownTimes(), (std::vector<std::string>{"1q:1", "1q:2", "1q:4"}));
  EXPECT_EQ(Series("PointSeries")->PointCount(), 3);
  EXPECT_EQ(FitText(), French("n~=~5·U^; R²~=~1,000"));  // the other rows lie on 2·U + 1
  EXPECT_TRUE(MixLabel()->isHidden());

  Choose("Tous les relevés");
  EXPECT_EQ(Times().size(), 8u);
  EXPECT_EQ(ShownTimes(), Times());  // stored rows neither lost nor moved
}

TEST_F(NotebookWindowTest, TheChoiceFollowsRowsAddedAndRemovedElsewhere) {
  AddRows("Hacheur 1 quadrant", {1, 2, 4});
  Choose("Hacheur 1 quadrant");
  AddRows("Hacheur 4 quadrants", {3});  // neither shown nor plotted, but offered
  EXPECT_EQ(Choices().size(), 4);
  EXPECT_EQ(ShownTimes(), (std::vector<std::string>{"1q:1", "1q:2", "1q:4"}));

  // Another copy of the program removes a row of another experiment and records one of this.
  TNotebookRow more = model.Rows().back();
  more.experiment = "Hacheur 1 quadrant";
  more.time = "1q:8";
  more.id.clear();
  model.Merge({more}, {model.Rows().front().id});
  QCoreApplication::processEvents();
  EXPECT_EQ(Box()->currentText(), QStringLiteral("Hacheur 1 quadrant"));
  EXPECT_EQ(ShownTimes(), (std::vector<std::string>{"1q:1", "1q:2", "1q:4", "1q:8"}));
  EXPECT_EQ(Series("PointSeries")->PointCount(), 4);

  // Then it removes every row of the experiment: every row again.
  std::unordered_set<std::string> removed;
  for (const TNotebookRow& row : model.Rows())
    if (row.experiment == "Hacheur 1 quadrant") removed.insert(row.id);
  model.Merge({}, removed);
  QCoreApplication::processEvents();
  EXPECT_EQ(Box()->currentText(), QStringLiteral("Tous les relevés"));
  EXPECT_EQ(Choices().size(), 3);
  EXPECT_EQ(ShownTimes(), Times());
}

TEST_F(NotebookWindowTest, TableButtonsActOnTheRowsShown) {
  AddRows("Hacheur 1 quadrant", {1, 2, 4});
  std::vector<std::string> kept = Times();
  Choose("Hacheur 1 quadrant");
  QApplication::clipboard()->clear();
  SelectRows({1});  // "1q:2", the model's 7th row
  QTest::mouseClick(Button("CopyButton"), Qt::LeftButton);
  EXPECT_TRUE(QApplication::clipboard()->text().contains(QStringLiteral("\n1q:2\t")));
  EXPECT_FALSE(QApplication::clipboard()->text().contains(QStringLiteral("1q:1")));
  QTest::mouseClick(Button("RemoveButton"), Qt::LeftButton);
  kept.erase(kept.end() - 2);
  EXPECT_EQ(Times(), kept);

  QTemporaryDir dir;
  ASSERT_TRUE(window.ExportTo(dir.filePath(QStringLiteral("releves.csv"))));
  QFile file(dir.filePath(QStringLiteral("releves.csv")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList exported = QString::fromUtf8(file.readAll()).split(u'\n');
  ASSERT_EQ(exported.size(), 4);  // header, 2 rows, end
  EXPECT_TRUE(exported[1].startsWith(QStringLiteral("1q:1")) && exported[2].startsWith("1q:4"));

  QString asked;
  const TConfirmationHandler previous = SetConfirmationHandler([&](const QString& question) {
    asked = question;
    return true;
  });
  QTest::mouseClick(Button("ClearButton"), Qt::LeftButton);
  SetConfirmationHandler(previous);
  EXPECT_EQ(asked, French("Effacer les 2 relevés «^Hacheur 1 quadrant^» du tableau^? Ils seront "
                          "perdus. Les relevés des autres expériences sont gardés."));
  kept.resize(kept.size() - 2);
  EXPECT_EQ(Times(), kept);
  EXPECT_EQ(ShownTimes(), kept);
}

TEST(NotebookWindowLarge, HundredThousandRowsAreDrawnNotBuiltAsWidgets) {
  std::vector<TNotebookRow> rows(100'000);
  for (std::size_t k = 0; k < rows.size(); ++k)
    rows[k] = Row(static_cast<double>(k % 1000) / 100, static_cast<double>(k % 997));
  TNotebookModel model;
  model.SetRows(std::move(rows));
  TNotebookWindow window(&model);
  window.show();
  auto* table = window.findChild<QTableView*>(QStringLiteral("RowsTable"));
  EXPECT_EQ(table->model()->rowCount(), 100'000);
  EXPECT_LT(window.findChildren<QWidget*>().size(), 60);
  auto* chart = window.findChild<TChart*>(QStringLiteral("NotebookChart"));
  const auto& series = chart->SeriesList();
  const auto points = std::find_if(series.begin(), series.end(), [](const TChartSeries* s) {
    return s->objectName() == QLatin1String("PointSeries");
  });
  ASSERT_NE(points, series.end());
  EXPECT_EQ((*points)->PointCount(), 100'000);
}

}  // namespace
