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
#include <array>

#include "app/control_panels.h"
#include "app/dialogs/about_box.h"
#include "app/dialogs/confirmation_box.h"
#include "app/dialogs/ok_bottom_dlg.h"
#include "app/dialogs/page_viewer.h"
#include "app/form1_setup.h"
#include "app/instruments.h"
#include "app/lab/lab_tools.h"
#include "app/notebook/notebook_controller.h"
#include "app/projector_mode.h"
#include "app/scope/current_channel.h"
#include "app/tool_bar_fit.h"
#include "chart/chart.h"
#include "platform/shell_open.h"
#include "ui_form1.h"

TForm1::TForm1(QWidget* parent) : QMainWindow(parent), ui_(std::make_unique<Ui::TForm1>()) {
  ui_->setupUi(this);
  SetUpWindow();
  CreateParts();
  // Handlers run only on what the user does: radio buttons when one becomes selected (the
  // program sets them with their signals blocked), speed bars on the user's actions.
  ConnectExperimentHandlers();
  ConnectToolBar();
  ConnectLabAndNotebook();
  ConnectProjector();
  SetUpKeyboard();
  // The projector mode of the last run, through its menu entry's handler.
  if (TProjectorMode::Saved()) ui_->Contrastelev1->setChecked(true);
  CenterOnScreen(this);
  FormCreate();
  scope_->Describe();
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
  FitCaptions(this);
}

// The parts the window's handlers hand their work to; the bench writes its readings on the
// instruments and its traces on the oscilloscope.
void TForm1::CreateParts() {
  const Ui::TForm1& u = *ui_;
  instruments_ = std::make_unique<TInstruments>(
      std::array<QLineEdit*, 4>{u.LabeledEdit1, u.LabeledEdit2, u.LabeledEdit3, u.LabeledEdit4});
  scope_ = std::make_unique<TScopeView>(
      bench_, *u.Chart1, instruments_.get(),
      TScopeView::TControls{u.Label1, u.Label2, u.Aucune1, u.icourantdumoteur1,
                            u.i2courantctsource1, u.Button6},
      this);
  panels_ = new TControlPanels(this, *ui_, bench_, *instruments_);
  connect(panels_, &TControlPanels::FourQuadrantsChosen, scope_.get(),
          &TScopeView::SetFourQuadrants);
  labTools_ = new TLabTools(this, bench_, *scope_, *instruments_);
  notebook_ = new TNotebookController(this, bench_);
  projector_ = new TProjectorMode(this);
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
  Wire(&scope_->Keys(), &TScopeKeys::Pressed, &TForm1::Chart1KeyDown);
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
  connect(scope_.get(), &TScopeView::ReadOutWidthNeeded, toolBarFit_, &TToolBarFit::SetValueWidth);
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

// ---------------------------------------------------------------------------------------------
// Start-up

void TForm1::FormCreate() {
  panels_->ShowStart();
}

// ---------------------------------------------------------------------------------------------
// Pages, dialogs and closing

void TForm1::OpenHelpPage(const char* relativePath) {
  const TDataFolder pages = TControlPanels::DataFolder("aide");
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
