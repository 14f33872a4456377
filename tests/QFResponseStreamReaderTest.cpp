#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using Feedback = QFExecuteCommandHelper::EQueryFeedback;
using Columns = std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>>;

// A response of the given shape: feedback before or after the rows (or in both places), values
// with and without "v", properties with and without content, and layout between the parts.
std::string Response(std::mt19937& random) {
  const auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
  const auto space = [&] { return chance(30) ? std::string("\n  ") : std::string(); };
  const auto feedback = [&](const char* value) {
    std::string xml = "<queryFeedbackResult>" + space();
    const char* names[] = {"nativeCommandText", "tarvinCommandText", "executionPlan", "other"};
    for (int i = 0; i < 4; ++i) {
      if (chance(30)) continue;
      const std::string name = names[random() % 4];
      xml += "<property name='" + name + "'>";
      // An element first in a property gives it an empty value, whatever follows.
      if (chance(10)) xml += "<b>bold</b>";
      // A text that reads as the name of a row's child is a text all the same.
      if (chance(70)) xml += chance(15) ? "value" : std::string(value) + " &amp; " + name;
      if (chance(15)) xml += "<![CDATA[<cdata>]]>";
      xml += "</property>" + space();
    }
    if (chance(60)) xml += "<connection value='sales' catalog='DB'/>";
    if (chance(40)) xml += "<wrapper><connection schema='dbo'/></wrapper>";
    return xml + "</queryFeedbackResult>";
  };
  const bool after = chance(30);
  // The response itself is none of its parts, whatever its name.
  static const char* const kRoots[] = {"queryResponse", "resultData", "columnList",
                                       "queryFeedbackResult"};
  const std::string root = kRoots[chance(40) ? 1 + random() % 3 : 0];
  std::string xml = "<" + root + ">" + space();
  if (!after) xml += feedback("before");
  // A text in the column list, layout included, is refused by both readers. An attribute that
  // gives no property gives nothing.
  std::string columns = chance(10) ? "<columnList> " : "<columnList>";
  for (int c = 0; c < static_cast<int>(random() % 3); ++c) {
    // The last property first now and then, where it is not the one looked for next.
    columns += std::string("<column") + (chance(30) ? " originalEncodingName='e'" : "") +
               " name='c" + std::to_string(c) + "' other='o' type='t'/>";
  }
  columns += "</columnList>";
  // Now and then the column list comes only inside a row, where both readers find it too.
  const bool columnsInRow = chance(10);
  if (!columnsInRow) xml += columns + space();
  xml += "<resultData>" + space();
  for (int r = 0; r < static_cast<int>(random() % 5); ++r) {
    if (chance(15)) {
      xml += "<row/>";
      continue;
    }
    xml += "<row>";
    if (columnsInRow && r == 0) xml += columns;
    // Now and then more values than the pull reader gathers before it hands them on.
    const int values = chance(5) ? 150 : static_cast<int>(random() % 4);
    for (int v = 0; v < values; ++v) {
      if (chance(20)) {
        xml += "<value/>";
      } else if (chance(10)) {
        // A value below another child of the row is none of the row's.
        xml += "<other v='x'><value v='nested'/></other>";
      } else {
        xml += "<value v='" + std::to_string(r) + (chance(30) ? "" : "&lt;" + std::to_string(v)) +
               "'/>";
      }
    }
    xml += "</row>" + space();
    if (chance(10)) xml += "<!-- comment --><notRow/>";
  }
  xml += "</resultData>" + space();
  if (after || chance(20)) xml += feedback("after");
  return xml + "</" + root + ">";
}

// Everything a reader gives, written out, or the error that stopped it.
struct Reading {
  std::string head;
  std::vector<std::vector<std::string>> rows;
  std::string error;
};

std::string Head(const std::function<int(Feedback, I18NString&)>& feedback,
                 const std::vector<QFResponseDomHelper::DataSource>& sources,
                 const Columns& columns) {
  std::string head;
  for (int f = 1; f <= QFExecuteCommandHelper::kQueryFeedbackTableType; ++f) {
    I18NString value;
    if (feedback(static_cast<Feedback>(f), value)) head += std::to_string(f) + "=" + value.str();
    head += ";";
  }
  for (const auto& s : sources)
    head += s.value.str() + "/" + s.catalog.str() + "/" + s.schema.str();
  for (const auto& column : columns) {
    for (const auto& property : column) head += property.second.str() + ",";
  }
  return head;
}

