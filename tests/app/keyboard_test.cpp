// The window by keyboard alone: the menu bar, the Tab order, the radio groups and the speed
// bars, with the keys going to whatever holds the focus, as the window system sends them.
#include <QApplication>
#include <QMenu>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include "form_fixture.h"
#include "keyboard_fixture.h"

namespace {

// --- Menus --------------------------------------------------------------------------------------

struct ExperimentByKeys {
  int downs;  // Down presses from the first item
  char mnemonic;
  int kind;
  const char* panel;
};

const ExperimentByKeys kExperiments[] = {
    {0, '1', 3, "Panel9"}, {1, '2', 1, "Panel9"}, {2, '4', 2, "Panel29"}};

TEST_F(KeyboardTest, F10OpensTheMenuBarAndArrowsAndEnterChooseEachExperiment) {
  QMenuBar* bar = form->menuBar();
  for (const ExperimentByKeys& e : kExperiments) {
    Menu("Hacheur2quadrantsvisualisationdestensions1");  // a known state to leave
    FocusOn("Button1");
    Key(Qt::Key_F10);
    EXPECT_EQ(QApplication::focusWidget(), bar);
    ASSERT_NE(bar->activeAction(), nullptr);
    EXPECT_EQ(bar->activeAction()->menu(), Find<QMenu>("essai1"));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);  // highlighted, not yet open
    Key(Qt::Key_Down);
    EXPECT_EQ(QApplication::activePopupWidget(), Find<QMenu>("essai1"));
    for (int i = 0; i < e.downs; ++i)
      Key(Qt::Key_Down);
    Key(Qt::Key_Return);
    EXPECT_EQ(Bench().ExperimentKind, e.kind) << e.downs;
    EXPECT_FALSE(Hidden(e.panel)) << e.downs;
    EXPECT_EQ(FocusName(), "Button1");  // the focus comes back where it was
  }
}

// The entry the keyboard is on shows, though its menu is not open yet.
TEST_F(KeyboardTest, TheMenuBarShowsWhereTheKeyboardIs) {
  QMenuBar* bar = form->menuBar();
  const QRect entry = bar->actionGeometry(Find<QMenu>("essai1")->menuAction());
  const QPoint corner = entry.topLeft() + QPoint(2, 2);
  const QRgb before = bar->grab().toImage().pixel(corner);
  FocusOn("Button1");
  Key(Qt::Key_F10);
  EXPECT_NE(bar->grab().toImage().pixel(corner), before);
  Key(Qt::Key_Escape);
  EXPECT_EQ(bar->grab().toImage().pixel(corner), before);
}

TEST_F(KeyboardTest, MnemonicsChooseEachExperimentAndEscapeLeavesTheMenuBar) {
  for (const ExperimentByKeys& e : kExperiments) {
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    FocusOn("Button2");
    Key(Qt::Key_C, Qt::AltModifier);
    ASSERT_EQ(QApplication::activePopupWidget(), Find<QMenu>("essai1"));
    Key(static_cast<Qt::Key>(e.mnemonic));
    EXPECT_EQ(Bench().ExperimentKind, e.kind) << e.mnemonic;
    EXPECT_FALSE(Hidden(e.panel)) << e.mnemonic;
  }
  // A lone Alt, then Escape: back where the focus was, nothing chosen.
  FocusOn("Button2");
  Key(Qt::Key_Alt, Qt::AltModifier);
  EXPECT_EQ(QApplication::focusWidget(), form->menuBar());
  Key(Qt::Key_Escape);
  EXPECT_EQ(FocusName(), "Button2");
  EXPECT_EQ(form->menuBar()->activeAction(), nullptr);
}

TEST_F(KeyboardTest, PagesFromTheMenuBarAndTravailAFaireOnEnter) {
  FocusOn("Button1");
  Key(Qt::Key_F10);
  Key(Qt::Key_Right);
  Key(Qt::Key_Right);  // "Travail à faire", an entry without a menu
  EXPECT_EQ(form->menuBar()->activeAction(), Find<QAction>("ravailfaire1"));
  Key(Qt::Key_Return);
  Key(Qt::Key_T, Qt::AltModifier);
  Key(Qt::Key_O, Qt::AltModifier);
  Key(Qt::Key_2);
  Key(Qt::Key_A, Qt::AltModifier);
  Key(Qt::Key_S);
  const QString base = QDir::currentPath() + QStringLiteral("/aide/");
  const std::vector<QString> expected = {base + "travail.htm", base + "travail.htm",
                                         base + "cours2.htm", base + "index.htm"};
  EXPECT_EQ(opened, expected);
}

