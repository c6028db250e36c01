#include "app/tool_bar_fit.h"

#include <QApplication>
#include <QEvent>
#include <QLayout>
#include <QPushButton>
#include <QStyle>

namespace {

constexpr int kIconButton = 20;  // square, as high as the tool bar's buttons
constexpr int kCaptionPadding = 12;

}  // namespace

TToolBarFit::TToolBarFit(QWidget* toolBar, QPushButton* measures, QPushButton* record)
    : QObject(toolBar),
      toolBar_(toolBar),
      buttons_{{measures, measures->text(), QStringLiteral("&Mes."), measures->maximumWidth()},
               {record, record->text(), QStringLiteral("&Relever"), record->maximumWidth()}} {
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

// What the tool bar's width leaves once the read-out and the other buttons have theirs.
int TToolBarFit::RoomForButtons() const {
  const QLayout* layout = toolBar_->layout();
  const QMargins margins = layout->contentsMargins();
  int used = margins.left() + margins.right();
  for (int i = 0; i < layout->count(); ++i) {
    const QWidget* widget = layout->itemAt(i)->widget();
    if (widget == nullptr || widget == buttons_[0].button || widget == buttons_[1].button) continue;
    used += layout->itemAt(i)->minimumSize().width();
  }
  return toolBar_->contentsRect().width() - used;
}

int TToolBarFit::ShortWidth(const TButton& b) {
  QString text = b.shortCaption;
  text.remove(QLatin1Char('&'));
  return b.button->fontMetrics().horizontalAdvance(text) + kCaptionPadding;
}

void TToolBarFit::Fit() {
  const int room = RoomForButtons();
  TForm form = TForm::kHidden;
  if (room >= buttons_[0].width + buttons_[1].width)
    form = TForm::kFull;
  else if (room >= ShortWidth(buttons_[0]) + ShortWidth(buttons_[1]))
    form = TForm::kShort;
  else if (room >= 2 * kIconButton)
    form = TForm::kIcons;
  if (form != form_) Apply(form);
}

void TToolBarFit::Apply(TForm form) {
  form_ = form;
  const QStyle::StandardPixmap icons[] = {QStyle::SP_FileDialogInfoView,
                                          QStyle::SP_FileDialogDetailedView};
  for (int i = 0; i < 2; ++i) {
    const TButton& b = buttons_[i];
    QPushButton* button = b.button;
    button->setVisible(form != TForm::kHidden);
    button->setText(form == TForm::kFull    ? b.caption
                    : form == TForm::kShort ? b.shortCaption
                                            : QString());
    button->setIcon(form == TForm::kIcons ? button->style()->standardIcon(icons[i]) : QIcon());
    const int width = form == TForm::kFull    ? b.width
                      : form == TForm::kShort ? ShortWidth(b)
                                              : kIconButton;
    button->setFixedWidth(width);
    QString tip = b.caption;
    tip.remove(QLatin1Char('&'));
    button->setToolTip(form == TForm::kFull ? QString() : tip);
  }
}
