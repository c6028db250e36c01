// SPDX-License-Identifier: GPL-3.0-or-later
// The fuzzers' corpus, replayed: each input is one test row, so a fault found once stays fixed.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <map>
#include <string>
#include <vector>

#include "app/notebook/notebook_file.h"
#include "fuzz/fuzz_inputs.h"

namespace {

struct Input {
  std::string fuzzer;
  QString path;
};

std::vector<Input> Corpus() {
  std::vector<Input> inputs;
  for (const char* fuzzer : {"picture", "chart", "notebook"}) {
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
  const auto size = static_cast<std::size_t>(bytes.size());
  if (GetParam().fuzzer == "picture") {
    FuzzPicture(data, size);
  } else if (GetParam().fuzzer == "notebook") {
    FuzzNotebook(data, size);
  } else {
    FuzzChart(data, size);
  }
}

// Every corpus must be there: an empty list would make this test pass on nothing.
TEST(CorpusReplay, EveryCorpusHasInputs) {
  std::map<std::string, int> counts;
  for (const Input& input : Corpus())
    ++counts[input.fuzzer];
  EXPECT_GE(counts["picture"], 5);
  EXPECT_GE(counts["chart"], 5);
  EXPECT_GE(counts["notebook"], 5);
}

// Notebook files as editors leave them (byte-order mark, carriage returns) or with extreme
// numbers load whole, not put aside; so do the seeds of each version.
TEST(CorpusReplay, NotebookSeedsLoadTheirRows) {
  const struct {
    const char* name;
    std::size_t rows;
  } cases[] = {{"releves_bom_crlf.tsv", 1},     {"releves_near_dbl_max.tsv", 1},
               {"v1-two-rows.tsv", 2},          {"v2-records-and-removal.tsv", 2},
               {"v2-no-last-line-feed.tsv", 2}, {"v2-torn-last-line.tsv", 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("releves.tsv"));
    ASSERT_TRUE(QFile::copy(
        QStringLiteral(SIMHACHEUR_CORPUS_DIR "/notebook/") + QLatin1String(c.name), path));
    QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const TNotebookLoad load = TNotebookFile(path).Load();
    EXPECT_EQ(load.message, QString());
    EXPECT_EQ(load.rows.size(), c.rows);
  }
}

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusReplay, testing::ValuesIn(Corpus()),
                         [](const testing::TestParamInfo<Input>& info) {
                           QString name = QFileInfo(info.param.path).fileName();
                           name.replace(QRegularExpression(QStringLiteral("[^A-Za-z0-9]")), "_");
                           return info.param.fuzzer + "_" + name.toStdString();
                         });

}  // namespace
