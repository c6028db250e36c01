// SPDX-License-Identifier: GPL-3.0-or-later
// The oscilloscope for lab work: cursor B, the measures, exports, the printed page, the
// projector mode, and the menus that open them.
#include <QAction>
#include <QCursor>
#include <QDialog>
#include <QFile>
#include <QFontInfo>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QPrinter>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <cmath>
#include <vector>

#include "app/instruments.h"
#include "app/lab/lab_tools.h"
#include "app/lab/measures_window.h"
#include "app/oscilloscope_settings.h"
#include "app/save_folder.h"
#include "app/scope/current_channel.h"
#include "app/scope/scope_view.h"
#include "sim/current_wave.h"
#include "tests/app/form_fixture.h"
#include "tests/app/lab/no_printer.h"
#include "tests/sim/bench_recorder.h"
#include "tests/support/oscilloscope_chart.h"

namespace {

class LabTest : public FormTest {
 protected:
  LabTest() {
    chart = Find<TChart>("Chart1");
    chart->resize(600, 400);
    chart->show();
    chart->PaintChart(nullptr, chart->ClientRect());
  }

  QPoint PixelOf(double time, double volts) {
    return {chart->BottomAxis().ValueToPixel(time), chart->LeftAxis().ValueToPixel(volts)};
  }
  void DoubleClickAt(QPoint p, Qt::KeyboardModifiers keys = {}) {
    QCursor::setPos(chart->mapToGlobal(p));
    QTest::mouseDClick(chart, Qt::LeftButton, keys, p);
  }
  // The two-quadrant chopper at 60 %, on a motor without self-induction: a plain square wave.
  void RunSquareWave() {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Select("RadioButton8");
    Select("RadioButton3");
    Select("RadioButton5");
    QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
    bar->setSliderPosition(120);
    form->ScrollBar1Scroll(120);
  }
  QString V(const char* text) { return Reading(text) + QStringLiteral("\u00A0V"); }

