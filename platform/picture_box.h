#pragma once

#include <QImage>
#include <QSize>
#include <QWidget>

// The size a picture is drawn at in a box: its own size when it fits, else shrunk to the box
// keeping its proportions, the computed side truncated. Never enlarged.
QSize ScaledPictureSize(QSize picture, QSize box);

// A picture box: draws its picture centred, shrunk to fit by ScaledPictureSize. Where no
// picture covers it, the box is transparent and its parent shows through.
class TPictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit TPictureBox(QWidget* parent = nullptr);

  void SetPicture(const QImage& picture);
  const QImage& Picture() const { return picture_; }
  // Where the picture is drawn in the box's coordinates (empty without a picture).
  QRect PictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage picture_;
};