// --- Tab order ----------------------------------------------------------------------------------

TEST_F(KeyboardTest, TabFollowsTheScreenAndNeverSticks) {
  const struct {
    const char* experiment;
    std::vector<QString> stops;
  } rows[] = {
      // One stop per radio group, as on the desktop.
      {"Hacheur2quadrantsvisualisationdestensions1",
       {"Button1", "Button2", "Button3", "Chart1", "RadioButton1", "RadioButton5", "RadioButton3",
        "ScrollBar1", "Edit1", "LabeledEdit1", "LabeledEdit3", "LabeledEdit2", "LabeledEdit4"}},
      {"Hacheur1quadrant1",
       {"Button1", "Button2", "Button3", "Chart1", "RadioButton1", "ScrollBar1", "Edit1",
        "LabeledEdit1", "LabeledEdit3", "LabeledEdit2", "LabeledEdit4"}},
      // The machines' bars stay locked until a machine is chosen; the remarks let Tab through.
      {"Hacheur4quadrantsvisualisationdesintensits1",
       {"Button1", "Button2", "Button3", "Chart1", "RadioButton12", "RadioButton10", "Edit3",
        "Edit2", "memo1", "LabeledEdit1", "LabeledEdit3", "LabeledEdit2", "LabeledEdit4"}},
  };
  for (const auto& row : rows) {
    Menu(row.experiment);
    FocusOn("Button1");
    std::vector<QString> stops;
    for (std::size_t i = 0; i < row.stops.size(); ++i) {
      stops.push_back(FocusName());
      Key(Qt::Key_Tab);
    }
    EXPECT_EQ(stops, row.stops) << row.experiment;
    EXPECT_EQ(FocusName(), "Button1") << row.experiment;  // round again
    // And back the other way.
    std::vector<QString> back;
    for (std::size_t i = 0; i < row.stops.size(); ++i) {
      Key(Qt::Key_Backtab);
      back.push_back(FocusName());
    }
    EXPECT_EQ(std::vector<QString>(back.rbegin(), back.rend()), row.stops) << row.experiment;
  }
}

TEST_F(KeyboardTest, ARadioGroupIsOneStopOnceSelectedAndAllAgainWhenCleared) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  FocusOn("Chart1");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "RadioButton8");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "RadioButton5");
  Menu("Hacheur2quadrantsvisualisationdestensions1");  // clears the choices
  FocusOn("Chart1");
  Key(Qt::Key_Tab);
  EXPECT_EQ(FocusName(), "RadioButton1");
}

// --- Radio groups -------------------------------------------------------------------------------

TEST_F(KeyboardTest, ArrowsSelectEachButtonOfAGroupAndRunItsHandlerOnce) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  FocusOn("RadioButton1");
  Key(Qt::Key_Space);
  EXPECT_EQ(Bench().ConnectionMode, 0);
  // Were the handler to run twice, its missing picture would be said twice.
  QFile::remove(PicturePath("branché"));
  QSignalSpy selected(Find<QRadioButton>("RadioButton8"), &QRadioButton::toggled);
  Key(Qt::Key_Down);
  EXPECT_EQ(FocusName(), "RadioButton8");
  EXPECT_TRUE(Find<QRadioButton>("RadioButton8")->isChecked());
  EXPECT_EQ(Bench().ConnectionMode, 2);
  EXPECT_EQ(errors, std::vector<std::string>{"Impossible d'ouvrir le fichier image/branché.jpg"});
  EXPECT_EQ(selected.count(), 1);
  errors.clear();
  WritePicture("branché", kPictureWidths.at("branché"));

  const struct {
    Qt::Key key;
    const char* button;
    int TBench::*field;
    int value;
  } steps[] = {
      {Qt::Key_Down, "RadioButton2", &TBench::ConnectionMode, 1},
      {Qt::Key_Down, "RadioButton1", &TBench::ConnectionMode, 0},  // round the group
      {Qt::Key_Up, "RadioButton2", &TBench::ConnectionMode, 1},
      {Qt::Key_Left, "RadioButton8", &TBench::ConnectionMode, 2},
  };
  for (const auto& s : steps) {
    Key(s.key);
    EXPECT_EQ(FocusName(), s.button);
    EXPECT_EQ(Bench().*s.field, s.value) << s.button;
  }
  // The chopper type and the direction, after the wiring, as a student goes down the panel.
  FocusOn("RadioButton5");
  Key(Qt::Key_Space);
  EXPECT_EQ(Bench().ChopperType, 1);
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().ChopperType, 3);  // "type + et -, zéro non alimenté"
  Key(Qt::Key_Right);
  EXPECT_EQ(Bench().ChopperType, 2);
  FocusOn("RadioButton3");
  Key(Qt::Key_Space);
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().RotationDirection, 0);
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().RotationDirection, 1);
  EXPECT_TRUE(errors.empty());
}