  TChart* chart = nullptr;
};

// WCAG contrast of two 0x00BBGGRR colours.
double Luminance(TColor c) {
  double l = 0;
  const double weights[3] = {0.2126, 0.7152, 0.0722};
  for (int k = 0; k < 3; ++k) {
    const double v = ((c >> (8 * k)) & 0xFF) / 255.0;
    l += weights[k] * (v <= 0.04045 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
  }
  return l;
}
double Contrast(TColor a, TColor b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST_F(LabTest, FileMenuComesFirstAndTheOthersKeepTheirPlace) {
  QStringList titles;
  for (QAction* entry : form->menuBar()->actions())
    titles << entry->text();
  EXPECT_EQ(titles, (QStringList{"&Fichier", "&Choix de l'essai", "C&ours", "&Travail à faire",
                                 "Aff&ichage", "&Aide"}));
  EXPECT_EQ(Find<QAction>("Copierlcran1")->shortcut(), QKeySequence(QKeySequence::Copy));
  EXPECT_EQ(Find<QAction>("Imprimer1")->shortcut(), QKeySequence(QKeySequence::Print));
  EXPECT_EQ(Find<QAction>("Quitter1")->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
}

TEST_F(LabTest, ShiftDoubleClickSetsCursorBAndTheWindowShowsTheDifferences) {
  Menu("Mesures1");
  DoubleClickAt(PixelOf(5, 10));
  DoubleClickAt(PixelOf(7.5, -5), Qt::ShiftModifier);
  const double tA = Bench().ReferenceTime(), uA = Bench().ReferenceVoltage();
  TFastLineSeries* b = Find<TFastLineSeries>("Series5");
  ASSERT_EQ(b->PointCount(), 2);
  const double tB = b->XValues().ValueAt(0);
  const double uB = Find<TFastLineSeries>("Series6")->YValues().ValueAt(0);
  EXPECT_NEAR(tA, 5, 0.1);
  EXPECT_NEAR(tB, 7.5, 0.1);
  EXPECT_NEAR(uB, -5, 0.3);
  // Cursor B leaves the cross and the read-out's reference alone.
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->XValues().ValueAt(0), tA);
  EXPECT_EQ(b->YValues().ValueAt(0), -25);
  EXPECT_EQ(b->YValues().ValueAt(1), 25);

  const TMeasuresText shown = form->findChild<TMeasuresWindow*>()->Shown();
  const auto number = [](double v, int decimals) {
    return Reading(QString::number(v, 'f', decimals).toLatin1().constData());
  };
  EXPECT_EQ(shown.deltaT, number(tB - tA, 2) + QStringLiteral("\u00A0ms"));
  EXPECT_EQ(shown.deltaU, number(uB - uA, 2) + QStringLiteral("\u00A0V"));
  // Δt about 2,50 ms shows three digits, and so does 1/Δt, about 400 Hz.
  const double hertz = 1000 / std::fabs(tB - tA);
  EXPECT_GT(hertz, 100);
  EXPECT_LT(hertz, 999);
  EXPECT_EQ(shown.inverseDeltaT, number(hertz, 0) + QStringLiteral("\u00A0Hz"));

  Find<QPushButton>("Button1")->click();  // "0 absolu" removes both
  EXPECT_EQ(b->PointCount(), 0);
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->PointCount(), 0);
  const TMeasuresText cleared = form->findChild<TMeasuresWindow*>()->Shown();
  EXPECT_EQ(cleared.cursorB, QStringLiteral("—"));
  EXPECT_EQ(cleared.deltaT, QStringLiteral("—"));
}

TEST_F(LabTest, MeasuresFollowTheTraceAndTheZoom) {
  Find<QPushButton>("Button4")->click();
  auto* window = form->findChild<TMeasuresWindow*>();
  ASSERT_NE(window, nullptr);
  EXPECT_TRUE(window->isVisible());
  EXPECT_FALSE(window->isModal());
  Menu("Hacheur2quadrantsvisualisationdestensions1");  // a flat trace at 0 V
  chart->PaintChart(nullptr, chart->ClientRect());
  EXPECT_EQ(window->Shown().voltage.mean, V("0.00"));
  EXPECT_EQ(window->Shown().dutyCycle, QStringLiteral("—"));
  EXPECT_EQ(window->Shown().period, QStringLiteral("—"));
  EXPECT_EQ(window->Shown().top, QStringLiteral("—"));
  EXPECT_EQ(window->Shown().dutyCycleCaption, QStringLiteral("α"));

  RunSquareWave();
  chart->PaintChart(nullptr, chart->ClientRect());
  // 61 of the 100 samples of each period at 10,4 V, the others at 0.
  EXPECT_EQ(window->Shown().voltage.mean, V("6.34"));
  EXPECT_EQ(window->Shown().voltage.rms, V("8.12"));
  EXPECT_EQ(window->Shown().voltage.peakToPeak, V("10.40"));
  EXPECT_EQ(window->Shown().dutyCycle, Reading("0.61"));
  EXPECT_EQ(window->Shown().period, Reading("5.00") + QStringLiteral("\u00A0ms"));
  EXPECT_EQ(window->Shown().frequency, QStringLiteral("200\u00A0Hz"));
  EXPECT_EQ(window->Shown().top, V("10.40"));
  EXPECT_EQ(window->Shown().base, V("0.00"));
  // The caption says which level alpha counts, and a screen reader reads it as the value's name.
  const auto* alpha = window->findChild<QLabel*>("DutyCycleValue");
  EXPECT_EQ(window->findChild<QLabel*>("DutyCycleValueCaption")->text(),
            QStringLiteral("α (à +E)\u00A0:"));
  EXPECT_EQ(alpha->accessibleName(), QStringLiteral("α (à +E)"));
  EXPECT_EQ(window->findChild<QLabel*>("TopLevelValue")->accessibleName(),
            QStringLiteral("Niveau haut"));
  const TMeasuresText whole = window->Shown();

  // Zoomed inside one period, the measures still cover a whole period of the same wave.
  chart->ApplyZoom(0, 0, 1, 2, -25, 25, 0, 0);
  chart->PaintChart(nullptr, chart->ClientRect());
  EXPECT_EQ(window->Shown().voltage.mean, whole.voltage.mean);
  EXPECT_EQ(window->Shown().top, whole.top);
  // Inside one period there are no two edges of a kind to time.
  EXPECT_EQ(window->Shown().period, QStringLiteral("—"));
  EXPECT_EQ(window->Shown().dutyCycle, QStringLiteral("—"));
  EXPECT_EQ(alpha->accessibleName(), QStringLiteral("α"));

  // Anticlockwise the pulses go to -10,4 V: alpha counts the time there, not the time off.
  chart->ResetZoom();
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  for (const char* name : {"RadioButton8", "RadioButton4", "RadioButton5"})
    Select(name);
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  bar->setSliderPosition(50);
  form->ScrollBar1Scroll(50);
  chart->PaintChart(nullptr, chart->ClientRect());
  EXPECT_EQ(window->Shown().dutyCycle, Reading("0.26"));
  EXPECT_EQ(window->Shown().dutyCycleCaption, QStringLiteral("α (à −E)"));
  EXPECT_EQ(alpha->accessibleName(), QStringLiteral("α (à −E)"));
  EXPECT_EQ(window->Shown().top, V("0.00"));
  EXPECT_EQ(window->Shown().base, V("-10.40"));
}

TEST_F(LabTest, ScreenAndCurvesSavedAsShown) {
  RunSquareWave();
  DoubleClickAt(PixelOf(5, 10));
  const QString png = QDir(work.path()).filePath(QStringLiteral("écran.png"));
  ASSERT_TRUE(form->LabTools().SaveScreenTo(png));
  const QImage grab = chart->grab().toImage().convertToFormat(QImage::Format_RGB32);
  const QImage saved = QImage(png).convertToFormat(QImage::Format_RGB32);
  EXPECT_GT(saved.height(), grab.height());  // the caption strip under the screen
  EXPECT_EQ(saved.copy(grab.rect()), grab);
  EXPECT_EQ(saved.text(QStringLiteral("Title")),
            QString::fromStdString(Bench().Description().experiment));

  const QString csv = QDir(work.path()).filePath(QStringLiteral("courbes.csv"));
  ASSERT_TRUE(form->LabTools().ExportCurvesTo(csv));
  QFile file(csv);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QStringList rows = QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
  EXPECT_EQ(rows.size(), 1 + 501);  // the header, then one row per point of the zero line
  EXPECT_TRUE(rows[0].startsWith(QStringLiteral("temps (ms)")));
  EXPECT_TRUE(
      form->LabTools().DefaultFileName(QStringLiteral("csv")).endsWith(QStringLiteral(".csv")));
  EXPECT_TRUE(errors.empty());
}

TEST_F(LabTest, FailedExportIsSaidAndChangesNothing) {
  // A folder that cannot be written, whoever runs the test: its place is taken by a file.
  const QString blocker = QDir(work.path()).filePath(QStringLiteral("relevés"));
  QFile file(blocker);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  file.write("ancien");
  file.close();
  const QImage before = form->LabTools().ScreenImage();
  EXPECT_FALSE(form->LabTools().ExportCurvesTo(blocker + QStringLiteral("/courbes.csv")));
  EXPECT_FALSE(form->LabTools().SaveScreenTo(blocker + QStringLiteral("/écran.png")));
  ASSERT_EQ(errors.size(), 2u);
  EXPECT_TRUE(QString::fromStdString(errors[0]).startsWith(
      QStringLiteral("Impossible d'écrire le fichier")));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  EXPECT_EQ(file.readAll(), "ancien");
  EXPECT_EQ(form->LabTools().ScreenImage(), before);
}

TEST_F(LabTest, PrintsOnePageToPdf) {
  RunSquareWave();
  const QString pdf = QDir(work.path()).filePath(QStringLiteral("relevé.pdf"));
  {
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFileName(pdf);
    form->LabTools().PrintReportTo(&printer);
  }
  ASSERT_TRUE(QFile::exists(pdf));
  QProcess info;
  info.start(QStringLiteral("pdfinfo"), {pdf});
  if (!info.waitForFinished() || info.exitCode() != 0) GTEST_SKIP() << "pdfinfo is missing";
  EXPECT_TRUE(QString::fromUtf8(info.readAllStandardOutput())
                  .contains(QRegularExpression(QStringLiteral("Pages:\\s+1\\n"))));
}

// A seat without a printer: "Imprimer…" says so and offers a PDF file, saved where the user
// can write, the folder remembered for the next time.
TEST_F(LabTest, WithoutAPrinterThePrintEntryOffersAPdf) {
  RunSquareWave();
  ASSERT_TRUE(QDir(work.path()).mkdir(QStringLiteral("sortie")));
  const QString pdf = QDir(work.path()).filePath(QStringLiteral("sortie/relevé.pdf"));
  QStringList proposed;
  const NoPrinter seat([&](const QString&, const QString& path, const QString& filter) {
    EXPECT_TRUE(filter.contains(QStringLiteral("*.pdf"))) << filter.toStdString();
    proposed << path;
    return QString(pdf);
  });
  const struct {
    Qt::Key answer;
    bool written;
  } rows[] = {{Qt::Key_Escape, false}, {Qt::Key_Return, true}, {Qt::Key_Return, true}};
  for (const auto& row : rows) {
    QFile::remove(pdf);
    QString text, defaultButton, escapeButton;
    QStringList buttons;
    QTimer::singleShot(0, form.get(), [&] {
      QWidget* modal = QApplication::activeModalWidget();
      auto* box = qobject_cast<QMessageBox*>(modal);
      if (box == nullptr) {  // not the box expected: closed, so the test fails instead of hanging
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        return;
      }
      text = box->text();
      for (const QAbstractButton* button : box->buttons())
        buttons << button->text();
      defaultButton = box->defaultButton()->text();
      escapeButton = box->escapeButton()->text();
      QTest::keyClick(box, row.answer);
    });
    Menu("Imprimer1");
    EXPECT_TRUE(
        text.startsWith(QStringLiteral("Aucune imprimante n'est installée sur cet ordinateur.")));
    EXPECT_EQ(buttons.size(), 2);
    EXPECT_EQ(defaultButton, QStringLiteral("&Enregistrer en PDF…"));
    EXPECT_EQ(escapeButton, QStringLiteral("Annuler"));
    QFile file(pdf);
    EXPECT_EQ(file.open(QIODevice::ReadOnly), row.written);
    if (row.written) {
      EXPECT_EQ(file.read(4), "%PDF");
    }
  }
  EXPECT_TRUE(errors.empty());
  // Asked once per "Enregistrer en PDF…": first in the user's own folders, then where the
  // last file went; never in the working directory.
  ASSERT_EQ(proposed.size(), 2);
  const QString first = QFileInfo(proposed[0]).absolutePath();
  EXPECT_NE(first, QDir::currentPath());
  EXPECT_TRUE(first == QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation) ||
              first == QDir::homePath())
      << first.toStdString();
  EXPECT_TRUE(proposed[0].endsWith(QStringLiteral(".pdf")));
  EXPECT_EQ(QFileInfo(proposed[1]).absolutePath(), QFileInfo(pdf).absolutePath());
}

TEST_F(LabTest, ProjectorModeIsRememberedAndOffMeansTheScreenOfBefore) {
  RunSquareWave();
  DoubleClickAt(PixelOf(5, 10));
  DoubleClickAt(PixelOf(7.5, -5), Qt::ShiftModifier);
  Menu("Mesures1");
  chart->PaintChart(nullptr, chart->ClientRect());
  const QImage untouched = form->LabTools().ScreenImage();
  const QImage window = form->grab().toImage();
  QAction* mode = Find<QAction>("Contrastelev1");
  mode->trigger();
  chart->PaintChart(nullptr, chart->ClientRect());
  EXPECT_NE(form->LabTools().ScreenImage(), untouched);
  EXPECT_EQ(Find<TFastLineSeries>("Series1")->LinePen().Width(), 3);
  EXPECT_EQ(Find<TFastLineSeries>("Series4")->LinePen().Width(), 3);
  // Cursor A two pixels wide and solid, cursor B two pixels wide and dashed: on the grab its
  // vertical line fills two columns, both broken by the same gaps.
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->LinePen().Width(), 2);
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->LinePen().Style(), psSolid);
  for (const char* name : {"Series5", "Series6"}) {
    EXPECT_EQ(Find<TFastLineSeries>(name)->LinePen().Width(), 2) << name;
    EXPECT_EQ(Find<TFastLineSeries>(name)->LinePen().Style(), psDash) << name;
  }
  const QImage projected = form->LabTools().ScreenImage();
  const QPoint b = PixelOf(7.5, 10);
  const auto inked = [&](int x, int y) {
    const QRgb c = projected.pixel(x, y);
    return static_cast<TColor>(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16) ==
           oscilloscope::kCursorB[0].highContrastColour;
  };
  int both = 0, gaps = 0;
  for (int y = b.y(); y < b.y() + 40; ++y) {
    EXPECT_EQ(inked(b.x(), y), inked(b.x() + 1, y)) << y;
    both += inked(b.x(), y);
    gaps += !inked(b.x(), y);
    // The gaps show the screen behind, not the canvas's white background colour.
    EXPECT_NE(projected.pixel(b.x() + 1, y), qRgb(255, 255, 255)) << y;
  }
  EXPECT_GT(both, 20);
  EXPECT_GT(gaps, 5);
  EXPECT_GE(chart->BottomAxis().LabelsFont().Size, 12);  // 1,5 × 8 points
  EXPECT_TRUE(QSettings().value(QStringLiteral("affichage/contraste_eleve")).toBool());
  {
    TForm1 next;  // the next run starts in the same mode
    EXPECT_TRUE(next.findChild<QAction*>(QStringLiteral("Contrastelev1"))->isChecked());
  }
  mode->trigger();
  chart->PaintChart(nullptr, chart->ClientRect());
  EXPECT_EQ(form->LabTools().ScreenImage(), untouched);
  EXPECT_EQ(form->grab().toImage(), window);
}

