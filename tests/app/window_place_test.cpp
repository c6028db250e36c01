// SPDX-License-Identifier: GPL-3.0-or-later
// Where "Mesures" and "Relevés" open: clear of the plot, the readings and the speed setting
// where the screen has room, hiding the least where it has not, never one over the other.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QTableView>
#include <QTest>
#include <QWindow>
#include <set>

#include "app/lab/measures_window.h"
#include "app/lab_window_place.h"
#include "app/notebook/notebook_model.h"
#include "app/notebook/notebook_window.h"
#include "form_fixture.h"

namespace {

struct PlaceCase {
  const char* name;
  TLabWindowRequest request;
  QRect expected;
};

// Worked out by hand on a 1000 × 800 screen.
const PlaceCase kPlaceCases[] = {
    {"an empty screen: the top left corner at the size wanted",
     {QRect(0, 0, 1000, 800), {}, {}, QSize(300, 200), QSize(100, 100)},
     QRect(0, 0, 300, 200)},
    {"beside what it must keep clear",
     {QRect(0, 0, 1000, 800), {QRect(0, 0, 500, 800)}, {}, QSize(300, 200), QSize(100, 100)},
     QRect(500, 0, 300, 200)},
    {"narrowed to the room left, no less than its minimum",
     {QRect(0, 0, 1000, 800), {QRect(0, 0, 800, 800)}, {}, QSize(300, 200), QSize(150, 100)},
     QRect(800, 0, 200, 200)},
    {"below another lab window rather than over it",
     {QRect(0, 0, 1000, 800),
      {QRect(0, 0, 500, 800)},
      {QRect(500, 0, 500, 300)},
      QSize(300, 200),
      QSize(100, 100)},
     QRect(500, 300, 300, 200)},
    {"no room: over the plot's corner, not over a whole reading",
     {QRect(0, 0, 1000, 800),
      {QRect(0, 0, 700, 800), QRect(700, 0, 300, 400), QRect(700, 400, 300, 400)},
      {},
      QSize(400, 400),
      QSize(250, 300)},
     QRect(0, 0, 250, 300)},
    {"no room: clear of the other lab window, the plot's least",
     {QRect(0, 0, 1000, 800),
      {QRect(0, 0, 700, 800), QRect(700, 0, 300, 400), QRect(700, 400, 300, 400)},
      {QRect(0, 0, 400, 400)},
      QSize(400, 400),
      QSize(250, 300)},
     QRect(400, 0, 250, 300)},
    {"never larger than the screen",
     {QRect(0, 0, 1000, 800), {}, {}, QSize(1200, 900), QSize(1100, 300)},
     QRect(0, 0, 1000, 800)},
    {"on a screen that does not start at 0",
     {QRect(1000, 24, 1000, 776), {QRect(1000, 24, 400, 776)}, {}, QSize(300, 200), QSize(10, 10)},
     QRect(1400, 24, 300, 200)},
};

TEST(PlaceLabWindowTest, CasesWorkedOutByHand) {
  for (const PlaceCase& c : kPlaceCases)
    EXPECT_EQ(PlaceLabWindow(c.request), c.expected) << c.name;
}

std::int64_t Covered(const QRect& window, const QRect& r) {
  const QRect both = window & r;
  return both.isEmpty() ? 0 : std::int64_t{both.width()} * both.height();
}

QRect OnScreen(const QWidget* widget) {
  return {widget->mapToGlobal(QPoint(0, 0)), widget->size()};
}

// ---------------------------------------------------------------------------------------------
// On the main window as laid out at a classroom's screen sizes

class WindowPlaceTest : public FormTest {
 protected:
  // The main window filling `area` as a maximised one does, in the two-quadrant experiment.
  void LayOut(const QRect& area) {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    form->setGeometry(area);
    form->show();
    QCoreApplication::processEvents();
  }
  // What the student reads, found here rather than asked of the code under test.
  std::vector<QRect> Readable() {
    std::vector<QRect> rects;
    for (const char* name : {"Chart1", "LabeledEdit1", "LabeledEdit2", "LabeledEdit3",
                             "LabeledEdit4", "ScrollBar1", "Edit1"})
      rects.push_back(OnScreen(Find<QWidget>(name)));
    return rects;
  }
};

TEST_F(WindowPlaceTest, ClearOfTheBenchWhereTheScreenHasRoomLeastWhereNot) {
  struct Screen {
    QSize size;
    bool room;  // whether both windows fit clear of the bench
  };
  for (const Screen screen :
       {Screen{{1024, 768}, false}, Screen{{1366, 768}, true}, Screen{{1920, 1080}, true}}) {
    SCOPED_TRACE(testing::Message() << screen.size.width() << "x" << screen.size.height());
    const QRect area(QPoint(0, 0), screen.size);
    LayOut(area);
    TMeasuresWindow measures(form.get());
    TNotebookWindow notebook(form->Notebook(), form.get());
    TLabWindowRequest request;
    request.area = area;
    request.keepClear = BenchRectangles(form.get());
    request.preferred = measures.sizeHint();
    request.minimum = measures.minimumSizeHint();
    const QRect measuresPlace = PlaceLabWindow(request);
    request.others = {measuresPlace};
    request.preferred = QSize(1120, 580);
    request.minimum = notebook.minimumSizeHint();
    const QRect notebookPlace = PlaceLabWindow(request);

    EXPECT_TRUE(area.contains(measuresPlace) && area.contains(notebookPlace));
    EXPECT_FALSE(measuresPlace.intersects(notebookPlace));
    // Without room the readings and the speed setting still show; only the plot gives way,
    // and never more than half of it.
    const std::vector<QRect> bench = Readable();
    for (std::size_t i = screen.room ? 0 : 1; i < bench.size(); ++i)
      EXPECT_EQ(Covered(measuresPlace, bench[i]) + Covered(notebookPlace, bench[i]), 0) << i;
    const std::int64_t plot = std::int64_t{bench[0].width()} * bench[0].height();
    EXPECT_LE(2 * (Covered(measuresPlace, bench[0]) + Covered(notebookPlace, bench[0])), plot);
    EXPECT_GE(notebookPlace.height(), notebook.minimumSizeHint().height());
    EXPECT_GE(measuresPlace.width(), measures.minimumSizeHint().width());
  }
}

// Each is put away on its own: no minimise button, whose use would take the main window along
// on some desktops; Escape closes it and leaves the main window as it was.
TEST_F(WindowPlaceTest, EachIsPutAwayOnItsOwn) {
  const QRect area = form->screen()->availableGeometry();
  LayOut(area);
  form->Mesures1Click();
  form->Relevs1Click();
  // Opened on the screen there is: inside it, the two apart.
  const QRect measuresFrame = Find<QWidget>("MeasuresWindow")->frameGeometry();
  const QRect notebookFrame = Find<QWidget>("NotebookWindow")->frameGeometry();
  EXPECT_TRUE(area.contains(measuresFrame) && area.contains(notebookFrame));
  EXPECT_FALSE(measuresFrame.intersects(notebookFrame));
  for (const char* name : {"MeasuresWindow", "NotebookWindow"}) {
    auto* window = Find<QWidget>(name);
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMinimizeButtonHint) << name;
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible()) << name;
    EXPECT_TRUE(form->isVisible() && !form->isMinimized()) << name;
  }
  // Minimised by the student, where the window manager offers it anyway: put away, and the
  // main window, had the window manager taken it along, back.
  form->Mesures1Click();
  auto* measures = Find<QWidget>("MeasuresWindow");
  // The student's click in it, as the window system says it.
  measures->windowHandle()->requestActivate();
  QCoreApplication::processEvents();
  ASSERT_EQ(QGuiApplication::focusWindow(), measures->windowHandle());
  measures->setWindowState(Qt::WindowMinimized);
  form->setWindowState(Qt::WindowMinimized);
  QCoreApplication::processEvents();
  EXPECT_FALSE(measures->isVisible());
  EXPECT_FALSE(form->isMinimized());
  // The main window minimised by the student takes the lab window along and leaves it there.
  form->Mesures1Click();
  form->windowHandle()->requestActivate();
  QCoreApplication::processEvents();
  ASSERT_EQ(QGuiApplication::focusWindow(), form->windowHandle());
  form->setWindowState(Qt::WindowMinimized);
  measures->setWindowState(Qt::WindowMinimized);
  QCoreApplication::processEvents();
  EXPECT_TRUE(measures->isVisible() && measures->isMinimized());
  EXPECT_TRUE(form->isMinimized());
}

