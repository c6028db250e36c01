// SPDX-License-Identifier: GPL-3.0-or-later
// Channel 2: the current beside the voltage, its menu and button, its trace on the right axis,
// the read-out, the legend, and the screen as before while off.
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "app/scope/current_channel.h"
#include "app/scope/scope_keys.h"
#include "keyboard_fixture.h"
#include "sim/current_wave.h"

namespace {

constexpr TColor kIndigo = 0x82004B;

class CurrentChannelTest : public FormTest {
 protected:
  CurrentChannelTest() {
    form->resize(1100, 720);
    form->show();
    Paint();
  }
  void Paint() {
    QCoreApplication::processEvents();
    chart->PaintChart(nullptr, chart->ClientRect());
  }
  QImage Screen() {
    Paint();
    return chart->Canvas().BufferImage->copy();
  }
  QString Checked() {
    for (const char* name : {"Aucune1", "icourantdumoteur1", "i2courantctsource1"})
      if (Find<QAction>(name)->isChecked()) return QString::fromLatin1(name);
    return {};
  }
  void Bar(const char* name, int position) { Find<QScrollBar>(name)->setSliderPosition(position); }
  static std::vector<double> Values(const TChartValueList& list) {
    std::vector<double> values;
    values.reserve(static_cast<std::size_t>(list.ValueCount()));
    for (int i = 0; i < list.ValueCount(); ++i)
      values.push_back(list.ValueAt(i));
    return values;
  }
  void Drag(Qt::MouseButton button, const TRect& p, int x0, int y0, int x1, int y1) {
    chart->MouseDown(button, {}, p.Left + x0, p.Top + y0);
    chart->MouseMove({}, p.Left + x1, p.Top + y1);
    chart->MouseUp(button, {}, p.Left + x1, p.Top + y1);
  }
  void ExpectATenth(const char* when) {
    SCOPED_TRACE(when);
    TChartAxis& left = chart->LeftAxis();
    TChartAxis& right = chart->RightAxis();
    EXPECT_NE(left.Minimum(), -25);  // something moved
    EXPECT_NEAR(right.Minimum() * 10, left.Minimum(), 1e-12 * std::fabs(left.Minimum()));
    EXPECT_NEAR(right.Maximum() * 10, left.Maximum(), 1e-12 * std::fabs(left.Maximum()));
    Paint();  // the right axis's labels fall on the left axis's grid lines
    EXPECT_NEAR(right.LabelStep() * 10, left.LabelStep(), 1e-12 * left.LabelStep());
  }
  void ExpectRightAtRest() {
    EXPECT_EQ(chart->RightAxis().Minimum(), -2.5);
    EXPECT_EQ(chart->RightAxis().Maximum(), 2.5);
  }