// Every text that is read from the seats: font pixel size at least 1,5 times the desktop one,
// in a box that still holds it; back to the desktop size when the mode is off.
TEST_F(LabTest, ProjectorTextIsHalfAsLargeAgain) {
  Menu("Mesures1");
  Menu("Relevs1");
  QList<QWidget*> texts;
  for (const char* name : {"LabeledEdit1", "LabeledEdit2", "LabeledEdit3", "LabeledEdit4", "Label1",
                           "Label2", "MeanValue", "CursorBValue", "RowsTable"})
    texts << Find<QWidget>(name);
  const auto pixels = [](QWidget* w) { return QFontInfo(w->font()).pixelSize(); };
  QList<int> desktop;
  for (QWidget* w : texts)
    desktop << pixels(w);
  Find<QAction>("Contrastelev1")->trigger();
  QApplication::processEvents();  // the windows lay out their bigger texts
  for (int i = 0; i < texts.size(); ++i) {
    EXPECT_GE(pixels(texts[i]), 1.5 * desktop[i]) << texts[i]->objectName().toStdString();
    EXPECT_GE(texts[i]->contentsRect().height(), pixels(texts[i]))
        << texts[i]->objectName().toStdString();
  }
  // The window still fits a 1024 × 768 projector, and the read-out its tool bar at 800 px.
  EXPECT_LE(form->minimumSizeHint().width(), 1024);
  EXPECT_LE(form->minimumSizeHint().height(), 768);
  form->resize(800, 600);
  form->show();
  QApplication::processEvents();
  for (const char* name : {"Label1", "Label2"})
    EXPECT_GE(Find<QLabel>(name)->width(), Find<QLabel>(name)->sizeHint().width()) << name;
  Find<QAction>("Contrastelev1")->trigger();
  for (int i = 0; i < texts.size(); ++i)
    EXPECT_EQ(pixels(texts[i]), desktop[i]) << texts[i]->objectName().toStdString();
}

