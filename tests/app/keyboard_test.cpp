// SPDX-License-Identifier: GPL-3.0-or-later
// The window by keyboard alone, the keys going to whatever holds the focus.
#include <QClipboard>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <cmath>
#include <memory>

#include "app/keyboard_access.h"
#include "app/lab/measures_window.h"
#include "app/scope/scope_keys.h"
#include "keyboard_fixture.h"

namespace {

TEST_F(KeyboardTest, EachExperimentByF10AndByMnemonic) {
  const struct {
    int downs;
    Qt::Key mnemonic;
    TExperiment kind;
  } rows[] = {{0, Qt::Key_1, TExperiment::kOneQuadrant},
              {1, Qt::Key_2, TExperiment::kTwoQuadrants},
              {2, Qt::Key_4, TExperiment::kFourQuadrants}};
  QMenuBar* bar = form->menuBar();
  const QPoint entry =
      bar->actionGeometry(Find<QMenu>("Fichier1")->menuAction()).topLeft() + QPoint(2, 2);
  const QRgb unlit = bar->grab().toImage().pixel(entry);
  for (const auto& r : rows) {
    Menu("Hacheur2quadrantsvisualisationdestensions1");  // a known state to leave
    FocusOn("Button1");
    Key(Qt::Key_F10);  // the bar takes the keyboard, its first entry lit but not open
    EXPECT_EQ(QApplication::focusWidget(), bar);
    EXPECT_NE(bar->grab().toImage().pixel(entry), unlit);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    Key(Qt::Key_Right);  // from "Fichier" to "Choix de l'essai"
    Key(Qt::Key_Down);
    for (int i = 0; i < r.downs; ++i)
      Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Bench().ExperimentKind(), r.kind);
    EXPECT_EQ(FocusName(), "Button1");
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Key(Qt::Key_C, Qt::AltModifier);
    Key(r.mnemonic);
    EXPECT_EQ(Bench().ExperimentKind(), r.kind);
    EXPECT_EQ(Hidden("Panel29"), r.kind != TExperiment::kFourQuadrants);
  }
  Key(Qt::Key_Alt, Qt::AltModifier);  // a lone Alt, then Escape: back, nothing chosen
  EXPECT_EQ(QApplication::focusWidget(), bar);
  Key(Qt::Key_Escape);
  EXPECT_EQ(FocusName(), "Button1");
  EXPECT_EQ(bar->grab().toImage().pixel(entry), unlit);
  // "Travail à faire" has no menu: Enter on it acts, as its mnemonic does.
  Key(Qt::Key_F10);
  for (int i = 0; i < 3; ++i)
    Key(Qt::Key_Right);
  Key(Qt::Key_Return);
  Key(Qt::Key_T, Qt::AltModifier);
  Key(Qt::Key_O, Qt::AltModifier);
  Key(Qt::Key_2);
  const QString pages = QDir::currentPath() + "/aide/";
  EXPECT_EQ(opened, (std::vector<QString>{pages + "travail.htm", pages + "travail.htm",
                                          pages + "cours2.htm"}));
}

TEST_F(KeyboardTest, TabFollowsTheScreenOneStopPerGroupAndNeverSticks) {
  const struct {
    const char* experiment;
    std::vector<QString> stops;
  } rows[] = {
      {"Hacheur2quadrantsvisualisationdestensions1",
       {"Button1", "Button2", "Button3", "Button4", "Button6", "Button5", "Chart1", "RadioButton1",
        "RadioButton5", "RadioButton3", "ScrollBar1", "Edit1", "LabeledEdit1", "LabeledEdit3",
        "LabeledEdit2", "LabeledEdit4"}},
      // The machines' bars are locked until a machine is chosen; the remarks let Tab through.
      {"Hacheur4quadrantsvisualisationdesintensits1",
       {"Button1", "Button2", "Button3", "Button4", "Button6", "Button5", "Chart1", "RadioButton12",
        "RadioButton10", "Edit3", "Edit2", "memo1", "LabeledEdit1", "LabeledEdit3", "LabeledEdit2",
        "LabeledEdit4"}}};
  for (const auto& row : rows) {
    Menu(row.experiment);
    FocusOn("Button1");
    std::vector<QString> stops;
    for (std::size_t i = 0; i < row.stops.size(); ++i, Key(Qt::Key_Tab))
      stops.push_back(FocusName());
    EXPECT_EQ(stops, row.stops);
    EXPECT_EQ(FocusName(), "Button1");  // round again
  }
  FocusOn("memo1");
  Key(Qt::Key_Backtab);
  EXPECT_EQ(FocusName(), "Edit2");
  Select("RadioButton13");  // once chosen, the selected button is its group's stop
  FocusOn("Chart1");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "RadioButton13");
}

