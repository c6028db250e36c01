// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/form1.h"

#include <QAbstractSlider>
#include <QActionGroup>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QIcon>
#include <QLineEdit>
#include <QLocale>
#include <QPointer>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSessionManager>
#include <QStyle>

#include "app/current_channel.h"
#include "app/dialogs/about_box.h"
#include "app/dialogs/confirmation_box.h"
#include "app/dialogs/ok_bottom_dlg.h"
#include "app/dialogs/page_viewer.h"
#include "app/lab/lab_tools.h"
#include "app/notebook/notebook_controller.h"
#include "app/oscilloscope_settings.h"
#include "app/tool_bar_fit.h"
#include "chart/chart.h"
#include "platform/shell_open.h"
#include "ui_form1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TForm1>()) {
  ui_->setupUi(this);
  SetUpWindow();
  SetUpOscilloscope();
  CreateLabTools();
  CreateNotebook();
  ConnectHandlers();
  SetAccessibleNames();
  SetUpKeyboard();
  // The projector mode of the last run, through its menu entry's handler.
  if (TLabTools::HighContrastSaved()) ui_->Contrastelev1->setChecked(true);
  CenterOnScreen();
  FormCreate();
  DescribeScope();
  CreateDialogs();
  FollowSession();
}

// A speed box that holds a half-typed value loses the focus while the window is torn down: its
// handler must not run on a window whose parts are going.
TForm1::~TForm1() {
  for (QLineEdit* box : {ui_->Edit1, ui_->Edit2, ui_->Edit3})
    box->disconnect(this);
}

// ---------------------------------------------------------------------------------------------
// Construction

void TForm1::SetUpWindow() {
  setWindowIcon(QIcon(QStringLiteral(":/icons/simhacheur.png")));
  // The remarks keep their place while hidden, so the banner stays on top and the instruments
  // at the bottom.
  QSizePolicy remarks = ui_->Panel34->sizePolicy();
  remarks.setRetainSizeWhenHidden(true);
  ui_->Panel34->setSizePolicy(remarks);
  FitCaptions();
}

// The layout's widths were measured in a narrower font than the one this platform has: a
// radio button whose caption would be cut grows to its caption, from the same place.
void TForm1::FitCaptions() {
  for (QRadioButton* button : findChildren<QRadioButton*>()) {
    const int needed = button->sizeHint().width();
    if (needed > button->width()) button->resize(needed, button->height());
  }
}

void TForm1::SetUpOscilloscope() {
  namespace osc = oscilloscope;
  TChart& chart = *ui_->Chart1;
  osc::ApplyChartSettings(chart);
  // Channel 2 comes right after the trace, so the cross and cursor B stay over both.
  Series4 = osc::MakeTrace(chart, osc::kTraces[0], this);
  Series1 = osc::MakeTrace(chart, osc::kTraces[1], this);
  Series7 = osc::MakeTrace(chart, osc::kCurrentTrace, this);
  Series2 = osc::MakeTrace(chart, osc::kTraces[2], this);
  Series3 = osc::MakeTrace(chart, osc::kTraces[3], this);
  currentChannel_ = std::make_unique<TCurrentChannel>(chart, *Series1, *Series7);
  trace1_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(*Series1);
  trace4_ = std::make_unique<TSeriesTrace<TFastLineSeries>>(*Series4);
  watchedTrace1_ = std::make_unique<TWatchedTrace>(*trace1_);
  bench_.Connect(this, watchedTrace1_.get(), trace4_.get());
  bench_.SetDecimalSeparator(QLocale::system().decimalPoint().toStdString());
}

// Handlers run only on what the user does: radio buttons when one becomes selected (the
// program sets them with their signals blocked), speed bars on the user's actions.
void TForm1::ConnectHandlers() {
  ConnectExperimentHandlers();
  ConnectToolBar();
  ConnectLabAndNotebook();
}