// On grabs of the oscilloscope in projector mode: each line against the bare screen behind it
// inside the plot's frame (gradient and back wall), pixel by pixel, over the whole height of
// the gradient. Lines only cross the frame and the axes, which are lines themselves.
TEST_F(LabTest, ProjectorLinesKeepThreeToOneOnTheGrab) {
  RunSquareWave();
  DoubleClickAt(PixelOf(5, 10));
  DoubleClickAt(PixelOf(7.5, -5), Qt::ShiftModifier);
  Find<QAction>("Contrastelev1")->trigger();
  chart->PaintChart(nullptr, chart->ClientRect());
  QList<TChartPen*> all;
  for (const char* name : {"Series4", "Series1", "Series2", "Series3", "Series5", "Series6"})
    all << &Find<TFastLineSeries>(name)->LinePen();
  for (TChartAxis* axis : {&chart->BottomAxis(), &chart->LeftAxis()})
    all << &axis->Grid;
  const auto grabWith = [&](const QList<TChartPen*>& shown) {
    for (TChartPen* pen : all)
      pen->SetVisible(shown.contains(pen));
    return form->LabTools().ScreenImage();
  };
  const QImage bare = grabWith({});
  const QRect plot = QRect(PixelOf(0, 25), PixelOf(25, -25)).adjusted(2, 1, -1, -1);
  const struct {
    const char* what;
    QList<TChartPen*> pens;
  } layers[] = {{"zero line", {all[0]}},
                {"trace", {all[1]}},
                {"cursor A", {all[2], all[3]}},
                {"cursor B", {all[4], all[5]}},
                {"grid", {all[6], all[7]}}};
  for (const auto& layer : layers) {
    const QImage lines = grabWith(layer.pens);
    int drawn = 0;
    double worst = 21;
    for (int y = plot.top(); y < plot.bottom(); ++y) {
      for (int x = plot.left(); x < plot.right(); ++x) {
        const QRgb line = lines.pixel(x, y), behind = bare.pixel(x, y);
        if (line == behind) continue;
        ++drawn;
        const auto colour = [](QRgb c) {
          return static_cast<TColor>(qRed(c) | qGreen(c) << 8 | qBlue(c) << 16);
        };
        const double c = Contrast(colour(line), colour(behind));
        worst = std::min(worst, c);
      }
    }
    EXPECT_GT(drawn, 100) << layer.what;
    EXPECT_GE(worst, 3.0) << layer.what;
  }
}

