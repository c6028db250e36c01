#include "platform/picture_box.h"

#include <QPainter>

QSize ScaledPictureSize(QSize picture, QSize box) {
  const int w = picture.width(), h = picture.height();
  if (w <= 0 || h <= 0) return {0, 0};
  if (w <= box.width() && h <= box.height()) return picture;
  const double ratio = static_cast<double>(w) / h;
  int width, height;
  if (w > h) {
    width = box.width();
    height = static_cast<int>(box.width() / ratio);
    if (height > box.height()) {
      height = box.height();
      width = static_cast<int>(box.height() * ratio);
    }
  } else {
    height = box.height();
    width = static_cast<int>(box.height() * ratio);
    if (width > box.width()) {
      width = box.width();
      height = static_cast<int>(box.width() / ratio);
    }
  }
  return {width, height};
}

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

void TPictureBox::SetPicture(const QImage& picture) {
  picture_ = picture;
  update();
}

QRect TPictureBox::PictureRect() const {
  if (picture_.isNull()) return {};
  const QSize size = ScaledPictureSize(picture_.size(), this->size());
  return {(width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
          size.height()};
}

void TPictureBox::paintEvent(QPaintEvent*) {
  if (picture_.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  painter.drawImage(PictureRect(), picture_);
}
