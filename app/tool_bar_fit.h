// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIcon>
#include <QObject>
#include <QString>
#include <vector>

class QEvent;
class QLabel;
class QPushButton;
class QWidget;

// The oscilloscope tool bar's lab buttons ("Mesures", "i(t)", "Relever le point") give way to
// the read-out as the tool bar narrows: short captions, then icons, then nothing but their menu
// entries and keys. Each form says the full caption in its tool tip. Wide enough, the buttons
// stay exactly as laid out. A read-out longer than laid out (channel 2's current after the
// voltage) takes its room first; when even the lab buttons' room would not hold it, its caption
// takes a short form.
class TToolBarFit : public QObject {
 public:
  enum class TForm { kFull, kShort, kIcons, kHidden };

  // A lab button: its caption when room is short, its icon when there is less, and a tool tip
  // of its own (empty: its full caption whenever that is not shown).
  struct TLabButton {
    QPushButton* button;
    QString shortCaption;
    QIcon icon;
    QString toolTip;
  };
  // The read-out: `panel` lays out `caption` and `value` in a row.
  struct TReadOut {
    QWidget* panel;
    QLabel* caption;
    QLabel* value;
    QString shortCaption;
  };

  // `toolBar` lays out the read-out and the buttons in one row; the fit follows its width.
  TToolBarFit(QWidget* toolBar, std::vector<TLabButton> buttons, TReadOut readOut);

  TForm Form() const { return form_; }
  bool ShortReadOutCaption() const { return shortCaption_; }
  // The width the read-out's value needs; 0 for the read-out as laid out.
  void SetValueWidth(int width);
  // Projector mode: the caption keeps its whole text whatever its least width as laid out.
  void SetCaptionWhole(bool whole);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TButton {
    TLabButton lab;
    QString caption;
    int width;  // as laid out
  };
  void Fit();
  // The tool bar's width less what the controls that never give way take.
  int RoomBesideTheButtons() const;
  int CaptionWidth(bool shortCaption) const;
  int ReadOutWidth(bool shortCaption) const;
  void ShowReadOut(bool shortCaption);
  bool IsLabButton(const QWidget* widget) const;
  static int ShortWidth(const TButton& b);
  void Apply(TForm form);

  QWidget* toolBar_;
  std::vector<TButton> buttons_;
  TReadOut readOut_;
  QString caption_;          // the caption's whole text
  int laidOutPanelWidth_;    // the read-out's least width as laid out
  int laidOutCaptionWidth_;  // the caption's
  int valueWidth_ = 0;
  bool captionWhole_ = false;
  bool shortCaption_ = false;
  TForm form_ = TForm::kFull;
};