  TChart* chart = Find<TChart>("Chart1");
  TFastLineSeries* voltage = Find<TFastLineSeries>("Series1");
  TFastLineSeries* current = Find<TFastLineSeries>("Series7");
  QPushButton* button = Find<QPushButton>("Button6");
};

TEST_F(CurrentChannelTest, StartsOffEveryTimeAndFallsBackFromI2OutsideFourQuadrants) {
  EXPECT_EQ(Checked(), "Aucune1");
  EXPECT_FALSE(Find<QAction>("i2courantctsource1")->isEnabled());
  EXPECT_TRUE(form->CurrentName().isEmpty());
  EXPECT_EQ(current->PointCount(), 0);
  EXPECT_FALSE(current->Active());
  EXPECT_FALSE(chart->RightAxis().IsVisible());
  EXPECT_EQ(Find<QMenu>("Voie2courant1")->title(), "&Voie 2\u00A0: courant");
  EXPECT_EQ(button->toolTip(), "Voie 2\u00A0: courant (sonde de courant)");

  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  EXPECT_EQ(Find<QAction>("icourantdumoteur1")->text(), "&i1\u00A0: courant de la machine n°1");
  Menu("i2courantctsource1");
  EXPECT_EQ(form->CurrentName(), "i2");
  EXPECT_TRUE(button->isChecked());
  EXPECT_EQ(chart->RightAxis().Title.Caption(), "i2 (A)");
  Menu("Hacheur1quadrant1");  // i2 exists in four quadrants only
  EXPECT_EQ(Checked(), "icourantdumoteur1");
  EXPECT_EQ(form->CurrentName(), "i");
  EXPECT_EQ(Find<QAction>("icourantdumoteur1")->text(), "&i\u00A0: courant du moteur");
  EXPECT_FALSE(Find<QAction>("i2courantctsource1")->isEnabled());
  EXPECT_EQ(chart->RightAxis().Title.Caption(), "i (A)");

  // The button: off, then back on with the last current chosen, fallen back if need be.
  button->click();
  EXPECT_EQ(Checked(), "Aucune1");
  EXPECT_FALSE(button->isChecked());
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  Menu("i2courantctsource1");
  Menu("Aucune1");
  button->click();
  EXPECT_EQ(form->CurrentName(), "i2");
  Menu("Aucune1");
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  button->click();
  EXPECT_EQ(form->CurrentName(), "i");

  form = std::make_unique<TForm1>();  // not remembered from one run to the next
  EXPECT_EQ(Checked(), "Aucune1");
  EXPECT_FALSE(Find<QPushButton>("Button6")->isChecked());
}

// After each change of the bench the trace is the model's, on the voltage trace's X values.
TEST_F(CurrentChannelTest, TraceFollowsEveryChangeOfTheBench) {
  Menu("icourantdumoteur1");
  const QString steps = QStringLiteral(
      "Hacheur1quadrant1 RadioButton8 ScrollBar1=100 ScrollBar1=0 RadioButton2 ScrollBar1=100 "
      "Hacheur2quadrantsvisualisationdestensions1 RadioButton8 RadioButton6 RadioButton3 "
      "RadioButton5 RadioButton4 ScrollBar1=100 Hacheur4quadrantsvisualisationdesintensits1 "
      "RadioButton12 RadioButton10 ScrollBar2=100 i2courantctsource1 ScrollBar2=0 RadioButton13 "
      "RadioButton9 ScrollBar3=200");
  for (const QString& step : steps.split(u' ')) {
    SCOPED_TRACE(step.toStdString());
    const QStringList parts = step.split(u'=');
    const QByteArray control = parts[0].toLatin1();
    if (parts.size() == 2) {
      Bar(control.constData(), parts[1].toInt());
    } else if (control.startsWith("RadioButton")) {
      Select(control.constData());
    } else {
      Menu(control.constData());
    }
    const TCurrentWave model = ComputeCurrentWave(Bench());
    ASSERT_EQ(current->PointCount(), 500);
    EXPECT_EQ(Values(current->XValues()), Values(voltage->XValues()));
    EXPECT_EQ(Values(current->YValues()), form->CurrentName() == "i2" ? model.i2 : model.i);
  }
  Menu("Aucune1");
  Bar("ScrollBar3", 100);
  EXPECT_EQ(current->PointCount(), 0);
  EXPECT_FALSE(current->Active());
}

// Off is the one-channel screen pixel for pixel; on, the right axis takes its room.
TEST_F(CurrentChannelTest, OffLeavesTheScreenAsItWas) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  for (const char* choice : {"RadioButton8", "RadioButton3", "RadioButton6"})
    Select(choice);
  Bar("ScrollBar1", 150);
  const QImage before = Screen();
  const TRect plot = chart->PlotRect;
  button->click();
  EXPECT_NE(Screen(), before);
  EXPECT_TRUE(chart->RightAxis().IsVisible());
  EXPECT_LT(chart->PlotRect.Right, plot.Right - 20);  // labels and title
  EXPECT_EQ(chart->PlotRect.Left, plot.Left);
  button->click();
  EXPECT_EQ(Screen(), before);
  EXPECT_EQ(chart->PlotRect, plot);
  Menu("icourantdumoteur1");
  Menu("Aucune1");
  EXPECT_EQ(Screen(), before);
}