TEST(ProjectorColours, LinesKeepThreeToOneOverTheWholeGradient) {
  std::vector<oscilloscope::TTraceSetting> lines(std::begin(oscilloscope::kTraces),
                                                 std::end(oscilloscope::kTraces));
  lines.push_back(oscilloscope::kCursorB[0]);
  lines.push_back({"grid", clGray, oscilloscope::kProjectorGridColour, clGray});
  for (const auto& s : lines) {
    for (TColor background : {oscilloscope::kGradientStart, oscilloscope::kGradientEnd})
      EXPECT_GE(Contrast(s.highContrastColour, background), 3.0) << s.name;
  }
  // The default cross and trace are the ones that are hard to see on a projector.
  EXPECT_LT(Contrast(oscilloscope::kTraces[2].colour, oscilloscope::kGradientStart), 1.5);
  EXPECT_LT(Contrast(oscilloscope::kTraces[1].colour, oscilloscope::kGradientEnd), 3.0);
}

}  // namespace

// Channel 2, the current, as the lab tools read it: a series on the right axis filled from the
// current model on the voltage trace's X values.

namespace {

enum class TCurrentScene { kWithSelfAtHalf, kMachine1AtHalf };  // one quadrant; four, clockwise

class CurrentColumnTest : public testing::Test {
 protected:
  CurrentColumnTest() {
    chart.resize(600, 400);
    alone.chart.resize(600, 400);
  }