void TForm1::ConnectExperimentHandlers() {
  const std::pair<QAction*, void (TForm1::*)()> menus[] = {
      {ui_->Hacheur1quadrant1, &TForm1::Hacheur1quadrant1Click},
      {ui_->Hacheur2quadrantsvisualisationdestensions1,
       &TForm1::Hacheur2quadrantsvisualisationdestensions1Click},
      {ui_->Hacheur4quadrantsvisualisationdesintensits1,
       &TForm1::Hacheur4quadrantsvisualisationdesintensits1Click}};
  for (const auto& [action, handler] : menus)
    Wire(action, &QAction::triggered, handler);

  const std::pair<QRadioButton*, void (TForm1::*)()> buttons[] = {
      {ui_->RadioButton1, &TForm1::RadioButton1Click},
      {ui_->RadioButton8, &TForm1::RadioButton8Click},
      {ui_->RadioButton2, &TForm1::RadioButton2Click},
      {ui_->RadioButton3, &TForm1::RadioButton3Click},
      {ui_->RadioButton4, &TForm1::RadioButton4Click},
      {ui_->RadioButton5, &TForm1::RadioButton5Click},
      {ui_->RadioButton6, &TForm1::RadioButton6Click},
      {ui_->RadioButton7, &TForm1::RadioButton7Click},
      {ui_->RadioButton12, &TForm1::RadioButton12Click},
      {ui_->RadioButton13, &TForm1::RadioButton13Click},
      {ui_->RadioButton10, &TForm1::RadioButton10Click},
      {ui_->RadioButton9, &TForm1::RadioButton9Click}};
  for (const auto& [button, handler] : buttons) {
    Wire(button, &QRadioButton::toggled, [handler = handler](TForm1* form, bool selected) {
      if (selected) (form->*handler)();
    });
  }

  // actionTriggered comes before the bar takes its new value; sliderPosition already holds it.
  const std::pair<QScrollBar*, void (TForm1::*)(int)> bars[] = {
      {ui_->ScrollBar1, &TForm1::ScrollBar1Scroll},
      {ui_->ScrollBar2, &TForm1::ScrollBar2Scroll},
      {ui_->ScrollBar3, &TForm1::ScrollBar3Scroll}};
  for (const auto& [bar, handler] : bars) {
    Wire(bar, &QAbstractSlider::actionTriggered,
         [bar = bar, handler = handler](TForm1* form) { (form->*handler)(bar->sliderPosition()); });
  }
}

void TForm1::ConnectToolBar() {
  TChart* chart = ui_->Chart1;
  chart->OnMouseMove = [this](TCustomChart*, TShiftState, int x, int y) {
    RunHandler([&] { Chart1MouseMove(x, y); });
  };
  chart->OnDblClick = [this](TCustomChart*) { RunHandler([this] { Chart1DblClick(); }); };
  Wire(ui_->Button1, &QAbstractButton::clicked, &TForm1::Button1Click);
  Wire(ui_->Button2, &QAbstractButton::clicked, &TForm1::Button2Click);
  Wire(ui_->Button3, &QAbstractButton::clicked, &TForm1::Button3Click);
  Wire(ui_->Button6, &QAbstractButton::clicked, &TForm1::Button6Click);
  auto* probes = new QActionGroup(this);
  const std::pair<QAction*, void (TForm1::*)()> channel2[] = {
      {ui_->Aucune1, &TForm1::Aucune1Click},
      {ui_->icourantdumoteur1, &TForm1::icourantdumoteur1Click},
      {ui_->i2courantctsource1, &TForm1::i2courantctsource1Click}};
  for (const auto& [action, handler] : channel2) {
    probes->addAction(action);
    Wire(action, &QAction::triggered, handler);
  }
  // On a narrow window the lab buttons shrink before the read-out loses a character.
  const QStyle* style = ui_->ToolBar1->style();
  toolBarFit_ = new TToolBarFit(
      ui_->ToolBar1,
      {{ui_->Button4, QStringLiteral("&Mes."), style->standardIcon(QStyle::SP_FileDialogInfoView),
        QString()},
       {ui_->Button6, QStringLiteral("i(t)"), TCurrentChannel::ProbeIcon(),
        QStringLiteral("Voie 2\u00A0: courant (sonde de courant)")},
       {ui_->Button5, QStringLiteral("&Relever"),
        style->standardIcon(QStyle::SP_FileDialogDetailedView), QString()}},
      {ui_->Panel7, ui_->Label2, ui_->Label1, QStringLiteral("  u (V) / t (ms)\u00A0:")});
  const std::pair<QAction*, void (TForm1::*)()> pages[] = {
      {ui_->cours1bases1, &TForm1::cours1bases1Click},
      {ui_->Cours2approfondissement1, &TForm1::Cours2approfondissement1Click},
      {ui_->ravailfaire1, &TForm1::ravailfaire1Click},
      {ui_->Sommaire1, &TForm1::Sommaire1Click},
      {ui_->Aidesurlaide1, &TForm1::Aidesurlaide1Click},
      {ui_->Apropos1, &TForm1::Apropos1Click}};
  for (const auto& [action, handler] : pages)
    Wire(action, &QAction::triggered, handler);
}

// A screen reader names each instrument and control after its panel's caption.
void TForm1::SetAccessibleNames() {
  NameControls();
  NamePanels();
}