TEST_F(CurrentChannelTest, RightAxisStaysATenthOfTheLeftAtEveryZoom) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Menu("icourantdumoteur1");
  Paint();
  ExpectRightAtRest();
  EXPECT_FALSE(chart->RightAxis().Automatic());
  EXPECT_FALSE(chart->RightAxis().Grid.Visible());
  EXPECT_EQ(chart->RightAxis().Title.Angle(), 270);
  EXPECT_EQ(chart->RightAxis().Title.Font().Color, kIndigo);
  const TRect p = chart->PlotRect;
  Drag(Qt::LeftButton, p, 40, 30, 200, 170);
  ExpectATenth("mouse zoom");
  Drag(Qt::RightButton, p, 100, 100, 130, 163);
  ExpectATenth("pan");
  chart->MouseWheel(-3);
  ExpectATenth("wheel");
  form->Chart1KeyDown(TScopeKey::kZoomIn);
  ExpectATenth("keyboard zoom");
  chart->MouseWheel(7);
  form->Chart1KeyDown(TScopeKey::kZoomOut);
  ExpectATenth("keyboard zoom out");
  Find<QPushButton>("Button2")->click();  // dezoom
  ExpectRightAtRest();

  // Zoomed while off, whatever the hidden axis held: on, it takes a tenth of now.
  Menu("Aucune1");
  Drag(Qt::LeftButton, p, 60, 20, 300, 90);
  chart->RightAxis().SetAxisRange(0, 1);
  button->click();
  ExpectATenth("turned on while zoomed");
  form->Chart1KeyDown(TScopeKey::kDezoom);
  ExpectRightAtRest();
}

// The read-out gains the right axis's value at the pointer, relative to the cross like the
// voltage, from the mouse and from the keys alike.
TEST_F(CurrentChannelTest, ReadOutAddsTheCurrentAtThePointer) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  Select("RadioButton12");
  Select("RadioButton10");
  Bar("ScrollBar2", 100);
  const auto readOut = [&] { return Find<QLabel>("Label1")->text(); };
  const auto pointAt = [&](QPoint p) {
    QCursor::setPos(chart->mapToGlobal(p));
    chart->MouseMove({}, p.x(), p.y());
  };
  const auto expected = [&](double volts, double time, const char* name, double amperes) {
    return Reading(QString::asprintf("%.2f /%.2f", volts, time).toLatin1().constData()) +
           QStringLiteral(" / %1\u00A0: ").arg(QLatin1String(name)) +
           Reading(QString::asprintf("%.2f", amperes).toLatin1().constData()) +
           QStringLiteral("\u00A0A");
  };
  const QPoint a(chart->PlotRect.Left + 150, chart->PlotRect.Top + 90);
  pointAt(a);
  EXPECT_FALSE(readOut().contains("A"));
  Menu("i2courantctsource1");
  Paint();  // the right axis narrows the plot
  pointAt(a);
  const TChartAxis& left = chart->LeftAxis();
  const TChartAxis& bottom = chart->BottomAxis();
  const TChartAxis& right = chart->RightAxis();
  EXPECT_EQ(readOut(), expected(left.PixelToValue(a.y()), bottom.PixelToValue(a.x()), "i2",
                                right.PixelToValue(a.y())));
  form->Chart1DblClick();  // the cross at a
  const QPoint b(a.x() + 70, a.y() + 123);
  pointAt(b);
  EXPECT_EQ(readOut(), expected(left.PixelToValue(b.y()) - left.PixelToValue(a.y()),
                                bottom.PixelToValue(b.x()) - bottom.PixelToValue(a.x()), "i2",
                                right.PixelToValue(b.y()) - right.PixelToValue(a.y())));
  Find<QPushButton>("Button1")->click();  // "0 absolu"
  EXPECT_EQ(readOut(), expected(0, 0, "i2", 0));
  Menu("icourantdumoteur1");  // re-written at once under the new name
  EXPECT_EQ(readOut(), expected(0, 0, "i1", 0));
  // By keys: cursor B one division right of A, both on the trace.
  form->Chart1KeyDown(TScopeKey::kCursorA);
  form->Chart1KeyDown(TScopeKey::kCursorB);
  form->Chart1KeyDown(TScopeKey::kDivisionForward);
  const TScopePoint bPoint = *form->Scope().Cursors().B();
  const double du = bPoint.volts - Bench().ReferenceVoltage();
  EXPECT_EQ(readOut(), expected(du, bPoint.ms - Bench().ReferenceTime(), "i1", du / 10));
  Menu("Aucune1");
  EXPECT_FALSE(readOut().contains("A"));
  pointAt(a);
  EXPECT_FALSE(readOut().contains("A"));
}