  struct Scope {
    TChart chart;
    TBench bench;
    TInstruments instruments;
    TScopeView view{bench, chart, &instruments, {}};
  };

  // The bench in `scene`, channel 2 showing `channel` (nothing, as the window leaves it while
  // off, when empty).
  static void Play(Scope& scope, TCurrentScene scene, const QString& channel) {
    TBench& b = scope.bench;
    if (scene == TCurrentScene::kMachine1AtHalf) {
      b.ChooseExperiment(TExperiment::kFourQuadrants);
      b.ChooseDrivingMachine(TDrivingMachine::kMachine1);
      b.ChooseMachineDirection(TDirection::kClockwise);
      b.SetMachineSpeedSetting(100);
      b.RefreshFourQuadrant();
    } else {
      b.ChooseExperiment(TExperiment::kOneQuadrant);
      TBenchSteps(b).SetConnectionMode(TWiring::kWithInductance);
      b.SetSpeedSetting(100);
      b.RefreshOneOrTwoQuadrant();
    }
    scope.view.SetFourQuadrants(scene == TCurrentScene::kMachine1AtHalf);
    scope.view.ChooseCurrent(channel.isEmpty()                 ? TCurrentProbe::kNone
                             : channel == QStringLiteral("i2") ? TCurrentProbe::kSupply
                                                               : TCurrentProbe::kMotor);
  }
  void Show(TCurrentScene scene, const QString& channel) {
    Play(main, scene, channel);
    Play(alone, scene, QString());
    wave = ComputeCurrentWave(main.bench);
  }
  double time(int sample) { return main.view.Trace().XValues().ValueAt(sample); }
  static QString Amperes(QString text) {
    return text.replace(u'.', QLocale::system().decimalPoint()) + QStringLiteral("\u00A0A");
  }
  QStringList CsvLines(TLabTools& lab) {
    const QString path = QDir(folder.path()).filePath(QStringLiteral("courbes.csv"));
    EXPECT_TRUE(lab.ExportCurvesTo(path));
    QFile file(path);
    EXPECT_TRUE(file.open(QIODevice::ReadOnly));
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
  }

