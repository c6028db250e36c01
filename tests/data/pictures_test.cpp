// SPDX-License-Identifier: GPL-3.0-or-later
// The wiring pictures in the run folder: exactly the nine names the program loads (é as one
// character), each perhaps with its SVG source, each a JPEG that libjpeg decodes into a drawing of
// the expected size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>

#include "data_paths.h"
#include "jpeg_file.h"
#include "sim/number_text.h"

namespace fs = std::filesystem;

namespace {

// Written with the code point, so a name spelt with "e" and a combining accent cannot match.
const char* const kPictures[] = {"vide0.jpg",
                                 "vide.jpg",
                                 "nonbranch\u00e9.jpg",
                                 "branch\u00e9.jpg",
                                 "branch\u00e9self.jpg",
                                 "1nonbranch\u00e9.jpg",
                                 "1branch\u00e9.jpg",
                                 "1branch\u00e9self.jpg",
                                 "ampere4q.jpg"};

fs::path ImageDir() {
  return RunDir() / "image";
}

// Beside each picture may lie its drawing's SVG source, which high-density screens draw from.
TEST(WiringPictures, RunFolderHoldsExactlyTheNineNames) {
  std::set<std::string> found;
  for (const fs::directory_entry& entry : fs::directory_iterator(ImageDir())) {
    fs::path name = entry.path().filename();
    if (name.extension() == ".svg") name.replace_extension(".jpg");
    found.insert(name.string());
  }
  const std::set<std::string> expected(std::begin(kPictures), std::end(kPictures));
  EXPECT_EQ(found, expected);
}

TEST(WiringPictures, NamesAreUtf8WithAPrecomposedEAcute) {
  // The bytes on disk, not just what a terminal shows: é is C3 A9, never "e" + U+0301.
  EXPECT_EQ(std::string(kPictures[3]), std::string("branch\xC3\xA9.jpg"));
  EXPECT_TRUE(fs::is_regular_file(ImageDir() / "branch\xC3\xA9.jpg"));
  EXPECT_FALSE(fs::exists(ImageDir() / "branche\xCC\x81.jpg"));
}

class EachPicture : public testing::TestWithParam<const char*> {};

std::string PictureName(const testing::TestParamInfo<const char*>& info) {
  std::string name;
  for (const char* c = info.param; *c != '.'; ++c)
    name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : 'e';  // é -> "ee", readable
  return name;
}

TEST_P(EachPicture, DecodesWithLibjpegAtTheDiagramSize) {
  const DecodedJpeg image = DecodeJpeg(ImageDir() / GetParam());
  EXPECT_EQ(image.components, 3);
  // Sized for the picture area of a maximised window; the pages show them at this size too.
  EXPECT_EQ(image.width, 600);
  EXPECT_EQ(image.height, 270);
}

// Every label of the drawing is at least 11 px high, so it stays legible in the picture box.
TEST_P(EachPicture, LabelsAreAtLeastElevenPixelsHigh) {
  std::string name = GetParam();
  name.replace(name.size() - 3, 3, "svg");
  std::ifstream file(SourceDir() / "image" / name);
  const std::string svg{std::istreambuf_iterator<char>(file), {}};
  ASSERT_FALSE(svg.empty()) << name;
  const std::string attribute = "font-size=\"";
  int labels = 0;
  for (std::size_t at = svg.find(attribute); at != std::string::npos;
       at = svg.find(attribute, at + 1), ++labels) {
    const std::size_t start = at + attribute.size();
    const std::string value = svg.substr(start, svg.find('"', start) - start);
    // Read without the C library, whose locale would stop at the point of "11.5".
    EXPECT_GE(ParseDecimal(value).value_or(0), 11) << name << ": font-size=" << value;
  }
  EXPECT_GT(labels, 0) << name;
}

TEST_P(EachPicture, IsADrawingOnWhitePaper) {
  const DecodedJpeg image = DecodeJpeg(ImageDir() / GetParam());
  long white = 0, ink = 0, coloured = 0;
  for (int y = 0; y < image.height; ++y)
    for (int x = 0; x < image.width; ++x) {
      const unsigned char* p = image.At(x, y);
      const int low = std::min({p[0], p[1], p[2]}), high = std::max({p[0], p[1], p[2]});
      if (low > 235) ++white;
      if (high < 90) ++ink;
      if (high - low > 80) ++coloured;
    }
  const double area = static_cast<double>(image.width) * image.height;
  // Mostly paper, with lines and lettering in black and a few colours: a blank or a black
  // picture (a drawing that failed to render) fails here.
  EXPECT_GT(white / area, 0.55) << "background";
  EXPECT_GT(ink / area, 0.01) << "black lines and text";
  EXPECT_GT(coloured / area, 0.002) << "coloured parts";
}

INSTANTIATE_TEST_SUITE_P(WiringPictures, EachPicture, testing::ValuesIn(kPictures), PictureName);

}  // namespace