// Where the user leaves it is where it opens again, on a screen of the same size only.
TEST_F(WindowPlaceTest, PlaceRememberedPerScreenSize) {
  LayOut(form->screen()->availableGeometry());
  const QSize screen = form->screen()->availableGeometry().size();
  // Remembered for another screen: not used on this one.
  QSettings().setValue(
      TLabWindowPlacer::Key(QStringLiteral("MeasuresWindow"), screen + QSize(100, 0)),
      QRect(31, 37, 300, 250));
  form->Mesures1Click();
  auto* window = Find<QWidget>("MeasuresWindow");
  EXPECT_NE(window->pos(), QPoint(31, 37));
  const QSize opened = window->size();

  window->move(23, 29);  // as the user drags it
  window->resize(opened + QSize(10, 20));
  window->hide();
  form->Mesures1Click();
  EXPECT_EQ(window->pos(), QPoint(23, 29));
  EXPECT_EQ(window->size(), opened + QSize(10, 20));
  EXPECT_EQ(QSettings().value(TLabWindowPlacer::Key(QStringLiteral("MeasuresWindow"), screen)),
            QVariant(window->frameGeometry()));
}

// From 800 pixels up the read-out keeps every character and the lab buttons theirs, or give
// way to short captions, icons, then their menu entries; wide, the tool bar is as laid out.
TEST_F(WindowPlaceTest, ToolBarKeepsTheReadOutWhole) {
  // In the program's own font.
  const QFont font = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  form = std::make_unique<TForm1>();
  auto* readOut = Find<QLabel>("Label2");
  auto* value = Find<QLabel>("Label1");
  auto* measures = Find<QPushButton>("Button4");
  auto* record = Find<QPushButton>("Button5");
  auto* zero = Find<QPushButton>("Button1");
  auto* help = Find<QPushButton>("Button3");
  value->setText(QStringLiteral("-24.00/25.00"));
  std::set<std::string> captions;
  for (int width = 800; width <= 1280; width += 8) {
    SCOPED_TRACE(width);
    LayOut(QRect(0, 0, width, 700));
    for (const QLabel* label : {readOut, value})
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_LE(value->mapTo(form.get(), QPoint(value->width(), 0)).x(),
              zero->mapTo(form.get(), QPoint(0, 0)).x());
    int left = help->mapTo(form.get(), QPoint(help->width(), 0)).x();
    for (const QPushButton* button : {measures, record}) {
      if (!button->isVisible()) continue;
      QString text = button->text();
      text.remove(QLatin1Char('&'));
      const std::string caption = text.toStdString();
      EXPECT_GE(button->width(), button->fontMetrics().horizontalAdvance(text)) << caption;
      EXPECT_GE(button->mapTo(form.get(), QPoint(0, 0)).x(), left);  // none over another
      left = button->mapTo(form.get(), QPoint(button->width(), 0)).x();
      if (caption.empty()) {
        EXPECT_FALSE(button->icon().isNull());
      }
      const bool full = caption == "Mesures" || caption == "Relever le point";
      EXPECT_EQ(button->toolTip().isEmpty(), full) << caption;
      captions.insert(caption);
    }
    if (!measures->isVisible()) captions.insert("<hidden>");
  }
  EXPECT_EQ(measures->text(), "&Mesures");
  EXPECT_EQ(record->text(), "&Relever le point");
  EXPECT_EQ(measures->width(), 56);
  EXPECT_EQ(record->width(), 96);
  EXPECT_TRUE(measures->toolTip().isEmpty() && record->toolTip().isEmpty());
  // Every form was met on the way.
  for (const char* caption : {"Mesures", "Mes.", "Relever", "", "<hidden>"})
    EXPECT_EQ(captions.count(caption), 1u) << caption;
  form.reset();
  QApplication::setFont(font);
}

TEST_F(WindowPlaceTest, ReadingsColumnsComeFirst) {
  form->Relevs1Click();
  const QHeaderView* header = Find<QTableView>("RowsTable")->horizontalHeader();
  QStringList shown;
  for (int visual = 0; visual < 6; ++visual)
    shown << header->model()->headerData(header->logicalIndex(visual), Qt::Horizontal).toString();
  EXPECT_EQ(shown,
            QStringList({"Consigne (%)", "U (V)", "n (tr/min)", "I1 (A)", "I2 (A)", "Heure"}));
}

}  // namespace
