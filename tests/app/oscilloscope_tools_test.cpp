// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope's read-out, measuring cross and tool bar; pages, dialogs and closing.
#include <QApplication>
#include <QCloseEvent>
#include <QCursor>
#include <QDialog>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QWheelEvent>

#include "app/dialogs/confirmation_box.h"
#include "form_fixture.h"
#include "platform/shell_open.h"

namespace {

class ToolsTest : public FormTest {
 protected:
  ToolsTest() {
    previousOpener = SetDocumentOpener(
        [this](const QString& path, const TOpenFailure&) { opened.push_back(path); });
    chart = Find<TChart>("Chart1");
    chart->resize(600, 400);
    chart->show();
    chart->PaintChart(nullptr, chart->ClientRect());
  }
  ~ToolsTest() override { SetDocumentOpener(previousOpener); }

  // The pointer over the chart at (x, y), and the move event that goes with it.
  void PointAt(int x, int y) {
    QCursor::setPos(chart->mapToGlobal(QPoint(x, y)));
    chart->MouseMove({}, x, y);
  }
  QPoint PixelOf(double time, double volts) {
    return {chart->BottomAxis().ValueToPixel(time), chart->LeftAxis().ValueToPixel(volts)};
  }
  QString ReadOut() { return Find<QLabel>("Label1")->text(); }
  QString Expected(double volts, double time) {
    return Reading(QString::asprintf("%.2f /%.2f", volts, time).toLatin1().constData());
  }

  TChart* chart = nullptr;
  std::vector<QString> opened;
  TDocumentOpener previousOpener;
};

TEST_F(ToolsTest, ReadOutFollowsThePointerInsideThePlotOnly) {
  EXPECT_EQ(ReadOut(), "0/0");
  const TRect plot = chart->PlotRect;
  PointAt(plot.Right, plot.Top + 10);  // the right edge is outside
  EXPECT_EQ(ReadOut(), "0/0");
  PointAt(plot.Left - 5, plot.Top + 10);  // over the labels
  EXPECT_EQ(ReadOut(), "0/0");
  const QPoint p = PixelOf(10, 5);
  PointAt(p.x(), p.y());
  EXPECT_EQ(ReadOut(), Expected(chart->LeftAxis().PixelToValue(p.y()),
                                chart->BottomAxis().PixelToValue(p.x())));
  const QString shown = ReadOut();
  PointAt(plot.Left - 5, plot.Bottom + 5);  // leaving keeps the last text
  EXPECT_EQ(ReadOut(), shown);
  PointAt(plot.Left, plot.Top);  // the left and top edges are inside
  EXPECT_EQ(ReadOut(), Expected(25, 0));
}

TEST_F(ToolsTest, CrossMakesTheReadOutRelativeAndZeroAbsoluteRemovesIt) {
  const QPoint p = PixelOf(10, 5);
  QCursor::setPos(chart->mapToGlobal(p));
  form->Chart1DblClick();
  const double t0 = chart->BottomAxis().PixelToValue(p.x());
  const double u0 = chart->LeftAxis().PixelToValue(p.y());
  EXPECT_EQ(Bench().ReferenceTime(), t0);
  EXPECT_EQ(Bench().ReferenceVoltage(), u0);
  TFastLineSeries* vertical = Find<TFastLineSeries>("Series2");
  TFastLineSeries* horizontal = Find<TFastLineSeries>("Series3");
  ASSERT_EQ(vertical->PointCount(), 2);
  EXPECT_EQ(vertical->XValues().ValueAt(0), t0);
  EXPECT_EQ(vertical->YValues().ValueAt(0), -25);
  EXPECT_EQ(vertical->YValues().ValueAt(1), 25);
  ASSERT_EQ(horizontal->PointCount(), 2);
  EXPECT_EQ(horizontal->XValues().ValueAt(1), 25);
  EXPECT_EQ(horizontal->YValues().ValueAt(0), u0);

  PointAt(p.x(), p.y());
  EXPECT_EQ(ReadOut(), Expected(0, 0));  // at the cross itself
  const QPoint q = PixelOf(15, -5);
  PointAt(q.x(), q.y());
  EXPECT_EQ(ReadOut(), Expected(chart->LeftAxis().PixelToValue(q.y()) - u0,
                                chart->BottomAxis().PixelToValue(q.x()) - t0));

  // The cross survives a change of experiment.
  Menu("Hacheur1quadrant1");
  EXPECT_EQ(vertical->PointCount(), 2);
  EXPECT_EQ(Bench().ReferenceTime(), t0);

  Find<QPushButton>("Button1")->click();
  EXPECT_EQ(vertical->PointCount(), 0);
  EXPECT_EQ(horizontal->PointCount(), 0);
  EXPECT_EQ(Bench().ReferenceTime(), 0);
  EXPECT_EQ(ReadOut(), Expected(0, 0));
}

TEST_F(ToolsTest, CrossAfterAZoomSpansTheZoomedRanges) {
  chart->BottomAxis().SetAxisRange(5, 10);
  chart->LeftAxis().SetAxisRange(-2, 4);
  chart->PaintChart(nullptr, chart->ClientRect());
  QCursor::setPos(chart->mapToGlobal(PixelOf(7, 1)));
  form->Chart1DblClick();
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->YValues().ValueAt(0), -2);
  EXPECT_EQ(Find<TFastLineSeries>("Series3")->XValues().ValueAt(1), 10);
}