TEST_F(KeyboardTest, ArrowsSelectInEveryGroupRunningTheHandlerOnce) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  FocusOn("RadioButton1");
  Key(Qt::Key_Space);
  QFile::remove(PicturePath("branché"));  // a second run would say it twice
  QSignalSpy selected(Find<QRadioButton>("RadioButton8"), &QRadioButton::toggled);
  Key(Qt::Key_Down);
  EXPECT_EQ(errors, std::vector<std::string>{"Impossible d'ouvrir le fichier image/branché.jpg"});
  EXPECT_EQ(selected.count(), 1);
  const struct {
    const char* from;  // focused first, or nullptr to go on from where the focus is
    Qt::Key key;
    TPanelChoice TBenchDescription::*panel;
    const char* caption;  // of the choice in force after the key
  } steps[] = {
      {nullptr, Qt::Key_Down, &TBenchDescription::wiring, "moteur branché avec effet de self"},
      // Round the group.
      {nullptr, Qt::Key_Right, &TBenchDescription::wiring, "moteur non branché"},
      {nullptr, Qt::Key_Up, &TBenchDescription::wiring, "moteur branché avec effet de self"},
      {"RadioButton5", Qt::Key_Down, &TBenchDescription::chopperType,
       "type + et -, zéro non alimenté"},
      {nullptr, Qt::Key_Down, &TBenchDescription::chopperType, "type + et - ,zéro alimenté"},
      {nullptr, Qt::Key_Left, &TBenchDescription::chopperType, "type + et -, zéro non alimenté"},
      {"RadioButton3", Qt::Key_Down, &TBenchDescription::direction, "anti-horaire"},
      {nullptr, Qt::Key_Up, &TBenchDescription::direction, "horaire"}};
  for (const auto& s : steps) {
    if (s.from != nullptr) FocusOn(s.from);
    Key(s.key);
    EXPECT_EQ((Bench().Description().*s.panel).caption, s.caption) << (s.from ? s.from : "");
  }
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("RadioButton12");
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().DrivingMachine(), TDrivingMachine::kMachine2);
  Key(Qt::Key_Up);
  EXPECT_EQ(Bench().DrivingMachine(), TDrivingMachine::kMachine1);
  FocusOn("RadioButton10");
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kAnticlockwise);
  // Re-chosen, the experiment keeps "anti-horaire" selected with no direction in force: an
  // arrow onto it runs nothing, as a click on it would not.
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("RadioButton10");
  Key(Qt::Key_Down);
  EXPECT_EQ(FocusName(), "RadioButton9");
  EXPECT_EQ(Bench().RotationDirection(), TDirection::kNotChosen);
}

TEST_F(KeyboardTest, SpeedBarsByKeysReadAsAfterADrag) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton6");
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  EXPECT_TRUE(bar->hasFocus());  // a click gives it the focus
  const std::pair<Qt::Key, int> steps[] = {
      {Qt::Key_Right, 2}, {Qt::Key_Down, 3},   {Qt::Key_PageDown, 4}, {Qt::Key_Left, 3},
      {Qt::Key_Up, 2},    {Qt::Key_PageUp, 1}, {Qt::Key_End, 200},    {Qt::Key_Home, 0}};
  for (const auto& [key, position] : steps) {
    Key(key);
    EXPECT_EQ(bar->value(), position);
  }
  for (int i = 0; i < 57; ++i)
    Key(Qt::Key_Right);
  const std::vector<QString> byKeys = Readings();
  Drag(bar, 0);
  Drag(bar, 57);
  EXPECT_EQ(Readings(), byKeys);
  // Machine n°1's bar in the four-quadrant experiment.
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  Select("RadioButton12");
  Select("RadioButton10");
  FocusOn("ScrollBar2");
  Key(Qt::Key_End);
  for (int i = 0; i < 40; ++i)
    Key(Qt::Key_PageUp);
  const std::vector<QString> machineByKeys = Readings();
  Drag(Find<QScrollBar>("ScrollBar2"), 0);
  Drag(Find<QScrollBar>("ScrollBar2"), 160);
  EXPECT_EQ(Readings(), machineByKeys);
  EXPECT_FALSE(Enabled("Panel35"));
}

