// SPDX-License-Identifier: GPL-3.0-or-later
// The course and help pages in the run folder: the names the program opens, well-formed HTML5 in
// French and UTF-8, and links and pictures that all lead somewhere.
#include <gtest/gtest.h>

#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <filesystem>
#include <set>
#include <string>
#include <utility>

#include "data_paths.h"
#include "html_page.h"

namespace fs = std::filesystem;

namespace {

// The pages the program hands to the browser, by the names its menus and buttons use, and the
// teacher's answers to the work sheet.
const char* const kPages[] = {"index.htm",   "cours1.htm",      "cours2.htm",
                              "travail.htm", "aideoscillo.htm", "corrige.htm"};
const char kAnswers[] = "corrige.htm";

const QString kXhtml = QStringLiteral("http://www.w3.org/1999/xhtml");

// HTML5 elements a page may use; anything else is a typo or an obsolete element.
const QSet<QString> kHtmlElements = {
    "html", "head",   "title",  "meta",       "link",    "style",   "body",  "nav",
    "main", "header", "footer", "section",    "article", "aside",   "h1",    "h2",
    "h3",   "h4",     "p",      "ul",         "ol",      "li",      "dl",    "dt",
    "dd",   "div",    "span",   "a",          "em",      "strong",  "b",     "i",
    "sub",  "sup",    "var",    "samp",       "kbd",     "code",    "abbr",  "br",
    "hr",   "img",    "figure", "figcaption", "table",   "caption", "thead", "tbody",
    "tr",   "th",     "td",     "blockquote", "small",   "q",       "cite",  "dfn",
    "mark", "wbr"};

fs::path AideDir() {
  return RunDir() / "aide";
}

fs::path PathOf(const QString& relative, const fs::path& from) {
  return (from.parent_path() / fs::path(relative.toStdString())).lexically_normal();
}

class EachPage : public testing::TestWithParam<const char*> {
 protected:
  fs::path Path() const { return AideDir() / GetParam(); }
};

std::string PageName(const testing::TestParamInfo<const char*>& info) {
  std::string name = info.param;
  return name.substr(0, name.find('.'));
}

TEST(CoursePages, RunFolderHoldsThePagesTheProgramOpens) {
  for (const char* page : kPages)
    EXPECT_TRUE(fs::is_regular_file(AideDir() / page)) << page;
}

TEST_P(EachPage, IsWellFormedFrenchUtf8Html5) {
  const HtmlPage page(Path());
  ASSERT_TRUE(page.IsWellFormed()) << page.Error().toStdString();
  EXPECT_TRUE(page.IsUtf8()) << "not plain UTF-8 (bad bytes or a byte-order mark)";
  EXPECT_EQ(page.Doctype().toStdString(), "<!DOCTYPE html>");

  const PageElement& root = page.Elements().front();
  EXPECT_EQ(root.name.toStdString(), "html");
  EXPECT_EQ(root.namespaceUri, kXhtml);
  EXPECT_EQ(root.Attribute("lang").toStdString(), "fr");
  EXPECT_EQ(root.Attribute("xml:lang").toStdString(), "fr");

  // The charset must be the first thing in the head so a browser knows it before any text.
  const PageElement& first = page.Elements().at(2);
  EXPECT_EQ(first.name.toStdString(), "meta");
  EXPECT_EQ(first.parent.toStdString(), "head");
  EXPECT_EQ(first.Attribute("charset").toLower().toStdString(), "utf-8");

  EXPECT_EQ(page.Named("title").size(), 1u);
  EXPECT_FALSE(page.Title().trimmed().isEmpty());
  EXPECT_EQ(page.Named("body").size(), 1u);
}

TEST_P(EachPage, UsesOnlyHtml5ElementsAndUniqueIds) {
  const HtmlPage page(Path());
  ASSERT_TRUE(page.IsWellFormed()) << page.Error().toStdString();
  for (const PageElement& e : page.Elements()) {
    if (e.namespaceUri != kXhtml) continue;  // inline SVG and MathML have their own elements
    EXPECT_TRUE(kHtmlElements.contains(e.name))
        << "<" << e.name.toStdString() << "> at line " << e.line;
  }
  std::set<QString> seen;
  for (const QString& id : page.Ids())
    EXPECT_TRUE(seen.insert(id).second) << id.toStdString();
  for (const PageElement* img : page.Named("img"))
    EXPECT_FALSE(img->Attribute("alt").trimmed().isEmpty())
        << "image without text, line " << img->line;
}

TEST_P(EachPage, EveryLinkAndPictureResolves) {
  const HtmlPage page(Path());
  ASSERT_TRUE(page.IsWellFormed()) << page.Error().toStdString();
  int checked = 0;
  for (const PageElement& e : page.Elements()) {
    for (const char* attribute : {"href", "src"}) {
      if (!e.Has(attribute)) continue;
      const QUrl url(e.Attribute(attribute));
      ASSERT_TRUE(url.isValid()) << e.Attribute(attribute).toStdString();
      ASSERT_TRUE(url.isRelative())
          << "the pages must work without a network: " << url.toString().toStdString();
      ++checked;
      const fs::path target = url.path().isEmpty() ? Path() : PathOf(url.path(), Path());
      ASSERT_TRUE(fs::is_regular_file(target))
          << "line " << e.line << ": " << url.toString().toStdString();
      if (url.hasFragment()) {
        const HtmlPage linked(target);
        EXPECT_TRUE(linked.Ids().contains(url.fragment()))
            << "line " << e.line << ": no id \"" << url.fragment().toStdString() << "\" in "
            << target.filename().string();
      }
    }
  }
  EXPECT_GT(checked, 5) << "a page without its menu of pages";
}

TEST_P(EachPage, WritesDecimalsWithAComma) {
  const HtmlPage page(Path());
  ASSERT_TRUE(page.IsWellFormed()) << page.Error().toStdString();
  const QRegularExpression pointDecimal(QStringLiteral("\\d\\.\\d"));
  const QRegularExpressionMatch match = pointDecimal.match(page.Prose());
  EXPECT_FALSE(match.hasMatch()) << "\"" << match.captured().toStdString() << "\"";
}

// French typography in the text we wrote (the program's own captions are quoted as they read):
// each rule is a pattern that must not occur.
struct TypographyRule {
  const char* what;
  const char* pattern;
};
const TypographyRule kTypography[] = {
    {"narrow no-break space before ; ! ? »", R"((?<!\x{202F})[;!?»])"},
    {"narrow no-break space after «", R"(«(?!\x{202F}))"},
    {"no-break space before :", R"((?<!\x{A0}):)"},
    {"number and unit held together by a no-break space",
     R"(\d[ \t\r\n\x{202F}]*(?:V|A|W|Ω|ms|µs|s|Hz|%|tr/min)(?![\p{L}\d/'’]))"},
    {"a formula that can break at =, ·, ×, /, ≈, <, >, ≤ or ≥",
     R"([ \t\r\n][=·×/≈<>≤≥]|[=·×/≈<>≤≥][ \t\r\n])"},
    {"a formula that can break at a + or − between spaces",
     R"([ \t\r\n][+−][ \t\r\n\x{A0}\x{202F}]|[ \t\r\n\x{A0}\x{202F}][+−][ \t\r\n])"},
    {"tr/min, not tr/mn", "tr/mn"},
    {"1re, 2e, not 1ère, 2ème", R"(\d(?:ère|ème|ième))"},
};

TEST_P(EachPage, FollowsFrenchTypography) {
  const HtmlPage page(Path());
  ASSERT_TRUE(page.IsWellFormed()) << page.Error().toStdString();
  const QString text = page.OwnText();
  for (const TypographyRule& rule : kTypography) {
    const QRegularExpression fault(QString::fromUtf8(rule.pattern),
                                   QRegularExpression::UseUnicodePropertiesOption);
    ASSERT_TRUE(fault.isValid()) << rule.pattern;
    for (auto it = fault.globalMatch(text); it.hasNext();) {
      const QRegularExpressionMatch m = it.next();
      ADD_FAILURE() << rule.what << ": \"" << text.mid(m.capturedStart() - 25, 50).toStdString()
                    << "\"";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(CoursePages, EachPage, testing::ValuesIn(kPages), PageName);

// The answers are for the teacher: listed in the contents, never linked from a student's page.
TEST(CoursePages, OnlyTheContentsLeadToTheAnswers) {
  for (const char* name : kPages) {
    const HtmlPage page(AideDir() / name);
    bool linked = false;
    for (const PageElement* a : page.Named("a"))
      linked = linked || QUrl(a->Attribute("href")).path() == QLatin1String(kAnswers);
    const bool contents = std::string(name) == "index.htm";
    EXPECT_EQ(linked, contents) << name;
  }
}

// The current of the oscilloscope's channel 2: developed in both courses and in the help on the
// oscilloscope, asked about in each experiment of the work sheet and answered part by part, with
// the inductance given as a value chosen for the simulation.
TEST(CoursePages, TheCurrentChannelHasItsSectionsAndAQuestionInEachPart) {
  const std::pair<const char*, const char*> sections[] = {{"cours1.htm", "courant"},
                                                          {"cours1.htm", "courant-voie2"},
                                                          {"cours1.htm", "inductance-choisie"},
                                                          {"cours2.htm", "courant-pont"},
                                                          {"cours2.htm", "courants-4q"},
                                                          {"aideoscillo.htm", "voie2"}};
  for (const auto& [name, id] : sections)
    EXPECT_TRUE(HtmlPage(AideDir() / name).Ids().contains(id)) << name << " has no #" << id;

  const QRegularExpression chosen(QStringLiteral("choisies?\\s+pour\\s+la\\s+simulation"));
  for (const char* name : {"cours1.htm", "cours2.htm", "aideoscillo.htm", "corrige.htm"})
    EXPECT_TRUE(HtmlPage(AideDir() / name).Prose().contains(chosen)) << name;

  const QRegularExpression channel(QStringLiteral("voie[\\s\\x{A0}]2"),
                                   QRegularExpression::CaseInsensitiveOption);
  const QStringList parts = {"1. Hacheur 1 quadrant", "2. Hacheur 2 quadrants",
                             "3. Hacheur 4 quadrants", "4. Bilan"};
  for (const char* name : {"travail.htm", kAnswers}) {
    const QString prose = HtmlPage(AideDir() / name).Prose();
    for (qsizetype p = 0; p + 1 < parts.size(); ++p) {
      const qsizetype begin = prose.indexOf(parts[p]), end = prose.indexOf(parts[p + 1]);
      ASSERT_TRUE(begin >= 0 && end > begin) << name << ": " << parts[p].toStdString();
      EXPECT_TRUE(prose.mid(begin, end - begin).contains(channel))
          << name << ": nothing on channel 2 in " << parts[p].toStdString();
    }
  }
}

TEST(CoursePages, EveryPageIsReachableFromTheContentsAndLeadsBack) {
  std::set<std::string> reached;
  const HtmlPage index(AideDir() / "index.htm");
  for (const PageElement* a : index.Named("a"))
    reached.insert(QUrl(a->Attribute("href")).path().toStdString());
  for (const char* page : kPages) {
    EXPECT_TRUE(reached.count(page)) << "the contents do not link " << page;
    const HtmlPage other(AideDir() / page);
    bool back = false;
    for (const PageElement* a : other.Named("a"))
      back = back || QUrl(a->Attribute("href")).path() == u"index.htm";
    EXPECT_TRUE(back) << page << " has no way back to the contents";
  }
}

}  // namespace
