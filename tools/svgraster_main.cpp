// SPDX-License-Identifier: GPL-3.0-or-later
// Build tool: turns one SVG drawing into a JPEG picture (through libjpeg) or a PNG icon.
//   svgraster input.svg output.jpg [width height]
#include <QFile>
#include <QGuiApplication>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "tools/jpeg_writer.h"
#include "tools/svg_raster.h"

namespace {

int Usage() {
  std::fputs("usage: svgraster input.svg output.jpg|output.png [width height]\n", stderr);
  return 2;
}

void WritePng(const QImage& image, const QString& path) {
  QImageWriter writer(path, "png");
  if (!writer.write(image)) throw std::runtime_error(writer.errorString().toStdString());
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3 && argc != 5) return Usage();
  // A build machine has no display; text still needs the font database of a GUI application.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  // Nor, often, a login session: a private runtime folder spares a warning on every picture.
  QTemporaryDir runtime;
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
  QGuiApplication app(argc, argv);

  const QString input = QString::fromLocal8Bit(argv[1]);
  const std::filesystem::path output(argv[2]);
  QSize size;
  if (argc == 5) size = QSize(std::atoi(argv[3]), std::atoi(argv[4]));
  try {
    // Icons keep their transparent corners; pictures are laid on white paper.
    if (output.extension() == ".png")
      WritePng(RenderSvg(input, size, Qt::transparent), QString::fromStdString(output.string()));
    else
      WriteJpeg(RenderSvg(input, size), output);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "svgraster: %s\n", error.what());
    std::error_code ignored;
    std::filesystem::remove(output, ignored);  // no half-written picture for the next build
    return 1;
  }
  return 0;
}
