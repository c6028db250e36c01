// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <QSize>
#include <QString>
#include <QWidget>
#include <memory>

class QSvgRenderer;

// The size a picture is drawn at in a box: its own size when it fits, else shrunk to the box
// keeping its proportions, the computed side truncated. Never enlarged.
QSize ScaledPictureSize(QSize picture, QSize box);

// The vector drawing beside a picture file: the same path ending in ".svg".
QString VectorSourceOf(const QString& picturePath);

// A picture box: draws its picture centred, shrunk to fit by ScaledPictureSize. Where no
// picture covers it, the box is transparent and its parent shows through. Given the picture's
// vector source too, a high-density screen gets the drawing rendered at its own resolution
// rather than the bitmap enlarged; at ratio 1, or when the source is missing or not a valid
// SVG, the bitmap is what shows.
class TPictureBox : public QWidget {
  Q_OBJECT

 public:
  explicit TPictureBox(QWidget* parent = nullptr);
  ~TPictureBox() override;

  void SetPicture(const QImage& picture, const QString& vectorSource = {});
  const QImage& Picture() const { return picture_; }
  bool HasVectorSource() const { return vector_ != nullptr; }
  // What fills PictureRect() on a device of `ratio` pixels per logical pixel: the bitmap, or
  // the vector source rendered at ratio × the rectangle's size, with that device pixel ratio.
  QImage DisplayedPicture(qreal ratio) const;
  // Where the picture is drawn in the box's coordinates (empty without a picture).
  QRect PictureRect() const;

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QSize PictureSize() const;

  QImage picture_;
  std::unique_ptr<QSvgRenderer> vector_;
  mutable QImage rendered_;  // the last rendering of vector_, kept while size and ratio hold
};