// Legend, axis title, projector mode and the words for screen readers follow the channel.
TEST_F(CurrentChannelTest, LegendTitleAndDescriptionOnlyWhileOn) {
  Menu("Hacheur1quadrant1");
  Select("RadioButton8");
  Bar("ScrollBar1", 100);
  const auto count = [](const QImage& image, const QRect& area, auto matches) {
    int n = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
      for (int x = area.left(); x <= area.right(); ++x)
        n += matches(image.pixel(x, y)) ? 1 : 0;
    return n;
  };
  const auto ink = [](TColor colour) {
    return [wanted = ToQColor(colour).rgb()](QRgb p) { return p == wanted; };
  };
  const auto bluish = [](QRgb p) { return qBlue(p) > qGreen(p) + 40 && qRed(p) < qBlue(p); };
  const QRect legend(chart->PlotRect.Left + 1, chart->PlotRect.Top + 1, 120, 40);
  const auto titleBand = [&] {
    return QRect(chart->RightAxis().TitlePos(), chart->PlotRect.Top, 16, chart->PlotRect.Height());
  };
  const QImage off = Screen();
  EXPECT_EQ(count(off, legend, ink(clWhite)), 0);
  EXPECT_FALSE(chart->accessibleDescription().contains("voie 2"));

  Menu("icourantdumoteur1");
  const QImage on = Screen();
  EXPECT_GT(count(on, legend, ink(clWhite)), 500);  // the box
  EXPECT_GT(count(on, legend, ink(clRed)), 16);     // a line and its text each
  EXPECT_GT(count(on, legend, ink(kIndigo)), 16);
  // The title: indigo ink beside the labels (off: the zero line's end), none beyond its band.
  EXPECT_GT(count(on, titleBand(), bluish), count(off, titleBand(), bluish) + 10);
  const QRect beyond(chart->RightAxis().TitlePos() + 16, 0, 4, chart->height());
  EXPECT_EQ(count(on, beyond, bluish), 0);
  const QString words = chart->accessibleDescription();
  EXPECT_TRUE(words.contains(QStringLiteral("voie 2, i de ") + Reading("0.26") + "\u00A0A à " +
                             Reading("1.66") + "\u00A0A\u202F; "))
      << words.toStdString();

  Menu("Contrastelev1");  // projector mode: the channel's text and trace as the others'
  EXPECT_EQ(chart->RightAxis().LabelsFont().Size, chart->LeftAxis().LabelsFont().Size);
  EXPECT_EQ(chart->RightAxis().Title.Font().Size, chart->LeftAxis().LabelsFont().Size);
  EXPECT_EQ(current->LinePen().Width(), voltage->LinePen().Width());
  EXPECT_GT(count(Screen(), legend, ink(clWhite)), count(on, legend, ink(clWhite)));
  Menu("Contrastelev1");
  Menu("Aucune1");
  EXPECT_EQ(Screen(), off);
  EXPECT_FALSE(chart->accessibleDescription().contains("voie 2"));
}

