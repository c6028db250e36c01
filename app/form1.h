// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <type_traits>
#include <utility>

#include "app/guarded.h"
#include "app/scope/scope_view.h"
#include "sim/bench.h"

namespace Ui {
class TForm1;
}
class QCloseEvent;
class QLineEdit;
class QSessionManager;
class QWidget;
class TAboutBox;
class TControlPanels;
class TInstruments;
class TLabTools;
class TNotebookController;
class TNotebookModel;
class TOKBottomDlg;
class TProjectorMode;
class TScopeView;
class TToolBarFit;
struct TNotebookRow;
enum class TScopeKey;

// The main window: the oscilloscope, the instruments, the wiring picture and the control panels
// of the bench. It reads as a table of contents: it builds the objects that do the work (the
// control panels, the oscilloscope view, the lab tools, the notebook, the projector switch),
// wires its menus, buttons and keys to them, and keeps each handler, under its control's name,
// as a forward into one of them.
class TForm1 : public QMainWindow {
  Q_OBJECT

 public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The bench, for reading its state (tests); the window alone changes it.
  const TBench& Bench() const { return bench_; }

  // --- Handlers, named after their control and event ------------------------------------------
  void FormCreate();
  void Hacheur1quadrant1Click();
  void Hacheur2quadrantsvisualisationdestensions1Click();
  void Hacheur4quadrantsvisualisationdesintensits1Click();
  void RadioButton1Click();
  void RadioButton8Click();
  void RadioButton2Click();
  void RadioButton3Click();
  void RadioButton4Click();
  void RadioButton5Click();
  void RadioButton6Click();
  void RadioButton7Click();
  void RadioButton12Click();
  void RadioButton13Click();
  void RadioButton10Click();
  void RadioButton9Click();
  // The speed bars, with the position the user has just moved the bar to.
  void ScrollBar1Scroll(int position);
  void ScrollBar2Scroll(int position);
  void ScrollBar3Scroll(int position);
  // The oscilloscope's read-out, measuring cross and tool bar.
  void Chart1MouseMove(int x, int y);
  void Chart1DblClick();
  // A key on the oscilloscope while it holds the focus: cursors and zoom without the mouse.
  void Chart1KeyDown(TScopeKey key);
  void Button1Click();
  void Button2Click();
  void Button3Click();
  // Channel 2: the "Affichage › Voie 2 : courant" entries and the "i(t)" button, which turns
  // the channel off or back on with the last current chosen.
  void Aucune1Click();
  void icourantdumoteur1Click();
  void i2courantctsource1Click();
  void Button6Click();
  // Channel 2's name as the screen shows it ("i", "i1", "i2"); empty while it is off.
  QString CurrentName() const;
  // Pages, dialogs and closing.
  void cours1bases1Click();
  void Cours2approfondissement1Click();
  void ravailfaire1Click();
  void Sommaire1Click();
  void Aidesurlaide1Click();
  void Apropos1Click();
  void FormCloseQuery(bool& canClose);
  // Lab work: the "Fichier" and "Affichage" menus and the "Mesures" button.
  void Enregistrerlcrandeloscilloscope1Click();
  void Exporterlescourbes1Click();
  void Copierlcran1Click();
  void Imprimer1Click();
  void Quitter1Click();
  void Mesures1Click();
  void Contrastelev1Click(bool on);
  void Releverlepoint1Click();
  void Relevs1Click();
  // The readings as a notebook row, from the bench's values.
  TNotebookRow CurrentReadings() const;
  TNotebookModel* Notebook() const;

  // The lab tools behind the "Fichier" and "Affichage" entries: saving, printing, the screen
  // image, the "Mesures" text and the proposed file names.
  TLabTools& LabTools() const { return *labTools_; }
  // The oscilloscope: its traces, cursors and channel 2.
  TScopeView& Scope() const { return *scope_; }

  // The folder of the pages followed by `relativePath` ("\aide\cours1.htm"), opened by the
  // desktop in the user's browser; the program does not wait for it. The folder is the working
  // directory when it holds "aide", else the first other place that does. A page the desktop
  // cannot open is said, with an offer to show it in the program.
  void OpenHelpPage(const char* relativePath);

  // A percentage typed in `box` (Edit1, Edit2 or Edit3) moves its bar there as a drag would;
  // anything else puts the box's value back and says why in its tool tip. Enter and leaving the
  // box both run it.
  void SpeedBoxEntered(QLineEdit* box);

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // --- Construction, in this order ------------------------------------------------------------
  void SetUpWindow();  // the icon, the remarks' place, captions fitted to this font
  void CreateParts();  // the panels, the oscilloscope, the lab tools, the notebook
  void ConnectExperimentHandlers();
  void ConnectToolBar();
  void ConnectLabAndNotebook();
  void ConnectProjector();
  void SetUpKeyboard();
  void CreateDialogs();
  void FollowSession();  // logging off asks the same question as closing
  void SessionEnding(QSessionManager& manager);

  // Runs a handler; an error ends it where it stands and goes to the error box. Channel 2
  // follows and the oscilloscope is described again after it, whatever happened.
  template <class F>
  void RunHandler(F&& handler);
  // Runs `handler` on `signal` through RunHandler: a member function of the window, or a
  // callable taking the window, with the signal's arguments when it takes them.
  template <class Sender, class Signal, class Handler>
  void Wire(Sender* sender, Signal signal, Handler handler);

  std::unique_ptr<Ui::TForm1> ui_;
  TBench bench_;
  std::unique_ptr<TInstruments> instruments_;
  // Before the window's children go: its series hooks are on the chart.
  std::unique_ptr<TScopeView> scope_;
  TControlPanels* panels_ = nullptr;
  TToolBarFit* toolBarFit_ = nullptr;
  TProjectorMode* projector_ = nullptr;
  TLabTools* labTools_ = nullptr;
  TNotebookController* notebook_ = nullptr;
  TAboutBox* AboutBox = nullptr;
  TOKBottomDlg* OKBottomDlg = nullptr;
};

template <class F>
void TForm1::RunHandler(F&& handler) {
  Guarded(std::forward<F>(handler));
  Guarded([this] { scope_->FollowBench(); });
  Guarded([this] { scope_->Describe(); });
}

template <class Sender, class Signal, class Handler>
void TForm1::Wire(Sender* sender, Signal signal, Handler handler) {
  using namespace guarded_detail;
  constexpr bool kMember = std::is_member_function_pointer_v<Handler>;
  using Declared = typename Params<Handler>::Type;
  // A callable takes the window first; the signal's arguments follow.
  using FromSignal = std::conditional_t<kMember, Declared, typename Tail<Declared>::Type>;
  connect(sender, signal, this, Declaring<FromSignal>::Slot([this, handler](auto&... args) {
            RunHandler([&] {
              if constexpr (kMember)
                (this->*handler)(args...);
              else
                handler(this, args...);
            });
          }));
}
