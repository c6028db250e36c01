#include "app/form1.h"

#include <QAbstractSlider>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QGuiApplication>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QSignalBlocker>
#include <exception>

#include "app/about_box.h"
#include "app/confirmation_box.h"
#include "app/error_box.h"
#include "app/notebook_file.h"
#include "app/ok_bottom_dlg.h"
#include "app/oscilloscope_settings.h"
#include "app/page_viewer.h"
#include "chart/chart.h"
#include "platform/jpeg_file.h"
#include "platform/shell_open.h"
#include "sim/reading_format.h"
#include "ui_form1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TForm1>()) {
  ui_->setupUi(this);
  setWindowIcon(QIcon(QStringLiteral(":/icons/simhacheur.png")));
  // The remarks keep their place while hidden, so the banner stays on top and the instruments
  // at the bottom.
  QSizePolicy remarks = ui_->Panel34->sizePolicy();
  remarks.setRetainSizeWhenHidden(true);
  ui_->Panel34->setSizePolicy(remarks);
  FitCaptions();
  SetUpChart();
  SetUpSeries();
  bench_.Connect(this, trace1_.get(), trace4_.get());
  bench_.SetDecimalSeparator(QLocale::system().decimalPoint().toStdString());
  ConnectHandlers();
  ConnectToolBar();
  SetAccessibleNames();
  SetUpKeyboard();
  SetUpLabTools();
  SetUpNotebook();
  // Centred when restored; the program shows the window maximised.
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
  FormCreate();
  DescribeScope();
  // The two dialogs exist, hidden, from start-up on.
  AboutBox = new TAboutBox(this);
  OKBottomDlg = new TOKBottomDlg(this);
  // Logging off asks the same question as closing; "Annuler" stops the log-off where the
  // session lets the program ask.
  connect(qApp, &QGuiApplication::commitDataRequest, this, [this](QSessionManager& manager) {
    if (!manager.allowsInteraction()) return;
    bool canClose = true;
    FormCloseQuery(canClose);
    if (!canClose) manager.cancel();
    manager.release();
  });
}

