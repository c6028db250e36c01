// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMainWindow>
#include <QPair>
#include <QString>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <type_traits>
#include <utility>

#include "app/data_folders.h"
#include "app/guarded.h"
#include "chart/series/fast_line_series.h"
#include "platform/color.h"
#include "sim/bench.h"

namespace Ui {
class TForm1;
}
class QCloseEvent;
class QImage;
class QLineEdit;
class QPrinter;
class QRadioButton;
class TAboutBox;
class TCurrentChannel;
class TLabTools;
class TNotebookController;
class TNotebookModel;
struct TNotebookRow;
struct TMeasuresText;
class TOKBottomDlg;
class TScopeKeys;
class TToolBarFit;
class TWatchedTrace;
enum class TCurrentProbe;
enum class TScopeCursor;
enum class TScopeKey;
class QScrollBar;
class QSessionManager;
class QWidget;

// The main window: the oscilloscope, the instruments, the wiring picture and the control panels
// of the bench. Its handlers do the widgets' part and ask the bench for the rest; the bench
// writes its readings back through ShowReading and its traces into Series1 and Series4. The lab
// tools (files, printing, measures, cursor B, projector mode) and the readings notebook are
// objects of their own that the window creates and runs its menus through.
class TForm1 : public QMainWindow, private TBenchOutput {
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
  void SetUpWindow();        // the icon, the remarks' place, captions fitted to this font
  void SetUpOscilloscope();  // the screen's settings, its four traces, the bench on them
  void CreateLabTools();
  void CreateNotebook();
  void ConnectHandlers();  // every menu, button, bar and chart event to its handler
  void SetAccessibleNames();
  void SetUpKeyboard();
  void CenterOnScreen();
  void CreateDialogs();
  void FollowSession();  // logging off asks the same question as closing
  void SessionEnding(QSessionManager& manager);

  void ConnectExperimentHandlers();
  void ConnectToolBar();
  void ConnectLabAndNotebook();
  void NameControls();
  void NamePanels();
  void FitCaptions();
  void ShowReading(TInstrument instrument, const std::string& text) override;
  void SetTabOrder();
  void ShowFocusFrames();
  void OpenMenuBarByKeyboard();
  QScrollBar* BarOfBox(const QLineEdit* box) const;
  // The oscilloscope by keyboard: the cursors go from sample to sample of the trace.
  void TakeCursor(TScopeCursor cursor);
  void MoveCursor(int direction, bool byDivision);
  void ZoomAroundCursor(double factor);
  // Where `cursor` is (ms, V); false when it is not set.
  bool CursorPoint(TScopeCursor cursor, double& time, double& voltage) const;
  void PlaceCursor(TScopeCursor cursor, double time, double voltage);
  // The measuring cross (cursor A) at (`time`, `voltage`), across the ranges shown; the
  // read-out becomes relative to it.
  void PlaceCursorA(double time, double voltage);
  // The read-out for the point (`time`, `voltage`), relative to the cross as for the pointer;
  // with channel 2 on, the right axis's value there too.
  void ShowReadOut(double time, double voltage);
  // Channel 2 as chosen: the menu, the button, the read-out's room and the trace.
  void ChooseCurrent(TCurrentProbe probe);
  void ShowCurrentChoice();
  // The read-out keeps every character of its longest text, the tool bar's buttons giving way.
  void FitReadOut();
  // After each handler: channel 2 follows a trace the bench rewrote.
  void FollowBench();
  // The oscilloscope in words for screen readers, after every handler.
  void DescribeScope();
  // Where "image" (with pictures) or "aide" (with pages) is, looked for again each time.
  TDataFolder DataFolder(const char* name) const;
  void ReportMissingDataFolders();
  // What the lab tools print and name their files after: the choices and set-points shown,
  // named as their panels, in the screen's order; the instruments with their units.
  QList<QPair<QString, QString>> SettingsList() const;
  QList<QPair<QString, QString>> InstrumentReadings() const;

  // The window's part of the handlers, around the bench's.
  void ChooseExperiment(TExperiment experiment, const char* picture);
  void ResetSpeedControls(bool fourQuadrant);
  void ShowExperimentPanels(TExperiment experiment);
  void ChooseWiring(TWiring wiring, const char* twoQuadrantPicture, const char* oneQuadrantPicture);
  void ChooseMachine(TDrivingMachine machine);
  void ChooseMachineDirection(TDirection direction);
  void MachineSpeedBarScroll(QLineEdit* box, int position);
  void ResetMachineBars();
  QString ReadOutText(double voltage, double time) const;

  // Loads "image/..." into the picture box; raises the picture error when it cannot.
  void LoadPicture(const char* path);
  void SetPanelsLocked(std::initializer_list<QWidget*> panels, bool locked);
  static void SetPanelColor(QWidget* panel, TColor color);
  static void ClearSelection(std::initializer_list<QRadioButton*> buttons);
  static void SetBarPosition(QScrollBar* bar, int position);

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
  // Series4, Series1, Series7, Series2, Series3: the drawing order of the oscilloscope.
  TFastLineSeries* Series1 = nullptr;
  TFastLineSeries* Series2 = nullptr;
  TFastLineSeries* Series3 = nullptr;
  TFastLineSeries* Series4 = nullptr;
  // Channel 2's trace, on the right axis, drawn after Series1 and before the cross.
  TFastLineSeries* Series7 = nullptr;
  std::unique_ptr<TSeriesTrace<TFastLineSeries>> trace1_;
  std::unique_ptr<TSeriesTrace<TFastLineSeries>> trace4_;
  // The bench writes Series1 through it, so channel 2 knows when to follow.
  std::unique_ptr<TWatchedTrace> watchedTrace1_;
  std::unique_ptr<TCurrentChannel> currentChannel_;
  // The read-out's last differences (V, ms), once it has shown one: a change of channel 2
  // writes it again with the current's name, or without it.
  std::optional<std::pair<double, double>> readOutShown_;
  TToolBarFit* toolBarFit_ = nullptr;
  TLabTools* labTools_ = nullptr;
  TNotebookController* notebook_ = nullptr;
  TScopeKeys* scopeKeys_ = nullptr;
  TAboutBox* AboutBox = nullptr;
  TOKBottomDlg* OKBottomDlg = nullptr;
  // Set once the folders' absence has been said: pictures are then skipped without a word.
  bool imagesMissing_ = false;
};

template <class F>
void TForm1::RunHandler(F&& handler) {
  Guarded(std::forward<F>(handler));
  Guarded([this] { FollowBench(); });
  Guarded([this] { DescribeScope(); });
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