// What `read` gives, or the error that stopped it: the parser's with its place, or an assertion's
// text.
Reading Read(const std::function<void(Reading&)>& read) {
  Reading reading;
  try {
    read(reading);
  } catch (const ORVIDOM_ParseError& e) {
    reading.error = std::string(e.what()) + " at " + std::to_string(e.getLine()) + ":" +
                    std::to_string(e.getColumn()) + "/" + std::to_string(e.getOffset());
  } catch (const ORVAssertError& e) {
    reading.error = e.what();
  }
  return reading;
}

Reading ReadWithTree(const std::string& xml) {
  return Read([&](Reading& reading) {
    ORVIDOM_Element root = ORVIDOM_Parser::parseString(xml).getDocumentElement();
    QFResponseDomHelper helper;
    helper.Take(root);
    std::vector<QFResponseDomHelper::DataSource> sources;
    helper.GetResponseDataSources(sources);
    Columns columns;
    helper.GetColumnList(columns);
    reading.head = Head([&](Feedback f, I18NString& v) { return helper.GetQueryFeedback(f, v); },
                        sources, columns);
    for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
         row = helper.GetNextResultSetRow(row)) {
      std::vector<I18NString> values;
      helper.GetResultSetRowValues(row, values);
      reading.rows.emplace_back();
      for (const I18NString& value : values) reading.rows.back().push_back(value.str());
    }
  });
}

// The stream reader's reading of `xml`, pushed in pieces `piece` bytes long.
Reading ReadAsItComes(const std::string& xml, std::size_t piece) {
  ORVIDOM_PullReader pull;
  for (std::size_t at = 0; at < xml.size(); at += piece)
    pull.push(std::string_view(xml).substr(at, piece));
  pull.finish();
  QFResponseStreamReader stream(pull);
  return Read([&](Reading& reading) {
    std::vector<QFResponseStreamReader::Value> values;
    while (stream.GetNextRow(values)) {
      reading.rows.emplace_back();
      for (const auto& value : values) {
        EXPECT_TRUE(!value.null || value.text.empty());
        reading.rows.back().push_back(value.text.str());
      }
    }
    std::vector<QFResponseDomHelper::DataSource> sources;
    stream.GetResponseDataSources(sources);
    Columns columns;
    stream.GetColumnList(columns);
    reading.head = Head([&](Feedback f, I18NString& v) { return stream.GetQueryFeedback(f, v); },
                        sources, columns);
  });
}

// For responses of every shape, pushed in pieces of every size, the stream reader gives what the
// tree's reader gives; a response cut short at any byte raises the parser's error, after the
// rows before the cut.
TEST(QFResponseStreamReaderTest, GivesWhatTheTreesReaderGives) {
  std::mt19937 random(7);
  for (int i = 0; i < 60; ++i) {
    const std::string xml = Response(random);
    const Reading tree = ReadWithTree(xml);
    for (const std::size_t piece :
         {xml.size(), std::size_t{1}, std::size_t{7}, random() % 50 + 1}) {
      const Reading stream = ReadAsItComes(xml, piece);
      EXPECT_EQ(stream.head, tree.head) << xml;
      EXPECT_EQ(stream.rows, tree.rows) << xml;
      EXPECT_EQ(stream.error, tree.error) << xml;
    }
    // A response the readers refuse whole is refused where the stream reader meets the fault,
    // before the parser would meet a cut after it.
    if (i % 6 != 0 || !tree.error.empty()) continue;
    for (std::size_t cut = 0; cut < xml.size(); ++cut) {
      const std::string broken = xml.substr(0, cut);
      const Reading stream = ReadAsItComes(broken, cut % 13 + 1);
      EXPECT_EQ(stream.error, ReadWithTree(broken).error) << broken;
      EXPECT_LE(stream.rows.size(), tree.rows.size());
    }
  }
}