// A speed box that holds a half-typed value loses the focus while the window is torn down: its
// handler must not run on a window whose parts are going.
TForm1::~TForm1() {
  for (QLineEdit* box : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
    box->disconnect(this);
}

// ---------------------------------------------------------------------------------------------
// Layout loading: the oscilloscope's settings and its four traces

// The layout's widths were measured in a narrower font than the one this platform has: a
// radio button whose caption would be cut grows to its caption, from the same place.
void TForm1::FitCaptions() {
  for (QRadioButton* button : findChildren<QRadioButton*>()) {
    const int needed = button->sizeHint().width();
    if (needed > button->width()) button->resize(needed, button->height());
  }
}

void TForm1::SetUpChart() {
  oscilloscope::ApplyChartSettings(*ui_->Chart1);
}

void TForm1::SetUpSeries() {
  TFastLineSeries** fields[4] = {&Series4, &Series1, &Series2, &Series3};
  for (int i = 0; i < 4; ++i)
    *fields[i] = oscilloscope::MakeTrace(*ui_->Chart1, oscilloscope::kTraces[i], this);
  trace1_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(*Series1);
  trace4_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(*Series4);
}

// Handlers run only on what the user does: radio buttons when one becomes selected (the
// program sets them with their signals blocked), speed bars on the user's actions.
void TForm1::ConnectHandlers() {
  const auto onMenu = [this](QAction* action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  onMenu(ui_->Hacheur1quadrant1, &TForm1::Hacheur1quadrant1Click);
  onMenu(ui_->Hacheur2quadrantsvisualisationdestensions1,
         &TForm1::Hacheur2quadrantsvisualisationdestensions1Click);
  onMenu(ui_->Hacheur4quadrantsvisualisationdesintensits1,
         &TForm1::Hacheur4quadrantsvisualisationdesintensits1Click);

  const auto onSelect = [this](QRadioButton* button, void (TForm1::*handler)()) {
    connect(button, &QRadioButton::toggled, this, [this, handler](bool selected) {
      if (selected) Guarded([&] { (this->*handler)(); });
    });
  };
  onSelect(ui_->RadioButton1, &TForm1::RadioButton1Click);
  onSelect(ui_->RadioButton8, &TForm1::RadioButton8Click);
  onSelect(ui_->RadioButton2, &TForm1::RadioButton2Click);
  onSelect(ui_->RadioButton3, &TForm1::RadioButton3Click);
  onSelect(ui_->RadioButton4, &TForm1::RadioButton4Click);
  onSelect(ui_->RadioButton5, &TForm1::RadioButton5Click);
  onSelect(ui_->RadioButton6, &TForm1::RadioButton6Click);
  onSelect(ui_->RadioButton7, &TForm1::RadioButton7Click);
  onSelect(ui_->RadioButton12, &TForm1::RadioButton12Click);
  onSelect(ui_->RadioButton13, &TForm1::RadioButton13Click);
  onSelect(ui_->RadioButton10, &TForm1::RadioButton10Click);
  onSelect(ui_->RadioButton9, &TForm1::RadioButton9Click);

  // actionTriggered comes before the bar takes its new value; sliderPosition already holds it.
  const auto onScroll = [this](QScrollBar* bar, void (TForm1::*handler)(int)) {
    connect(bar, &QAbstractSlider::actionTriggered, this, [this, bar, handler](int) {
      const int position = bar->sliderPosition();
      Guarded([&] { (this->*handler)(position); });
    });
  };
  onScroll(ui_->ScrollBar1, &TForm1::ScrollBar1Scroll);
  onScroll(ui_->ScrollBar2, &TForm1::ScrollBar2Scroll);
  onScroll(ui_->ScrollBar3, &TForm1::ScrollBar3Scroll);
}

// A screen reader names each instrument and control after its panel's caption.
void TForm1::SetAccessibleNames() {
  ui_->LabeledEdit1->setAccessibleName(QStringLiteral("Voltmètre"));
  ui_->LabeledEdit2->setAccessibleName(QStringLiteral("Compte-tours"));
  ui_->LabeledEdit3->setAccessibleName(QStringLiteral("Ampère-mètre n°1"));
  ui_->LabeledEdit4->setAccessibleName(QStringLiteral("Ampère-mètre n°2"));
  ui_->ScrollBar1->setAccessibleName(QStringLiteral("Réglage vitesse %"));
  ui_->Edit1->setAccessibleName(QStringLiteral("Réglage vitesse %"));
  ui_->ScrollBar2->setAccessibleName(QStringLiteral("Réglage vitesse % moteur1"));
  ui_->Edit2->setAccessibleName(QStringLiteral("Réglage vitesse % moteur1"));
  ui_->ScrollBar3->setAccessibleName(QStringLiteral("Réglage vitesse % moteur2"));
  ui_->Edit3->setAccessibleName(QStringLiteral("Réglage vitesse % moteur2"));
  ui_->Chart1->setAccessibleName(QStringLiteral("Oscilloscope"));
  ui_->Image1->setAccessibleName(QStringLiteral("schéma de branchement"));
  ui_->MainMenu1->setAccessibleName(QStringLiteral("Barre de menus"));
  // The read-out's name is its text, so each new reading is announced.
  ui_->Label1->setAccessibleDescription(
      QStringLiteral("Lecture du curseur, tension (V) / temps (ms)"));
  ui_->Button1->setAccessibleDescription(
      QStringLiteral("Retire la croix de mesure\u00A0: lecture en valeurs absolues"));
  ui_->Button2->setAccessibleDescription(
      QStringLiteral("Remet les échelles d'avant le zoom, le déplacement ou la molette"));
  ui_->Button3->setAccessibleName(QStringLiteral("Aide sur l'oscilloscope"));
  ui_->memo1->setAccessibleName(QStringLiteral("Remarques"));
  const struct {
    QWidget* panel;
    const char* name;
  } panels[] = {{ui_->Panel9, "Panneau de commande des hacheurs 1 et 2 quadrants"},
                {ui_->Panel29, "Panneau de commande du hacheur 4 quadrants"},
                {ui_->Panel1, "Choix du branchement"},
                {ui_->Panel3, "Choix du hacheur"},
                {ui_->Panel2, "Choix du sens de rotation"},
                {ui_->Panel13, "Réglage vitesse %"},
                {ui_->Panel32, "Choix de la machine motrice"},
                {ui_->Panel35, "Choix du sens de rotation"},
                {ui_->Panel30, "Réglage vitesse % moteur2"},
                {ui_->Panel37, "Réglage vitesse % moteur1"},
                {ui_->Panel18, "Instruments de mesure"}};
  for (const auto& p : panels)
    p.panel->setAccessibleName(QString::fromUtf8(p.name));
  for (QScrollBar* bar : {ui_->ScrollBar1, ui_->ScrollBar2, ui_->ScrollBar3}) {
    bar->setAccessibleDescription(QStringLiteral(
        "Position de 0 à 200, soit 0 à 100\u00A0%\u00A0: Droite ou Bas augmente, Gauche ou "
        "Haut diminue, Début et Fin vont aux extrêmes"));
  }
}

void TForm1::ShowReading(TInstrument instrument, const std::string& text) {
  QLineEdit* boxes[] = {ui_->LabeledEdit1, ui_->LabeledEdit2, ui_->LabeledEdit3, ui_->LabeledEdit4};
  boxes[instrument]->setText(QString::fromStdString(text));
}

// ---------------------------------------------------------------------------------------------
// Small helpers

// From the working directory the path stays relative, so an error names it as it is written;
// from another folder it names the file in full.
void TForm1::LoadPicture(const char* path) {
  const TDataFolder images = DataFolder("image");
  if (!images.Found()) {
    if (!imagesMissing_) throw EPictureError(QString::fromUtf8(path));
    return;  // said once at start-up
  }
  const QString relative = QString::fromUtf8(path);
  const bool here = images.base == QDir::cleanPath(QDir::currentPath());
  ui_->Image1->SetPicture(ReadJpegFile(here ? relative : QDir(images.base).filePath(relative)));
}

TDataFolder TForm1::DataFolder(const char* name) const {
  const bool images = qstrcmp(name, "image") == 0;
  return FindDataFolder(
      QString::fromLatin1(name), images ? QStringLiteral("*.jpg") : QStringLiteral("*.htm"),
      DataFolderBases(QDir::currentPath(), QCoreApplication::applicationDirPath()));
}

void TForm1::ReportMissingDataFolders() {
  QStringList missing;
  QStringList tried;
  for (const char* name : {"image", "aide"}) {
    const TDataFolder folder = DataFolder(name);
    if (folder.Found()) continue;
    missing.append(QString::fromLatin1(name));
    tried = folder.tried;
  }
  imagesMissing_ = missing.contains(QStringLiteral("image"));
  if (!missing.isEmpty()) ShowErrorBox(MissingFoldersMessage(missing, tried));
}

void TForm1::SetPanelColor(QWidget* panel, TColor color) {
  QPalette palette = panel->palette();
  if (color == clBtnFace) {
    palette.setBrush(QPalette::Window, QApplication::palette().brush(QPalette::Window));
  } else {
    palette.setColor(QPalette::Window,
                     QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
  }
  panel->setPalette(palette);
  panel->setAutoFillBackground(true);
}

// Enabled state first, then colours, each in the panels' order.
void TForm1::SetPanelsLocked(std::initializer_list<QWidget*> panels, bool locked) {
  for (QWidget* panel : panels)
    panel->setEnabled(!locked);
  for (QWidget* panel : panels)
    SetPanelColor(panel, locked ? clBtnFace : clMoneyGreen);
}

void TForm1::ClearSelection(std::initializer_list<QRadioButton*> buttons) {
  for (QRadioButton* button : buttons) {
    const QSignalBlocker quiet(button);
    // An exclusive button cannot be unchecked while it is the group's selection.
    button->setAutoExclusive(false);
    button->setChecked(false);
    button->setAutoExclusive(true);
    // A selection left only the selected button in the Tab chain; with none, each is again.
    button->setFocusPolicy(Qt::StrongFocus);
  }
}

void TForm1::SetBarPosition(QScrollBar* bar, int position) {
  const QSignalBlocker quiet(bar);
  bar->setValue(position);
}

// ---------------------------------------------------------------------------------------------
// Start-up

// The bench is in its start-up state from its construction on: the two-quadrant experiment's
// code, nothing chosen.
void TForm1::FormCreate() {
  for (QLineEdit* box :
       {ui_->LabeledEdit1, ui_->LabeledEdit2, ui_->LabeledEdit3, ui_->LabeledEdit4}) {
    box->setText(QStringLiteral("inactif"));
  }
  ReportMissingDataFolders();
  Guarded([this] { LoadPicture("image/vide0.jpg"); });
}

// ---------------------------------------------------------------------------------------------
// Choice of the experiment

void TForm1::Hacheur1quadrant1Click() {
  ChooseExperiment(TExperiment::kOneQuadrant, "image/vide.jpg");
}

void TForm1::Hacheur2quadrantsvisualisationdestensions1Click() {
  ChooseExperiment(TExperiment::kTwoQuadrants, "image/vide.jpg");
}

void TForm1::Hacheur4quadrantsvisualisationdesintensits1Click() {
  ChooseExperiment(TExperiment::kFourQuadrants, "image/ampere4q.jpg");
}

// The controls of the speed are reset before the bench draws, the panels after.
void TForm1::ChooseExperiment(TExperiment experiment, const char* picture) {
  const bool fourQuadrant = experiment == TExperiment::kFourQuadrants;
  // The speed comes back to 0 (setting the bar sends no notification).
  SetBarPosition(ui_->ScrollBar1, 0);
  ui_->Edit1->setText(QStringLiteral("0"));

  if (fourQuadrant) {
    SetPanelsLocked({ui_->Panel35, ui_->Panel32}, false);
    ResetMachineBars();
    // No speed can be set before a driving machine is chosen.
    for (QScrollBar* bar : {ui_->ScrollBar3, ui_->ScrollBar2}) {
      bar->setVisible(true);
      bar->setEnabled(false);
    }
  }

  bench_.ChooseExperiment(experiment);

  if (fourQuadrant) {
    ui_->LabeledEdit3->setText(QStringLiteral("0"));
    ui_->LabeledEdit4->setText(QStringLiteral("0"));
    ClearSelection({ui_->RadioButton12, ui_->RadioButton13});
  } else {
    SetPanelsLocked({ui_->Panel1, ui_->Panel2, ui_->Panel3}, false);
    ui_->LabeledEdit3->setText(QStringLiteral("inactif"));
    ui_->LabeledEdit4->setText(QStringLiteral("inactif"));
    ClearSelection({ui_->RadioButton1, ui_->RadioButton2, ui_->RadioButton3, ui_->RadioButton4,
                    ui_->RadioButton5, ui_->RadioButton6, ui_->RadioButton7, ui_->RadioButton8});
  }

  // A picture that cannot be read is said, and the experiment still shows its panels.
  Guarded([&] { LoadPicture(picture); });

  if (fourQuadrant) {
    ui_->Panel6->setVisible(true);
    ui_->Panel9->setVisible(false);
    ui_->Panel29->setVisible(true);
    ui_->Panel34->setVisible(true);
  } else {
    const bool oneQuadrant = experiment == TExperiment::kOneQuadrant;
    ui_->Panel29->setVisible(false);
    ui_->Panel6->setVisible(true);
    ui_->Panel9->setVisible(true);
    ui_->Panel2->setVisible(!oneQuadrant);
    ui_->Panel3->setVisible(!oneQuadrant);
    ui_->Panel34->setVisible(false);
  }
}

// ---------------------------------------------------------------------------------------------
// One- and two-quadrant control panel

// A picture that cannot be read ends the handler with the wiring set but not recomputed.
void TForm1::ChooseWiring(TWiring wiring, const char* twoQuadrantPicture,
                          const char* oneQuadrantPicture) {
  bench_.SetConnectionMode(wiring);
  const TExperiment experiment = bench_.ExperimentKind();
  if (experiment == TExperiment::kTwoQuadrants) LoadPicture(twoQuadrantPicture);
  if (experiment == TExperiment::kOneQuadrant) LoadPicture(oneQuadrantPicture);
  bench_.RefreshOneOrTwoQuadrant();
}

void TForm1::RadioButton1Click() {
  ChooseWiring(TWiring::kNotConnected, "image/nonbranché.jpg", "image/1nonbranché.jpg");
}

void TForm1::RadioButton8Click() {
  ChooseWiring(TWiring::kWithoutInductance, "image/branché.jpg", "image/1branché.jpg");
}

void TForm1::RadioButton2Click() {
  ChooseWiring(TWiring::kWithInductance, "image/branchéself.jpg", "image/1branchéself.jpg");
}

void TForm1::RadioButton3Click() {
  bench_.ChooseDirection(TDirection::kClockwise);
}

void TForm1::RadioButton4Click() {
  bench_.ChooseDirection(TDirection::kAnticlockwise);
}

void TForm1::RadioButton5Click() {
  bench_.ChooseChopperType(TChopperType::kPlusOrMinus);
}

void TForm1::RadioButton6Click() {
  bench_.ChooseChopperType(TChopperType::kPlusAndMinusFedAtZero);
}

void TForm1::RadioButton7Click() {
  bench_.ChooseChopperType(TChopperType::kPlusAndMinusOffAtZero);
}

// ---------------------------------------------------------------------------------------------
// Four-quadrant control panel

void TForm1::ResetMachineBars() {
  SetBarPosition(ui_->ScrollBar2, 0);
  SetBarPosition(ui_->ScrollBar3, 0);
  ui_->Edit2->setText(QStringLiteral("0"));
  ui_->Edit3->setText(QStringLiteral("0"));
}

// Only the driving machine's bar can be moved.
void TForm1::ChooseMachine(TDrivingMachine machine) {
  SetBarPosition(ui_->ScrollBar2, 0);
  SetBarPosition(ui_->ScrollBar3, 0);
  ui_->ScrollBar3->setEnabled(machine == TDrivingMachine::kMachine2);
  ui_->ScrollBar2->setEnabled(machine == TDrivingMachine::kMachine1);
  ui_->Edit2->setText(QStringLiteral("0"));
  ui_->Edit3->setText(QStringLiteral("0"));
  bench_.ChooseDrivingMachine(machine);  // then the direction is to be chosen again
  ClearSelection({ui_->RadioButton10, ui_->RadioButton9});
}

void TForm1::RadioButton12Click() {
  ChooseMachine(TDrivingMachine::kMachine1);
}

void TForm1::RadioButton13Click() {
  ChooseMachine(TDrivingMachine::kMachine2);
}

void TForm1::ChooseMachineDirection(TDirection direction) {
  ResetMachineBars();
  bench_.ChooseMachineDirection(direction);
}

void TForm1::RadioButton10Click() {
  ChooseMachineDirection(TDirection::kClockwise);
}

void TForm1::RadioButton9Click() {
  ChooseMachineDirection(TDirection::kAnticlockwise);
}

// ---------------------------------------------------------------------------------------------
// Speed bars: the set-point, and the panels of choices locked while the speed is not zero

void TForm1::ScrollBar1Scroll(int position) {
  bench_.SetSpeedSetting(position);
  ui_->Edit1->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_->Panel1, ui_->Panel2, ui_->Panel3}, position != 0);
  bench_.RefreshOneOrTwoQuadrant();
}

void TForm1::MachineSpeedBarScroll(QScrollBar*, QWidget* edit, int position) {
  bench_.SetMachineSpeedSetting(position);
  static_cast<QLineEdit*>(edit)->setText(QString::number(bench_.SpeedPercent()));
  SetPanelsLocked({ui_->Panel35, ui_->Panel32}, position != 0);
  bench_.RefreshFourQuadrant();
}

void TForm1::ScrollBar2Scroll(int position) {
  MachineSpeedBarScroll(ui_->ScrollBar2, ui_->Edit2, position);
}

void TForm1::ScrollBar3Scroll(int position) {
  MachineSpeedBarScroll(ui_->ScrollBar3, ui_->Edit3, position);
}

// ---------------------------------------------------------------------------------------------
// The oscilloscope's tool bar, read-out and measuring cross

void TForm1::ConnectToolBar() {
  TChart* chart = ui_->Chart1;
  chart->OnMouseMove = [this](TCustomChart*, TShiftState, int x, int y) {
    Guarded([&] { Chart1MouseMove(x, y); });
  };
  chart->OnDblClick = [this](TCustomChart*) { Guarded([&] { Chart1DblClick(); }); };
  const auto onClick = [this](QAbstractButton* button, void (TForm1::*handler)()) {
    connect(button, &QAbstractButton::clicked, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  onClick(ui_->Button1, &TForm1::Button1Click);
  onClick(ui_->Button2, &TForm1::Button2Click);
  onClick(ui_->Button3, &TForm1::Button3Click);
  const auto onMenu = [this](QAction* action, void (TForm1::*handler)()) {
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { (this->*handler)(); }); });
  };
  onMenu(ui_->cours1bases1, &TForm1::cours1bases1Click);
  onMenu(ui_->Cours2approfondissement1, &TForm1::Cours2approfondissement1Click);
  onMenu(ui_->ravailfaire1, &TForm1::ravailfaire1Click);
  onMenu(ui_->Sommaire1, &TForm1::Sommaire1Click);
  onMenu(ui_->Aidesurlaide1, &TForm1::Aidesurlaide1Click);
  onMenu(ui_->Apropos1, &TForm1::Apropos1Click);
}