void TForm1::NameControls() {
  const std::pair<QWidget*, const char*> names[] = {{ui_->LabeledEdit1, "Voltmètre"},
                                                    {ui_->LabeledEdit2, "Compte-tours"},
                                                    {ui_->LabeledEdit3, "Ampère-mètre n°1"},
                                                    {ui_->LabeledEdit4, "Ampère-mètre n°2"},
                                                    {ui_->ScrollBar1, "Réglage vitesse %"},
                                                    {ui_->Edit1, "Réglage vitesse %"},
                                                    {ui_->ScrollBar2, "Réglage vitesse % moteur1"},
                                                    {ui_->Edit2, "Réglage vitesse % moteur1"},
                                                    {ui_->ScrollBar3, "Réglage vitesse % moteur2"},
                                                    {ui_->Edit3, "Réglage vitesse % moteur2"},
                                                    {ui_->Chart1, "Oscilloscope"},
                                                    {ui_->Image1, "schéma de branchement"},
                                                    {ui_->MainMenu1, "Barre de menus"},
                                                    {ui_->Button3, "Aide sur l'oscilloscope"},
                                                    {ui_->Button4, "Mesures"},
                                                    {ui_->Button5, "Relever le point"},
                                                    {ui_->Button6, "Voie 2\u00A0: courant"},
                                                    {ui_->memo1, "Remarques"}};
  for (const auto& [widget, name] : names)
    widget->setAccessibleName(QString::fromUtf8(name));
  // The read-out's name is its text, so each new reading is announced.
  const std::pair<QWidget*, const char*> descriptions[] = {
      {ui_->Label1, "Lecture du curseur, tension (V) / temps (ms)"},
      {ui_->Button1, "Retire la croix de mesure\u00A0: lecture en valeurs absolues"},
      {ui_->Button2, "Remet les échelles d'avant le zoom, le déplacement ou la molette"},
      {ui_->Button4, "Ouvre la fenêtre des mesures automatiques et des curseurs"},
      {ui_->Button5, "Ajoute les lectures des instruments au tableau des relevés (F5)"},
      {ui_->Button6,
       "Affiche ou retire le courant sur la voie 2 (axe de droite), comme une sonde de courant"}};
  for (const auto& [widget, description] : descriptions)
    widget->setAccessibleDescription(QString::fromUtf8(description));
}

void TForm1::NamePanels() {
  const std::pair<QWidget*, const char*> panels[] = {
      {ui_->Panel9, "Panneau de commande des hacheurs 1 et 2 quadrants"},
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
  for (const auto& [panel, name] : panels)
    panel->setAccessibleName(QString::fromUtf8(name));
  for (QScrollBar* bar : {ui_->ScrollBar1, ui_->ScrollBar2, ui_->ScrollBar3}) {
    bar->setAccessibleDescription(QStringLiteral(
        "Position de 0 à 200, soit 0 à 100\u00A0%\u00A0: Droite ou Bas augmente, Gauche ou "
        "Haut diminue, Début et Fin vont aux extrêmes"));
  }
}

// Centred when restored; the program shows the window maximised.
void TForm1::CenterOnScreen() {
  if (const QScreen* screen = this->screen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - rect().center());
  }
}

// The two dialogs exist, hidden, from start-up on.
void TForm1::CreateDialogs() {
  AboutBox = new TAboutBox(this);
  OKBottomDlg = new TOKBottomDlg(this);
}

void TForm1::FollowSession() {
  Wire(qApp, &QGuiApplication::commitDataRequest, &TForm1::SessionEnding);
}

// Logging off asks the same question as closing; "Annuler" stops the log-off where the session
// lets the program ask.
void TForm1::SessionEnding(QSessionManager& manager) {
  if (!manager.allowsInteraction()) return;
  bool canClose = false;
  Guarded([&] { FormCloseQuery(canClose); });
  if (!canClose) manager.cancel();
  manager.release();
}

void TForm1::ShowReading(TInstrument instrument, const std::string& text) {
  QLineEdit* boxes[] = {ui_->LabeledEdit1, ui_->LabeledEdit2, ui_->LabeledEdit3, ui_->LabeledEdit4};
  boxes[instrument]->setText(QString::fromStdString(text));
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
// Pages, dialogs and closing

void TForm1::OpenHelpPage(const char* relativePath) {
  const TDataFolder pages = DataFolder("aide");
  const QString base = pages.Found() ? pages.base : QDir::currentPath();
  const QString path = NativeDocumentPath(base + QString::fromUtf8(relativePath));
  // The desktop may answer after this handler, or after the window has gone.
  OpenDocument(path, [window = QPointer<TForm1>(this), path](const QString& reason) {
    Guarded([&] {
      if (window) ReportPageFailure(path, reason, window);
    });
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
  canClose = notebook_->Saved() ? AskConfirmation(QStringLiteral("Fermer le programme?"))
                                : notebook_->CloseWithUnsavedRows();
}

// A closing question that fails is said and leaves the window open, as "Annuler" would.
void TForm1::closeEvent(QCloseEvent* event) {
  bool canClose = false;
  RunHandler([&] { FormCloseQuery(canClose); });
  if (canClose) {
    event->accept();
  } else {
    event->ignore();  // the window stays as it was
  }
}
