// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/tool_bar_fit.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <algorithm>
#include <utility>

namespace {

constexpr int kIconButton = 20;  // square, as high as the tool bar's buttons
constexpr int kCaptionPadding = 12;

}  // namespace

TToolBarFit::TToolBarFit(QWidget* toolBar, std::vector<TLabButton> buttons, TReadOut readOut)
    : QObject(toolBar),
      toolBar_(toolBar),
      readOut_(std::move(readOut)),
      caption_(readOut_.caption->text()),
      laidOutPanelWidth_(readOut_.panel->minimumWidth()),
      laidOutCaptionWidth_(readOut_.caption->minimumWidth()) {
  for (TLabButton& lab : buttons) {
    QPushButton* button = lab.button;
    if (!lab.toolTip.isEmpty()) button->setToolTip(lab.toolTip);
    buttons_.push_back({std::move(lab), button->text(), button->maximumWidth()});
  }
  // Laid out at full width: nothing changes until the tool bar is narrower than that. The
  // window's layout takes the tool bar's width from the room there is, never from the buttons'
  // form of the moment, so a change of form never moves the oscilloscope.
  toolBar->setMinimumWidth(1);
  toolBar->installEventFilter(this);
}

bool TToolBarFit::eventFilter(QObject* watched, QEvent* event) {
  if (watched == toolBar_ && event->type() == QEvent::Resize) Fit();
  return false;
}

void TToolBarFit::SetValueWidth(int width) {
  if (width == valueWidth_) return;
  valueWidth_ = width;
  Fit();
}

void TToolBarFit::SetCaptionWhole(bool whole) {
  captionWhole_ = whole;
  Fit();
}

bool TToolBarFit::IsLabButton(const QWidget* widget) const {
  return std::any_of(buttons_.begin(), buttons_.end(),
                     [widget](const TButton& b) { return b.lab.button == widget; });
}

// Laid out, the read-out is one of the controls that never give way and takes the width its
// panel has; longer, it is counted apart.
int TToolBarFit::RoomBesideTheButtons() const {
  const QLayout* layout = toolBar_->layout();
  const QMargins margins = layout->contentsMargins();
  int used = margins.left() + margins.right();
  for (int i = 0; i < layout->count(); ++i) {
    const QWidget* widget = layout->itemAt(i)->widget();
    if (widget == nullptr || IsLabButton(widget)) continue;
    if (widget == readOut_.panel && valueWidth_ > 0) continue;
    used += layout->itemAt(i)->minimumSize().width();
  }
  return toolBar_->contentsRect().width() - used;
}

int TToolBarFit::CaptionWidth(bool shortCaption) const {
  const QLabel* caption = readOut_.caption;
  const int text =
      caption->fontMetrics().horizontalAdvance(shortCaption ? readOut_.shortCaption : caption_);
  if (shortCaption) return text;
  return captionWhole_ ? text : std::max(text, laidOutCaptionWidth_);
}

int TToolBarFit::ReadOutWidth(bool shortCaption) const {
  const int width = CaptionWidth(shortCaption) + valueWidth_;
  return shortCaption ? width : std::max(width, laidOutPanelWidth_);
}

void TToolBarFit::Fit() {
  int room = RoomBesideTheButtons();
  bool shortCaption = false;
  if (valueWidth_ > 0) {
    shortCaption = room < ReadOutWidth(false);
    room -= ReadOutWidth(shortCaption);
  }
  ShowReadOut(shortCaption);
  int full = 0, shortened = 0;
  for (const TButton& b : buttons_) {
    full += b.width;
    shortened += ShortWidth(b);
  }
  const int icons = static_cast<int>(buttons_.size()) * kIconButton;
  const TForm form = room >= full        ? TForm::kFull
                     : room >= shortened ? TForm::kShort
                     : room >= icons     ? TForm::kIcons
                                         : TForm::kHidden;
  if (form != form_) Apply(form);
}

// As laid out while the value needs no more (the caption whole in projector mode); longer, the
// value, the caption and their panel each get the room they need.
void TToolBarFit::ShowReadOut(bool shortCaption) {
  shortCaption_ = shortCaption;
  QLabel* caption = readOut_.caption;
  caption->setText(shortCaption ? readOut_.shortCaption : caption_);
  const bool laidOut = valueWidth_ == 0;
  const int wholeCaption = captionWhole_ ? caption->sizeHint().width() : laidOutCaptionWidth_;
  caption->setMinimumWidth(laidOut ? wholeCaption : CaptionWidth(shortCaption));
  readOut_.value->setMinimumWidth(laidOut ? 0 : valueWidth_);
  readOut_.panel->setMinimumWidth(laidOut ? laidOutPanelWidth_ : ReadOutWidth(shortCaption));
}

int TToolBarFit::ShortWidth(const TButton& b) {
  QString text = b.lab.shortCaption;
  text.remove(QLatin1Char('&'));
  // A caption that is short already keeps its own width.
  return std::min(b.width, b.lab.button->fontMetrics().horizontalAdvance(text) + kCaptionPadding);
}

void TToolBarFit::Apply(TForm form) {
  form_ = form;
  for (const TButton& b : buttons_) {
    QPushButton* button = b.lab.button;
    button->setVisible(form != TForm::kHidden);
    button->setText(form == TForm::kFull    ? b.caption
                    : form == TForm::kShort ? b.lab.shortCaption
                                            : QString());
    button->setIcon(form == TForm::kIcons ? b.lab.icon : QIcon());
    const int width = form == TForm::kFull    ? b.width
                      : form == TForm::kShort ? ShortWidth(b)
                                              : kIconButton;
    button->setFixedWidth(width);
    QString tip = b.caption;
    tip.remove(QLatin1Char('&'));
    button->setToolTip(!b.lab.toolTip.isEmpty() ? b.lab.toolTip
                       : form == TForm::kFull   ? QString()
                                                : tip);
  }
}