// From 800 pixels up, with the channel on, the read-out keeps every character: the lab buttons
// give way first, then the caption takes its short form. Off again, the tool bar is as before.
TEST_F(CurrentChannelTest, ToolBarKeepsTheLongerReadOutWhole) {
  const QFont font = QApplication::font();
  QApplication::setFont(QFont(QStringLiteral("Liberation Sans"), 8));
  form = std::make_unique<TForm1>();
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  auto* caption = Find<QLabel>("Label2");
  auto* value = Find<QLabel>("Label1");
  auto* channel = Find<QPushButton>("Button6");
  auto* measures = Find<QPushButton>("Button4");
  auto* record = Find<QPushButton>("Button5");
  auto* zero = Find<QPushButton>("Button1");
  const auto layOut = [&](int width) {
    form->setGeometry(0, 0, width, 700);
    form->show();
    QCoreApplication::processEvents();
  };
  layOut(1280);
  const QImage laidOut = Find<QWidget>("ToolBar1")->grab().toImage();
  Menu("i2courantctsource1");
  value->setText(QStringLiteral("-24,00 /-25,00 / i2\u00A0: -2,40\u00A0A"));
  std::set<std::string> forms;
  for (int width = 800; width <= 1400; width += 8) {
    SCOPED_TRACE(width);
    layOut(width);
    for (const QLabel* label : {caption, value})
      EXPECT_GE(label->width(), label->fontMetrics().horizontalAdvance(label->text()));
    EXPECT_LE(value->mapTo(form.get(), QPoint(value->width(), 0)).x(),
              zero->mapTo(form.get(), QPoint(0, 0)).x());
    if (caption->text() != "  tension (V) / temps (ms):") {
      EXPECT_EQ(caption->text(), "  u (V) / t (ms)\u00A0:");
      EXPECT_FALSE(channel->isVisible());
      forms.insert("short caption");
    }
    EXPECT_EQ(channel->isVisible(), measures->isVisible());
    if (!channel->isVisible()) {
      forms.insert("hidden");
      continue;
    }
    EXPECT_GE(channel->x(), measures->x() + measures->width());
    EXPECT_GE(record->x(), channel->x() + channel->width());
    if (channel->text().isEmpty()) {
      EXPECT_FALSE(channel->icon().isNull());
      forms.insert("icon");
    } else {
      EXPECT_EQ(channel->text(), "i(t)");
      EXPECT_GE(channel->width(), channel->fontMetrics().horizontalAdvance("i(t)"));
      forms.insert(measures->text().toStdString());
    }
  }
  EXPECT_EQ(forms, (std::set<std::string>{"short caption", "hidden", "icon", "&Mes.", "&Mesures"}));
  Menu("Aucune1");
  value->setText(QStringLiteral("0/0"));
  layOut(1280);
  EXPECT_EQ(Find<QWidget>("ToolBar1")->grab().toImage(), laidOut);
  form.reset();
  QApplication::setFont(font);
}

// The button is a Tab stop of the tool bar, named for screen readers, toggled by Space; the
// menu opens by its mnemonics: Affichage, Voie 2, i.
TEST_F(KeyboardTest, ChannelTwoButtonByKeyboard) {
  FocusOn("Button4");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "Button6");
  EXPECT_EQ(Find<QWidget>("Button6")->accessibleName(), "Voie 2\u00A0: courant");
  Key(Qt::Key_Space);
  EXPECT_EQ(form->CurrentName(), "i");
  Key(Qt::Key_Space);
  EXPECT_TRUE(form->CurrentName().isEmpty());
  Key(Qt::Key_I, Qt::AltModifier);
  Key(Qt::Key_V);
  Key(Qt::Key_I);
  EXPECT_EQ(form->CurrentName(), "i");
  EXPECT_TRUE(Find<QPushButton>("Button6")->isChecked());
}

}  // namespace
