// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/picture_box.h"

#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <cmath>

#include "platform/canvas.h"

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

QString VectorSourceOf(const QString& picturePath) {
  const qsizetype slash = std::max(picturePath.lastIndexOf(QLatin1Char('/')),
                                   picturePath.lastIndexOf(QLatin1Char('\\')));
  const qsizetype dot = picturePath.lastIndexOf(QLatin1Char('.'));
  return (dot > slash ? picturePath.left(dot) : picturePath) + QStringLiteral(".svg");
}

TPictureBox::TPictureBox(QWidget* parent) : QWidget(parent) {}

TPictureBox::~TPictureBox() = default;

void TPictureBox::SetPicture(const QImage& picture, const QString& vectorSource) {
  picture_ = picture;
  vector_.reset();
  rendered_ = QImage();
  if (!vectorSource.isEmpty() && QFileInfo::exists(vectorSource)) {
    auto renderer = std::make_unique<QSvgRenderer>(vectorSource);
    if (renderer->isValid() && !renderer->defaultSize().isEmpty()) vector_ = std::move(renderer);
  }
  update();
}

// The bitmap's size decides the layout, so both renderings occupy the same rectangle.
QSize TPictureBox::PictureSize() const {
  if (!picture_.isNull()) return picture_.size();
  return vector_ ? vector_->defaultSize() : QSize();
}

QImage TPictureBox::DisplayedPicture(qreal ratio) const {
  if (ratio <= 1 || !vector_) return picture_;
  const QSize logical = PictureRect().size();
  const QSize device(static_cast<int>(std::ceil(logical.width() * ratio)),
                     static_cast<int>(std::ceil(logical.height() * ratio)));
  if (device.isEmpty()) return picture_;
  if (rendered_.size() == device && rendered_.devicePixelRatio() == ratio) return rendered_;
  // On white, as the bitmaps were drawn.
  QImage image(device, QImage::Format_RGB32);
  image.fill(Qt::white);
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  vector_->render(&painter, QRectF(QPointF(0, 0), QSizeF(device)));
  painter.end();
  image.setDevicePixelRatio(ratio);
  rendered_ = image;
  return rendered_;
}

QRect TPictureBox::PictureRect() const {
  const QSize picture = PictureSize();
  if (picture.isEmpty()) return {};
  const QSize size = ScaledPictureSize(picture, this->size());
  return {(width() - size.width()) / 2, (height() - size.height()) / 2, size.width(),
          size.height()};
}

void TPictureBox::paintEvent(QPaintEvent*) {
  if (PictureSize().isEmpty()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  const QImage shown = DisplayedPicture(PaintDeviceRatio(painter));
  if (!shown.isNull()) painter.drawImage(PictureRect(), shown);
}