TEST_F(ToolsTest, DezoomPutsTheScalesBack) {
  chart->ApplyZoom(0, 1, 5, 10, -2, 4, 0, 1);
  Find<QPushButton>("Button2")->click();
  EXPECT_EQ(chart->BottomAxis().Minimum(), 0);
  EXPECT_EQ(chart->BottomAxis().Maximum(), 25);
  EXPECT_EQ(chart->LeftAxis().Minimum(), -25);
}

// The wheel alone scrolls the screen; "dezoom" brings back what was shown before it.
TEST_F(ToolsTest, DezoomAfterTheWheelAlone) {
  const auto wheel = [this](int units) {
    const QPointF at(100, 100);
    QWheelEvent event(at, chart->mapToGlobal(at), {}, QPoint(0, units), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(chart, &event);
  };
  wheel(-240);
  wheel(-120);
  EXPECT_NE(chart->LeftAxis().Minimum(), -25);
  Find<QPushButton>("Button2")->click();
  EXPECT_EQ(chart->LeftAxis().Minimum(), -25);
  EXPECT_EQ(chart->LeftAxis().Maximum(), 25);
  // After a zoom, the wheel keeps the scales saved by the zoom.
  chart->ApplyZoom(0, 1, 5, 10, -2, 4, 0, 1);
  wheel(120);
  Find<QPushButton>("Button2")->click();
  EXPECT_EQ(chart->LeftAxis().Minimum(), -25);
  EXPECT_EQ(chart->BottomAxis().Maximum(), 25);
}

TEST_F(ToolsTest, PagesOpenFromTheWorkingDirectory) {
  Find<QPushButton>("Button3")->click();
  Menu("cours1bases1");
  Menu("Cours2approfondissement1");
  Menu("ravailfaire1");
  Menu("Sommaire1");
  const QString base = QDir::currentPath() + QStringLiteral("/aide/");
  const std::vector<QString> expected = {base + "aideoscillo.htm", base + "cours1.htm",
                                         base + "cours2.htm", base + "travail.htm",
                                         base + "index.htm"};
  EXPECT_EQ(opened, expected);
  // At the root the working directory's own separator and the page's do not make a host.
  EXPECT_EQ(NativeDocumentPath(QStringLiteral("/") + QStringLiteral("\\aide\\index.htm")),
            QStringLiteral("/aide/index.htm"));
}

TEST_F(ToolsTest, DialogsOpenModallyAndChangeNothing) {
  QDialog* remarks = Find<QDialog>("OKBottomDlg");
  QDialog* about = Find<QDialog>("AboutBox");
  EXPECT_TRUE(remarks->isHidden());
  EXPECT_EQ(remarks->windowTitle(), "remarques sur les rubriques d'aide.");
  EXPECT_EQ(about->windowTitle(), "A propos");
  EXPECT_TRUE(about->findChild<QLabel*>("ProductName")->text().startsWith("Logiciel gratuit par "));
  EXPECT_TRUE(remarks->findChild<QPushButton*>("OKBtn")->isDefault());
  bool wasModal = false;
  QTimer::singleShot(0, [&] {
    wasModal = remarks->isModal() && remarks->isVisible();
    remarks->findChild<QPushButton*>("CancelBtn")->click();
  });
  Menu("Aidesurlaide1");
  EXPECT_TRUE(wasModal);
  EXPECT_TRUE(remarks->isHidden());
  QTimer::singleShot(0, [&] { about->findChild<QPushButton*>("OKButton")->click(); });
  Menu("Apropos1");
  EXPECT_TRUE(about->isHidden());
  EXPECT_TRUE(opened.empty());
}

TEST_F(ToolsTest, ClosingAsksAndAnnulerKeepsEverything) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  std::vector<QString> questions;
  bool answer = false;
  const TConfirmationHandler previous = SetConfirmationHandler([&](const QString& question) {
    questions.push_back(question);
    return answer;
  });
  QCloseEvent refused;
  QApplication::sendEvent(form.get(), &refused);
  EXPECT_FALSE(refused.isAccepted());
  EXPECT_EQ(questions, std::vector<QString>{"Fermer le programme?"});
  EXPECT_EQ(Bench().ExperimentKind(), TExperiment::kTwoQuadrants);
  EXPECT_FALSE(Hidden("Panel9"));
  answer = true;
  QCloseEvent accepted;
  QApplication::sendEvent(form.get(), &accepted);
  EXPECT_TRUE(accepted.isAccepted());
  SetConfirmationHandler(previous);
}

}  // namespace