  QWidget window;
  Scope main;
  Scope alone;  // the same bench, channel 2 never turned on
  TChart& chart = main.chart;
  TFastLineSeries& current = main.view.CurrentTrace();
  TCurrentWave wave;
  TLabTools tools{&window, main.bench, main.view, main.instruments};
  QTemporaryDir folder;
};

// The column reads the current in A to the milliampere under its own name, and the window shows
// and names each value.
TEST_F(CurrentColumnTest, ColumnReadsTheCurrentUnderItsName) {
  const struct {
    TCurrentScene scene;
    const char* channel;
    const char* values;  // <i>, I, min, max, ripple; of i2 its mean
  } rows[] = {{TCurrentScene::kWithSelfAtHalf, "i", "0.957 0.958 0.887 1.027 0.140"},
              {TCurrentScene::kMachine1AtHalf, "i2", "0.476"}};
  tools.ShowMeasures();
  auto* shown = window.findChild<TMeasuresWindow*>();
  ASSERT_NE(shown, nullptr);
  const auto label = [&](const char* objectName) {
    return shown->findChild<QLabel*>(QString::fromLatin1(objectName));
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.channel);
    Show(row.scene, QString::fromLatin1(row.channel));
    const TMeasuresText m = tools.MeasuresText();
    QStringList want = QString::fromLatin1(row.values).split(u' ');
    for (QString& value : want)
      value = Amperes(value);
    EXPECT_EQ(QStringList({m.current.mean, m.current.rms, m.current.min, m.current.max,
                           m.current.peakToPeak})
                  .mid(0, static_cast<int>(want.size())),
              want);
    tools.RefreshMeasures();
    EXPECT_EQ(label("CurrentHeader")->text(), QStringLiteral("Voie 2 (%1)").arg(row.channel));
    EXPECT_EQ(label("CurrentMeanValue")->text(), want[0]);
    EXPECT_EQ(label("CurrentPeakToPeakValue")->text(), m.current.peakToPeak);
    EXPECT_EQ(label("CurrentMinValue")->accessibleName(),
              QStringLiteral("Minimum de %1").arg(row.channel));
    EXPECT_TRUE(label("CurrentPeakToPeakValue")->accessibleName().startsWith("Ondulation"));
  }
  EXPECT_EQ(label("MinValue")->accessibleName(), QStringLiteral("Minimum"));
  EXPECT_EQ(label("MeanValue")->accessibleName(), QStringLiteral("Moyenne ⟨u⟩"));
}

// Off, the column shows dashes and channel 1 and the curves read as without the channel at all.
TEST_F(CurrentColumnTest, OffIsTheWindowOfBefore) {
  Show(TCurrentScene::kWithSelfAtHalf, QStringLiteral("i"));
  Show(TCurrentScene::kWithSelfAtHalf, QString());
  TLabTools before{&window, alone.bench, alone.view, alone.instruments};
  const TMeasuresText m = tools.MeasuresText(), b = before.MeasuresText();
  EXPECT_EQ(m.voltage.mean, b.voltage.mean);
  EXPECT_EQ(m.dutyCycle, b.dutyCycle);
  EXPECT_EQ(m.top, b.top);
  for (const QString& value : {m.current.mean, m.current.rms, m.current.min, m.current.max,
                               m.current.peakToPeak, m.deltaI})
    EXPECT_EQ(value, QStringLiteral("—"));
  EXPECT_EQ(CsvLines(tools), CsvLines(before));
  EXPECT_EQ(CsvLines(tools).first().count(u'('), 3);  // time, voltage, zero line
}