// Each menu shortcut does what its menu says wherever the focus is, a text box included. The
// entries' handlers are held back, so no dialog opens and the window stays.
TEST_F(KeyboardTest, MenuShortcutsActFromEveryPlaceOfTheFocus) {
  const std::pair<QKeyCombination, const char*> shortcuts[] = {
      {Qt::CTRL | Qt::Key_S, "Enregistrerlcrandeloscilloscope1"},
      {Qt::CTRL | Qt::Key_E, "Exporterlescourbes1"},
      {Qt::CTRL | Qt::Key_C, "Copierlcran1"},
      {Qt::CTRL | Qt::Key_P, "Imprimer1"},
      {Qt::CTRL | Qt::Key_M, "Mesures1"},
      {Qt::CTRL | Qt::Key_R, "Relevs1"},
      {Qt::CTRL | Qt::Key_Q, "Quitter1"},
      {QKeyCombination(Qt::Key_F5), "Releverlepoint1"}};
  std::vector<std::unique_ptr<QSignalSpy>> fired;
  for (const auto& [key, name] : shortcuts) {
    QAction* action = Find<QAction>(name);
    QObject::disconnect(action, nullptr, form.get(), nullptr);
    fired.push_back(std::make_unique<QSignalSpy>(action, &QAction::triggered));
  }
  const char* const twoQuadrants = "Hacheur2quadrantsvisualisationdestensions1";
  const char* const fourQuadrants = "Hacheur4quadrantsvisualisationdesintensits1";
  const struct {
    const char* experiment;
    const char* focus;
    bool byClick;       // else by Tab, which selects a box's whole text
    const char* typed;  // typed in the box over what it held, just before the key
  } places[] = {
      {twoQuadrants, "Edit1", false, "50"},        {fourQuadrants, "Edit3", false, "30"},
      {twoQuadrants, "Chart1", true, nullptr},     {twoQuadrants, "RadioButton1", false, nullptr},
      {fourQuadrants, "memo1", false, "vu en TP"}, {twoQuadrants, "LabeledEdit1", true, nullptr}};
  for (const auto& place : places) {
    Menu(place.experiment);
    for (std::size_t k = 0; k < std::size(shortcuts); ++k) {
      if (place.byClick) {
        auto* target = Find<QWidget>(place.focus);
        QTest::mouseClick(target, Qt::LeftButton, {}, target->rect().center());
      } else {
        FocusOn(place.focus);
      }
      if (place.typed != nullptr) {
        Key(Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(QApplication::focusWidget(), QString::fromUtf8(place.typed));
      }
      ASSERT_EQ(FocusName(), QString::fromLatin1(place.focus));
      std::vector<qsizetype> before, expected;
      for (std::size_t i = 0; i < fired.size(); ++i) {
        before.push_back(fired[i]->count());
        expected.push_back(before.back() + (i == k ? 1 : 0));
      }
      Key(shortcuts[k].first.key(), shortcuts[k].first.keyboardModifiers());
      std::vector<qsizetype> after;
      after.reserve(fired.size());
      for (const auto& spy : fired)
        after.push_back(spy->count());
      EXPECT_EQ(after, expected) << place.focus << " " << shortcuts[k].second;
    }
  }
}

// In a text box, Ctrl+C with text selected copies that text; the box's editing keys stay its
// own; a set-point typed but not entered is entered before a shortcut acts.
TEST_F(KeyboardTest, TextBoxesKeepTheirEditingKeysAndCopyTheirSelection) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton6");
  QAction* copyScreen = Find<QAction>("Copierlcran1");
  QAction* exportCurves = Find<QAction>("Exporterlescourbes1");
  for (QAction* action : {copyScreen, exportCurves})
    QObject::disconnect(action, nullptr, form.get(), nullptr);
  QSignalSpy screenCopies(copyScreen, &QAction::triggered);
  QSignalSpy exports(exportCurves, &QAction::triggered);
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto* box = Find<QLineEdit>("Edit1");
  FocusOn("Edit1");
  const struct {
    Qt::Key key;
    Qt::KeyboardModifiers modifiers;
    const char* text;
    const char* clipboard;
  } steps[] = {{Qt::Key_4, {}, "4", ""},  // over what the box held, all selected
               {Qt::Key_2, {}, "42", ""},
               {Qt::Key_A, Qt::ControlModifier, "42", ""},
               {Qt::Key_C, Qt::ControlModifier, "42", "42"},
               {Qt::Key_X, Qt::ControlModifier, "", "42"},
               {Qt::Key_V, Qt::ControlModifier, "42", "42"},
               {Qt::Key_V, Qt::ControlModifier, "4242", "42"},
               {Qt::Key_Z, Qt::ControlModifier, "42", "42"},
               {Qt::Key_Left, {}, "42", "42"},
               {Qt::Key_Backspace, {}, "2", "42"}};
  clipboard->setText(QString());
  Key(Qt::Key_A, Qt::ControlModifier);
  for (const auto& s : steps) {
    Key(s.key, s.modifiers);
    EXPECT_EQ(box->text(), QString::fromLatin1(s.text)) << s.key;
    EXPECT_EQ(clipboard->text(), QString::fromLatin1(s.clipboard)) << s.key;
  }
  EXPECT_EQ(screenCopies.count(), 0);
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(box, QStringLiteral("50"));
  Key(Qt::Key_E, Qt::ControlModifier);
  EXPECT_EQ(exports.count(), 1);
  EXPECT_EQ(Find<QScrollBar>("ScrollBar1")->value(), 100);
  EXPECT_EQ(FocusName(), "Edit1");

  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("memo1");
  Key(Qt::Key_A, Qt::ControlModifier);
  QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("vu en TP"));
  Key(Qt::Key_A, Qt::ControlModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(clipboard->text(), QStringLiteral("vu en TP"));
  EXPECT_EQ(screenCopies.count(), 0);
  Key(Qt::Key_Right);  // the selection gone, Ctrl+C copies the screen
  Key(Qt::Key_C, Qt::ControlModifier);
  EXPECT_EQ(screenCopies.count(), 1);
}

