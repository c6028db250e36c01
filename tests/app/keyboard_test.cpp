// The window by keyboard alone, the keys going to whatever holds the focus.
#include <QMenu>
#include <QMenuBar>
#include <QSignalSpy>

#include "keyboard_fixture.h"

namespace {

TEST_F(KeyboardTest, EachExperimentByF10AndByMnemonic) {
  const struct {
    int downs;
    Qt::Key mnemonic;
    int kind;
  } rows[] = {{0, Qt::Key_1, 3}, {1, Qt::Key_2, 1}, {2, Qt::Key_4, 2}};
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
    EXPECT_EQ(Bench().ExperimentKind, r.kind);
    EXPECT_EQ(FocusName(), "Button1");
    Menu("Hacheur2quadrantsvisualisationdestensions1");
    Key(Qt::Key_C, Qt::AltModifier);
    Key(r.mnemonic);
    EXPECT_EQ(Bench().ExperimentKind, r.kind);
    EXPECT_EQ(Hidden("Panel29"), r.kind != 2);
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
       {"Button1", "Button2", "Button3", "Button4", "Button5", "Chart1", "RadioButton1",
        "RadioButton5", "RadioButton3", "ScrollBar1", "Edit1", "LabeledEdit1", "LabeledEdit3",
        "LabeledEdit2", "LabeledEdit4"}},
      // The machines' bars are locked until a machine is chosen; the remarks let Tab through.
      {"Hacheur4quadrantsvisualisationdesintensits1",
       {"Button1", "Button2", "Button3", "Button4", "Button5", "Chart1", "RadioButton12",
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
    int TBench::*field;
    int value;
  } steps[] = {{nullptr, Qt::Key_Down, &TBench::ConnectionMode, 1},
               {nullptr, Qt::Key_Right, &TBench::ConnectionMode, 0},  // round the group
               {nullptr, Qt::Key_Up, &TBench::ConnectionMode, 1},
               {"RadioButton5", Qt::Key_Down, &TBench::ChopperType, 3},
               {nullptr, Qt::Key_Down, &TBench::ChopperType, 2},
               {nullptr, Qt::Key_Left, &TBench::ChopperType, 3},
               {"RadioButton3", Qt::Key_Down, &TBench::RotationDirection, 0},
               {nullptr, Qt::Key_Up, &TBench::RotationDirection, 1}};
  for (const auto& s : steps) {
    if (s.from != nullptr) FocusOn(s.from);
    Key(s.key);
    EXPECT_EQ(Bench().*s.field, s.value) << (s.from ? s.from : "");
  }
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("RadioButton12");
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().DrivingMachine, 2);
  Key(Qt::Key_Up);
  EXPECT_EQ(Bench().DrivingMachine, 1);
  FocusOn("RadioButton10");
  Key(Qt::Key_Down);
  EXPECT_EQ(Bench().RotationDirection, 0);
  // Re-chosen, the experiment keeps "anti-horaire" selected with no direction in force: an
  // arrow onto it runs nothing, as a click on it would not.
  Menu("Hacheur4quadrantsvisualisationdesintensits1");
  FocusOn("RadioButton10");
  Key(Qt::Key_Down);
  EXPECT_EQ(FocusName(), "RadioButton9");
  EXPECT_EQ(Bench().RotationDirection, 10);
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

}  // namespace