// ΔI is the current at cursor B's time less the one at cursor A's: at 50 % with the self,
// from the minimum at the period's start to the maximum 51 samples on, the whole ripple.
TEST_F(CurrentColumnTest, DeltaIBetweenTheCursors) {
  Show(TCurrentScene::kWithSelfAtHalf, QStringLiteral("i"));
  EXPECT_EQ(tools.MeasuresText().deltaI, QStringLiteral("—"));  // no cursor yet
  main.view.PlaceCursor(TScopeCursor::kA, {time(200), 0});
  main.view.PlaceCursor(TScopeCursor::kB, {time(251), 11.2});
  EXPECT_EQ(tools.MeasuresText().deltaI, Amperes("0.140"));
  main.view.PlaceCursor(TScopeCursor::kB,
                        {time(200) - 0.025, 0});  // halfway to the sample before: the drawn line
  EXPECT_EQ(tools.MeasuresText().deltaI,
            Amperes(QString::number((wave.i[199] - wave.i[200]) / 2, 'f', 3)));
  main.view.PlaceCursor(TScopeCursor::kB, {24.99, 0});  // past the last sample: no current there
  EXPECT_EQ(tools.MeasuresText().deltaI, QStringLiteral("—"));
  Show(TCurrentScene::kWithSelfAtHalf, QString());
  main.view.PlaceCursor(TScopeCursor::kB, {time(251), 11.2});
  EXPECT_EQ(tools.MeasuresText().deltaI, QStringLiteral("—"));
}

// On, the curves get one more column on the voltage's rows, and the page lists the current.
TEST_F(CurrentColumnTest, CurvesAndPageCarryTheCurrentWhileOn) {
  Show(TCurrentScene::kMachine1AtHalf, QStringLiteral("i2"));
  const QStringList lines = CsvLines(tools);
  ASSERT_EQ(lines.size(), 1 + 501);
  const QChar separator = QLocale::system().decimalPoint() == u',' ? u';' : u',';
  EXPECT_TRUE(lines[0].endsWith(separator + QStringLiteral("i2 (A)"))) << lines[0].toStdString();
  for (int k : {0, 51, 499}) {
    const QStringList cells = lines[1 + k].split(separator);
    ASSERT_EQ(cells.size(), 4) << k;
    EXPECT_NEAR(QString(cells[3]).replace(u',', u'.').toDouble(),
                wave.i2[static_cast<std::size_t>(k)], 1e-9);
  }
  const auto page = [&](const QString& file) {
    const QString pdf = QDir(folder.path()).filePath(file);
    {
      QPrinter printer(QPrinter::HighResolution);
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(pdf);
      tools.PrintReportTo(&printer);
    }
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    text.waitForFinished();
    return QString::fromUtf8(text.readAllStandardOutput());
  };
  const QString on = page(QStringLiteral("on.pdf"));
  if (on.isEmpty()) GTEST_SKIP() << "pdftotext (poppler-utils) is not installed";
  EXPECT_TRUE(on.contains(QStringLiteral("Valeur efficace I2"))) << on.toStdString();
  EXPECT_TRUE(on.contains(QStringLiteral("Minimum de i2")));
  EXPECT_TRUE(on.contains(Amperes("0.476").remove(QStringLiteral("\u00A0A"))));
  main.view.ChooseCurrent(TCurrentProbe::kNone);
  const QString off = page(QStringLiteral("off.pdf"));
  EXPECT_FALSE(off.contains(QStringLiteral("i2"))) << off.toStdString();
  EXPECT_TRUE(off.contains(QStringLiteral("Valeur efficace U")));
}

// Projector mode thickens the current as the voltage, in its own colour, and back.
TEST_F(CurrentColumnTest, ProjectorModeThickensTheCurrent) {
  Show(TCurrentScene::kWithSelfAtHalf, QStringLiteral("i"));
  tools.ShowMeasures();
  auto* value = window.findChild<QLabel*>(QStringLiteral("CurrentMeanValue"));
  const int desktop = QFontInfo(value->font()).pixelSize();
  main.view.SetProjector(true);
  tools.SetHighContrast(true);
  EXPECT_EQ(current.LinePen().Width(), oscilloscope::kProjectorTraceWidth);
  EXPECT_EQ(current.SeriesColor(), TColor{0x82004B});
  EXPECT_GE(QFontInfo(value->font()).pixelSize(), 1.5 * desktop);
  main.view.SetProjector(false);
  tools.SetHighContrast(false);
  EXPECT_EQ(current.LinePen().Width(), 1);
  EXPECT_EQ(QFontInfo(value->font()).pixelSize(), desktop);
}

}  // namespace