TEST(ScopeKeys, SamplesAlongTheShownTraceAndKeysTheirModifiersLeaveAlone) {
  const std::vector<double> t = {0, 1, 2, 3, 4, 5, 6};
  const struct {
    double from, to, time;
    int direction;
    double span;
    int expected;
  } rows[] = {{0, 6, 3, 1, 0, 4},      {0, 6, 2.5, -1, 0, 2},  {0, 6, 2.5, 1, 0, 3},
              {0, 6, 6, 1, 0, 6},      {0, 6, 0, -1, 0, 0},    {1.5, 4.5, 4, 1, 0, 4},
              {1.5, 4.5, 9, -1, 0, 4}, {1.5, 4.5, 0, 1, 0, 2}, {0, 6, 5, 1, 2, 6},
              {0, 6, 4, -1, 2.4, 2},   {7, 9, 3, 1, 0, -1}};
  for (const auto& r : rows)
    EXPECT_EQ(SampleAlong(t, r.from, r.to, r.time, r.direction, r.span), r.expected)
        << r.from << ".." << r.to << " at " << r.time << " by " << r.direction * r.span;
  EXPECT_EQ(NearestSample(t, 0, 6, 2.6), 3);
  EXPECT_EQ(NearestSample(t, 0, 2, 5), 2);
  EXPECT_EQ(NearestSample({}, 0, 6, 1), -1);
  for (auto [key, modifiers] : {std::pair{Qt::Key_A, Qt::ControlModifier},
                                {Qt::Key_B, Qt::AltModifier},
                                {Qt::Key_Right, Qt::ShiftModifier},
                                {Qt::Key_Minus, Qt::ControlModifier}})
    EXPECT_EQ(ScopeKeyAction(key, modifiers), TScopeKey::kNone) << key;
}

