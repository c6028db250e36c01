#pragma once

#include <QObject>
#include <QString>

class QEvent;
class QPushButton;
class QWidget;

// The oscilloscope tool bar's two lab buttons ("Mesures", "Relever le point") give way to the
// read-out as the tool bar narrows: short captions, then icons, then nothing but their menu
// entries and keys. Each form says the full caption in its tool tip. Wide enough, the buttons
// stay exactly as laid out.
class TToolBarFit : public QObject {
 public:
  enum class TForm { kFull, kShort, kIcons, kHidden };

  // `toolBar` lays out the read-out and the buttons in one row; the fit follows its width.
  TToolBarFit(QWidget* toolBar, QPushButton* measures, QPushButton* record);

  TForm Form() const { return form_; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  struct TButton {
    QPushButton* button;
    QString caption, shortCaption;
    int width;  // as laid out
  };
  void Fit();
  int RoomForButtons() const;
  static int ShortWidth(const TButton& b);
  void Apply(TForm form);

  QWidget* toolBar_;
  TButton buttons_[2];
  TForm form_ = TForm::kFull;
};
