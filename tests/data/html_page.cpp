// SPDX-License-Identifier: GPL-3.0-or-later
#include "html_page.h"

#include <QFile>
#include <QStringDecoder>
#include <QXmlStreamReader>

#include <algorithm>

namespace {

const QString kXhtml = QStringLiteral("http://www.w3.org/1999/xhtml");

// Text inside these is drawing, formula or code, not prose.
bool HidesProse(const QString& name, const QString& namespaceUri) {
  return namespaceUri != kXhtml || name == u"style" || name == u"script";
}

// What the program itself writes, quoted as it reads; its typography is not ours to fix.
bool QuotesProgram(const PageElement& e) {
  static const QStringList kClasses = {"programme", "menu-programme", "bouton"};
  const QStringList classes = e.Attribute("class").split(u' ', Qt::SkipEmptyParts);
  return e.name == u"samp" || e.name == u"kbd" || e.name == u"code" ||
         std::any_of(classes.begin(), classes.end(),
                     [](const QString& c) { return kClasses.contains(c); });
}

// Elements whose text does not run on into the next one's.
bool EndsText(const QString& name) {
  static const QStringList kBlocks = {"title", "p",  "li", "td", "th", "caption", "figcaption",
                                      "h1",    "h2", "h3", "dt", "dd", "div",     "tr"};
  return kBlocks.contains(name);
}

const QChar kSeam(0xFFFC);

}  // namespace

HtmlPage::HtmlPage(const std::filesystem::path& path) {
  QFile file(QString::fromStdString(path.string()));
  if (!file.open(QIODevice::ReadOnly)) {
    error_ = QStringLiteral("cannot open the file");
    return;
  }
  const QByteArray bytes = file.readAll();
  QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
  const QString text = decoder.decode(bytes);
  // A byte-order mark would come before the doctype, which HTML forbids in XML syntax.
  isUtf8_ = !decoder.hasError() && !text.startsWith(QChar(0xFEFF));
  Parse(bytes);
}

void HtmlPage::Parse(const QByteArray& bytes) {
  QXmlStreamReader xml(bytes);
  struct Open {
    QString name;
    bool hidden;   // not prose at all
    bool program;  // the program's own text
  };
  std::vector<Open> open;
  PageTable* table = nullptr;
  bool inHead = false;
  QStringList* row = nullptr;
  QString* cell = nullptr;
  bool inBody = false;

  while (!xml.atEnd()) {
    switch (xml.readNext()) {
      case QXmlStreamReader::DTD:
        doctype_ = xml.text().toString();
        break;
      case QXmlStreamReader::StartElement: {
        PageElement element;
        element.name = xml.name().toString();
        element.namespaceUri = xml.namespaceUri().toString();
        element.parent = open.empty() ? QString() : open.back().name;
        element.line = xml.lineNumber();
        for (const QXmlStreamAttribute& a : xml.attributes())
          element.attributes[a.qualifiedName().toString()] = a.value().toString();
        const bool hidden =
            (!open.empty() && open.back().hidden) || HidesProse(element.name, element.namespaceUri);
        const bool program = (!open.empty() && open.back().program) || QuotesProgram(element);
        if (!hidden && (program || EndsText(element.name))) ownText_ += kSeam;
        if (element.name == u"table") {
          tables_.push_back({element.Attribute("data-banc"), {}, {}});
          table = &tables_.back();
        } else if (element.name == u"thead") {
          inHead = true;
        } else if (element.name == u"tbody") {
          inBody = true;
        } else if (element.name == u"tr" && table != nullptr && inHead) {
          table->header.clear();
          row = &table->header;
        } else if (element.name == u"tr" && table != nullptr && inBody) {
          table->rows.emplace_back();
          row = &table->rows.back();
        } else if ((element.name == u"td" || element.name == u"th") && row != nullptr) {
          row->append(QString());
          cell = &row->last();
        }
        open.push_back({element.name, hidden, program});
        elements_.push_back(std::move(element));
        break;
      }
      case QXmlStreamReader::EndElement: {
        const QString name = open.back().name;
        if (!open.back().hidden && (open.back().program || EndsText(name))) ownText_ += kSeam;
        open.pop_back();
        if (name == u"td" || name == u"th") cell = nullptr;
        if (name == u"tr") row = nullptr;
        if (name == u"thead") inHead = false;
        if (name == u"tbody") inBody = false;
        if (name == u"table") table = nullptr;
        break;
      }
      case QXmlStreamReader::Characters:
        if (!open.empty() && !open.back().hidden) prose_ += xml.text();
        if (!open.empty() && !open.back().hidden && !open.back().program) ownText_ += xml.text();
        if (!open.empty() && open.back().name == u"title") title_ += xml.text();
        if (cell != nullptr) *cell += xml.text().trimmed();
        break;
      default:
        break;
    }
  }
  if (xml.hasError())
    error_ = QStringLiteral("line %1: %2").arg(xml.lineNumber()).arg(xml.errorString());
}

std::vector<const PageElement*> HtmlPage::Named(const QString& name) const {
  std::vector<const PageElement*> found;
  for (const PageElement& e : elements_)
    if (e.name == name) found.push_back(&e);
  return found;
}

QStringList HtmlPage::Ids() const {
  QStringList ids;
  for (const PageElement& e : elements_)
    if (e.Has("id")) ids << e.Attribute("id");
  return ids;
}