// The oscilloscope on a square wave, with one pixel per sample across and 0,1 V up, so that
// the mouse can point at the very samples the keys go to.
class ScopeKeysTest : public KeyboardTest {
 protected:
  ScopeKeysTest() {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    for (const char* choice : {"RadioButton8", "RadioButton3", "RadioButton5"})
      Select(choice);
    Find<QScrollBar>("ScrollBar1")->setSliderPosition(120);
    form->ScrollBar1Scroll(120);
    Menu("Mesures1");
    form->activateWindow();
    EXPECT_TRUE(QTest::qWaitForWindowActive(form.get()));
    AlignPixelsOnSamples();
    FocusOn("Chart1");
  }
  void AlignPixelsOnSamples() {
    for (int pass = 0; pass < 3; ++pass) {  // the labels' room may change with the scales
      chart->PaintChart(nullptr, chart->ClientRect());
      const int wide = chart->BottomAxis().PixelLength(), high = chart->LeftAxis().PixelLength();
      const int below = high / 2;  // whole pixels on each side of 0 V
      chart->ApplyZoom(0, 1, 0, 0.05 * wide, -0.1 * below, 0.1 * (high - below), 0, 1);
    }
    chart->PaintChart(nullptr, chart->ClientRect());
  }
  QPoint PixelOf(QPointF p) {
    return {chart->BottomAxis().ValueToPixel(p.x()), chart->LeftAxis().ValueToPixel(p.y())};
  }
  QPointF Sample(int i) { return {trace->XValues().ValueAt(i), trace->YValues().ValueAt(i)}; }
  // The read-out, the values of the "Mesures" window and the description.
  std::vector<QString> Shown() {
    const TMeasuresText m = form->findChild<TMeasuresWindow*>()->Shown();
    return {
        Find<QLabel>("Label1")->text(), m.voltage.mean, m.cursorA, m.cursorB, m.deltaT, m.deltaU,
        chart->accessibleDescription()};
  }
  std::vector<double> Ranges() {
    return {chart->BottomAxis().Minimum(), chart->BottomAxis().Maximum(),
            chart->LeftAxis().Minimum(), chart->LeftAxis().Maximum()};
  }

  TChart* chart = Find<TChart>("Chart1");
  TFastLineSeries* trace = Find<TFastLineSeries>("Series1");
};

TEST_F(ScopeKeysTest, CursorsByKeysReadAsTheSameCursorsSetWithTheMouse) {
  ASSERT_EQ(FocusName(), "Chart1");
  ASSERT_NEAR(Sample(1).x() - Sample(0).x(), 0.05, 1e-12);
  const double middle = (chart->BottomAxis().Minimum() + chart->BottomAxis().Maximum()) / 2;
  Key(Qt::Key_A);  // on the trace, at the sample nearest the middle of the screen
  const int centre = static_cast<int>(std::lround(Bench().ReferenceTime() / 0.05));
  EXPECT_NEAR(Bench().ReferenceTime(), middle, 0.025 + 1e-9);
  EXPECT_EQ(QPointF(Bench().ReferenceTime(), Bench().ReferenceVoltage()), Sample(centre));
  const int division = static_cast<int>(std::lround(chart->BottomAxis().LabelStep() / 0.05));
  ASSERT_GT(division, 1);
  const int a = centre + 3, b = centre + 2 * division - 1;
  for (const Qt::Key key : {Qt::Key_Right, Qt::Key_Right, Qt::Key_Right, Qt::Key_B})
    Key(key);
  Key(Qt::Key_Right, Qt::ControlModifier);
  Key(Qt::Key_Right, Qt::ControlModifier);
  for (const Qt::Key key : {Qt::Key_Left, Qt::Key_A, Qt::Key_B})  // A and B again: kept
    Key(key);
  EXPECT_EQ(QPointF(Bench().ReferenceTime(), Bench().ReferenceVoltage()), Sample(a));
  ASSERT_TRUE(form->Scope().Cursors().B());
  EXPECT_EQ(form->Scope().Cursors().B()->ms, Sample(b).x());
  const std::vector<QString> byKeys = Shown();
  EXPECT_NE(byKeys[5], QStringLiteral("—"));

  Key(Qt::Key_Escape);  // as "0 absolu"
  EXPECT_EQ(Find<TFastLineSeries>("Series2")->PointCount(), 0);
  EXPECT_EQ(Find<TFastLineSeries>("Series5")->PointCount(), 0);
  EXPECT_NE(Shown(), byKeys);

  for (const auto& [i, keys] : {std::pair{a, Qt::NoModifier}, {b, Qt::ShiftModifier}}) {
    ASSERT_NEAR(chart->BottomAxis().PixelToValue(PixelOf(Sample(i)).x()), Sample(i).x(), 1e-9);
    ASSERT_NEAR(chart->LeftAxis().PixelToValue(PixelOf(Sample(i)).y()), Sample(i).y(), 1e-9);
    QCursor::setPos(chart->mapToGlobal(PixelOf(Sample(i))));
    QTest::mouseDClick(chart, Qt::LeftButton, keys, PixelOf(Sample(i)));
  }
  chart->MouseMove({}, PixelOf(Sample(b)).x(), PixelOf(Sample(b)).y());  // still on B
  EXPECT_EQ(Shown(), byKeys);
  Key(Qt::Key_Right);  // the mouse set B last: the arrows go on from it
  EXPECT_EQ(form->Scope().Cursors().B()->ms, Sample(b + 1).x());
}