// "U /T": each difference with two decimals and the user's separator.
QString TForm1::ReadOutText(double voltage, double time) const {
  const std::string separator = QLocale::system().decimalPoint().toStdString();
  return QString::fromStdString(FormatReading(voltage, 2, separator) + " /" +
                                FormatReading(time, 2, separator));
}

void TForm1::Chart1MouseMove(int x, int y) {
  if (!ui_->Chart1->PlotRect.Contains(x, y)) return;  // the read-out keeps its last text
  double time = 0, voltage = 0;
  Series1->PointerToValues(time, voltage);  // where the pointer is now
  ui_->Label1->setText(
      ReadOutText(voltage - bench_.ReferenceVoltage(), time - bench_.ReferenceTime()));
}

// The cross spans the ranges shown at this moment; the read-out becomes relative to it at the
// next move.
void TForm1::Chart1DblClick() {
  if (shiftDoubleClick_) {
    SetCursorB();
    return;
  }
  Series2->ClearPoints();
  Series3->ClearPoints();
  double time = 0, voltage = 0;
  Series1->PointerToValues(time, voltage);
  bench_.SetReference(time, voltage);
  TChart& chart = *ui_->Chart1;
  Series2->AppendPoint(time, chart.LeftAxis().Minimum());
  Series2->AppendPoint(time, chart.LeftAxis().Maximum());
  Series3->AppendPoint(chart.BottomAxis().Minimum(), voltage);
  Series3->AppendPoint(chart.BottomAxis().Maximum(), voltage);
  RefreshMeasures();
}