// A reader handed a pull reader that has given events already reads on from there, the events
// its last part holds first.
TEST(QFResponseStreamReaderTest, ReadsOnFromWhereThePullReaderIs) {
  const std::string xml =
      "<r><x/> <!-- --> <queryFeedbackResult><property name='nativeCommandText'>t</property>"
      "</queryFeedbackResult><resultData><row/><row><value v='1'/></row></resultData></r>";
  // Handed over with the end of "x" waiting, or the start of the feedback: a text that a comment
  // splits is read with the tag that ends it.
  for (const int given : {2, 4}) {
    ORVIDOM_PullReader pull(xml);
    for (int i = 0; i < given; ++i) pull.next();
    QFResponseStreamReader stream(pull);
    stream.ReadToRows();
    I18NString text;
    EXPECT_EQ(
        stream.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText, text), 1);
    EXPECT_EQ(text.str(), "t");
    std::vector<QFResponseStreamReader::Value> values;
    ASSERT_EQ(stream.GetNextRow(values), 1);
    EXPECT_TRUE(values.empty());
    ASSERT_EQ(stream.GetNextRow(values), 1);
    ASSERT_EQ(values.size(), 1u);
    EXPECT_EQ(values[0].text.str(), "1");
    EXPECT_EQ(stream.GetNextRow(values), 0);
    EXPECT_EQ(pull.next(), ORVIDOM_PullReader::kEndDocument);
  }
}

// Reading to the rows of a response that has none (a "row" below another child of the results is
// none) reads it to the end: parts after the results are known too.
TEST(QFResponseStreamReaderTest, ReadingToTheRowsOfNoRowReadsToTheEnd) {
  ORVIDOM_PullReader pull(
      "<r><resultData><other><row/></other></resultData>"
      "<columnList><column name='c'/></columnList></r>");
  QFResponseStreamReader stream(pull);
  stream.ReadToRows();
  Columns columns;
  stream.GetColumnList(columns);
  EXPECT_EQ(columns.size(), 1u);
}

// A value without "v" is null, apart from an empty one, in rows of any length, in a response
// longer than the pull reader's window: the reader hands on the values it gathers before the
// window moves on.
TEST(QFResponseStreamReaderTest, TellsANullValueFromAnEmptyOneInRowsOfAnyLength) {
  // Values are read in the quickest way once the feedback and the columns are known.
  std::string xml = "<r><queryFeedbackResult/><columnList/><resultData>";
  for (int r = 0; r < 300; ++r) {
    xml += "<row><value v=''/><value/>";
    for (int v = 0; v < r % 150; ++v) xml += "<value v='" + std::to_string(r * 1000 + v) + "'/>";
    xml += "</row>";
  }
  xml += "</resultData></r>";
  const Reading tree = ReadWithTree(xml);
  ORVIDOM_PullReader pull(xml);
  QFResponseStreamReader stream(pull);
  std::vector<QFResponseStreamReader::Value> values;
  for (const std::vector<std::string>& row : tree.rows) {
    ASSERT_EQ(stream.GetNextRow(values), 1);
    ASSERT_EQ(values.size(), row.size());
    EXPECT_FALSE(values[0].null);
    EXPECT_TRUE(values[1].null);
    for (std::size_t v = 2; v < row.size(); ++v) EXPECT_EQ(values[v].text.str(), row[v]);
  }
  EXPECT_EQ(stream.GetNextRow(values), 0);
}

// However long the document (27 MB here, 11 MB of it decoded values), memory stays a window and
// a part, whether the events are queued or handed on.
TEST(QFResponseStreamReaderTest, ReadingAsItComesKeepsNoMoreThanAPart) {
  const std::string row = "<row><value v='a &amp; b &lt; c, decoded\r\n'/></row>";
  std::string xml = "<r><resultData>";
  xml.reserve(xml.size() + 500000 * row.size() + 20);
  for (int r = 0; r < 500000; ++r) xml += row;
  xml += "</resultData></r>";
  const long before = xmltest::PeakKilobytes();
  if (before < 0) GTEST_SKIP() << "peak memory is not read here";
  ORVIDOM_PullReader pushed;
  std::size_t elements = 0;
  for (std::size_t at = 0; at <= xml.size(); at += 50000) {
    if (at < xml.size()) pushed.push(std::string_view(xml).substr(at, 50000));
    if (at + 50000 > xml.size()) pushed.finish();
    for (ORVIDOM_PullReader::Event e; (e = pushed.next()) != ORVIDOM_PullReader::kNeedInput &&
                                      e != ORVIDOM_PullReader::kEndDocument;) {
      elements += e == ORVIDOM_PullReader::kStartElement;
    }
  }
  ORVIDOM_PullReader pull(xml);
  QFResponseStreamReader stream(pull);
  std::vector<QFResponseStreamReader::Value> values;
  std::size_t rows = 0;
  while (stream.GetNextRow(values)) rows += values[0].text.str() == "a & b < c, decoded ";
  EXPECT_TRUE(elements == 1000002u && rows == 500000u) << elements << " " << rows;
  EXPECT_LT(xmltest::PeakKilobytes() - before, 8 * 1024);
}

}  // namespace