TEST_F(ScopeKeysTest, ZoomByKeysAsARectangleDraggedAroundTheCursor) {
  const double middle = (chart->BottomAxis().Minimum() + chart->BottomAxis().Maximum()) / 2;
  const QPointF b = Sample(static_cast<int>(std::lround(middle / 0.05)) - 40);
  const std::vector<double> before = Ranges();
  QCursor::setPos(chart->mapToGlobal(PixelOf(b)));
  TScopePoint atPointer;  // cursor B where the pointer is
  form->Scope().Trace().PointerToValues(atPointer.ms, atPointer.volts);
  form->Scope().PlaceCursor(TScopeCursor::kB, atPointer);
  // With the mouse: a rectangle half as wide and high, with B at the same place in it.
  const QPoint from = PixelOf({(b.x() + before[0]) / 2, (b.y() + before[3]) / 2});
  const QPoint to = PixelOf({(b.x() + before[1]) / 2, (b.y() + before[2]) / 2});
  chart->MouseDown(Qt::LeftButton, {}, from.x(), from.y());
  chart->MouseMove({}, to.x(), to.y());
  chart->MouseUp(Qt::LeftButton, {}, to.x(), to.y());
  const std::vector<double> byMouse = Ranges();
  const std::vector<QString> shownByMouse = Shown();
  Find<QPushButton>("Button2")->click();
  const std::vector<double> dezoomed = Ranges();
  AlignPixelsOnSamples();
  ASSERT_EQ(Ranges(), before);

  Key(Qt::Key_B);  // B, kept where the mouse set it, is the one the keys follow
  Key(Qt::Key_Plus, Qt::ShiftModifier);
  chart->PaintChart(nullptr, chart->ClientRect());
  const double pixel[] = {0.05, 0.05, 0.1, 0.1};  // of the screen before the zoom
  for (std::size_t i = 0; i < byMouse.size(); ++i)
    EXPECT_NEAR(Ranges()[i], byMouse[i], pixel[i]) << i;
  EXPECT_DOUBLE_EQ((b.x() - Ranges()[0]) / (Ranges()[1] - b.x()),
                   (b.x() - before[0]) / (before[1] - b.x()));  // B keeps its place
  EXPECT_EQ(Shown(), shownByMouse);

  Key(Qt::Key_Backspace);  // as "dezoom"
  EXPECT_EQ(Ranges(), dezoomed);
  Key(Qt::Key_Minus);  // out, around B: its lines still cross the whole screen
  EXPECT_DOUBLE_EQ(Ranges()[1] - Ranges()[0], 2 * (dezoomed[1] - dezoomed[0]));
  const TChartValueList& across = Find<TFastLineSeries>("Series6")->XValues();
  EXPECT_EQ(std::pair(across.ValueAt(0), across.ValueAt(1)), std::pair(Ranges()[0], Ranges()[1]));
}

}  // namespace