void TForm1::Button1Click() {
  Series2->ClearPoints();
  Series3->ClearPoints();
  bench_.SetReference(0, 0);
  ui_->Label1->setText(ReadOutText(bench_.ReferenceVoltage(), bench_.ReferenceTime()));
  ClearCursorB();
  RefreshMeasures();
}

void TForm1::Button2Click() {
  ui_->Chart1->ResetZoom();
}

void TForm1::Button3Click() {
  OpenHelpPage("\\aide\\aideoscillo.htm");
}

// ---------------------------------------------------------------------------------------------
// Pages, dialogs and closing

void TForm1::OpenHelpPage(const char* relativePath) {
  const TDataFolder pages = DataFolder("aide");
  const QString base = pages.Found() ? pages.base : QDir::currentPath();
  const QString path = NativeDocumentPath(base + QString::fromUtf8(relativePath));
  // The desktop may answer after this handler, or after the window has gone.
  OpenDocument(path, [window = QPointer<TForm1>(this), path](const QString& reason) {
    if (window) ReportPageFailure(path, reason, window);
  });
}

void TForm1::cours1bases1Click() {
  OpenHelpPage("\\aide\\cours1.htm");
}

void TForm1::Cours2approfondissement1Click() {
  OpenHelpPage("\\aide\\cours2.htm");
}

void TForm1::ravailfaire1Click() {
  OpenHelpPage("\\aide\\travail.htm");
}

void TForm1::Sommaire1Click() {
  OpenHelpPage("\\aide\\index.htm");
}

void TForm1::Aidesurlaide1Click() {
  OKBottomDlg->exec();
}

void TForm1::Apropos1Click() {
  AboutBox->exec();
}

void TForm1::FormCloseQuery(bool& canClose) {
  // Readings that could not be written are not let go without a word.
  canClose = NotebookSaved() ? AskConfirmation(QStringLiteral("Fermer le programme?"))
                             : CloseWithUnsavedRows();
}

void TForm1::closeEvent(QCloseEvent* event) {
  bool canClose = true;
  FormCloseQuery(canClose);
  if (canClose) {
    event->accept();
  } else {
    event->ignore();  // the window stays as it was
  }
}
