// The fuzzers' corpus, replayed: each input is one test row, so a fault found once stays fixed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <string>
#include <vector>

#include "fuzz/fuzz_inputs.h"

namespace {

struct Input {
  std::string fuzzer;
  QString path;
};

std::vector<Input> Corpus() {
  std::vector<Input> inputs;
  for (const char* fuzzer : {"picture", "chart"}) {
    const QDir dir(QStringLiteral(SIMHACHEUR_CORPUS_DIR "/") + QLatin1String(fuzzer));
    for (const QString& name : dir.entryList(QDir::Files, QDir::Name))
      inputs.push_back({fuzzer, dir.filePath(name)});
  }
  return inputs;
}

void PrintTo(const Input& input, std::ostream* out) {
  *out << input.path.toStdString();
}

class CorpusReplay : public testing::TestWithParam<Input> {};

TEST_P(CorpusReplay, RunsThroughWithoutAFault) {
  QFile file(GetParam().path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
  if (GetParam().fuzzer == "picture") {
    FuzzPicture(data, static_cast<std::size_t>(bytes.size()));
  } else {
    FuzzChart(data, static_cast<std::size_t>(bytes.size()));
  }
}

// Both corpora must be there: an empty list would make this test pass on nothing.
TEST(CorpusReplay, BothCorporaHaveInputs) {
  int pictures = 0, charts = 0;
  for (const Input& input : Corpus())
    ++(input.fuzzer == "picture" ? pictures : charts);
  EXPECT_GE(pictures, 5);
  EXPECT_GE(charts, 5);
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, testing::ValuesIn(Corpus()),
                         [](const testing::TestParamInfo<Input>& info) {
                           QString name = QFileInfo(info.param.path).fileName();
                           name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), "_");
                           return info.param.fuzzer + "_" + name.toStdString();
                         });

}  // namespace