TEST_F(KeyboardTest, ArrowsInTheFourQuadrantPanelAndNothingOnTheSelectedButton) {
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("RadioButton12");
  Key(Qt::Key_Space);
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().DrivingMachine, 2);
  EXPECT_TRUE(Enabled("ScrollBar3"));
  Key(Qt::Key_Up);
  EXPECT_EQ(Bench().DrivingMachine, 1);
  EXPECT_TRUE(Enabled("ScrollBar2"));
  FocusOn("RadioButton10");
  Key(Qt::Key_Space);
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().RotationDirection, 0);
  // Re-chosen, the experiment keeps "anti-horaire" selected with no direction in force: an
  // arrow onto it runs nothing, as a click on it would not.
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  EXPECT_TRUE(Find<QRadioButton>("RadioButton9")->isChecked());
  FocusOn("RadioButton10");
  Key(Qt::Key_Down);
  EXPECT_EQ(FocusName(), "RadioButton9");
  EXPECT_EQ(Bench().RotationDirection, 10);
}

// --- Speed bars ---------------------------------------------------------------------------------

TEST_F(KeyboardTest, SpeedBarKeysGoTheDesktopsWayThroughTheScrollHandler) {
  Menu("Hacheur2quadrantsvisualisationdestensions1");
  Select("RadioButton8");
  Select("RadioButton3");
  Select("RadioButton6");
  QScrollBar* bar = Find<QScrollBar>("ScrollBar1");
  QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(bar->width() - 4, bar->height() / 2));
  EXPECT_TRUE(bar->hasFocus());  // a click gives it the focus
  const struct {
    Qt::Key key;
    int position;
  } steps[] = {{Qt::Key_Right, 2}, {Qt::Key_Down, 3}, {Qt::Key_PageDown, 4},
               {Qt::Key_Left, 3},  {Qt::Key_Up, 2},   {Qt::Key_PageUp, 1},
               {Qt::Key_End, 200}, {Qt::Key_Home, 0}, {Qt::Key_Right, 1}};
  for (const auto& s : steps) {
    Key(s.key);
    EXPECT_EQ(bar->value(), s.position) << QKeySequence(s.key).toString().toStdString();
  }
  // Driven to 57 by keys, the bench reads as after a drag to 57.
  for (int i = 1; i < 57; ++i)
    Key(Qt::Key_Right);
  const std::vector<QString> byKeys = Readings();
  Drag(bar, 0);
  Drag(bar, 57);
  EXPECT_EQ(Readings(), byKeys);
  EXPECT_FALSE(Enabled("Panel1"));
}

TEST_F(KeyboardTest, MachineBarsByKeysReadAsAfterADrag) {
  for (const char* machine : {"RadioButton12", "RadioButton13"}) {
    Menu("Hacheur4quadrantsvisualisationdesintensits1");
    Select(machine);
    Select("RadioButton10");
    const char* name = std::string(machine) == "RadioButton12" ? "ScrollBar2" : "ScrollBar3";
    QScrollBar* bar = Find<QScrollBar>(name);
    FocusOn(name);
    Key(Qt::Key_End);
    for (int i = 0; i < 40; ++i)
      Key(Qt::Key_PageUp);
    EXPECT_EQ(bar->value(), 160) << name;
    const bool noisy = bar->objectName() == "ScrollBar3";
    const std::vector<QString> byKeys = Readings(!noisy);
    Drag(bar, 0);
    Drag(bar, 160);
    EXPECT_EQ(Readings(!noisy), byKeys) << name;
    EXPECT_FALSE(Enabled("Panel35"));
  }
}

}  // namespace
