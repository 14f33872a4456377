// A query response of about 200 MB, parsed and read row by row. Memory must stay proportional to
// the input: the peak resident size is reported and checked against a bound. Kept out of the
// quick suite because it takes a while; run build/<preset>/tests/korvath_huge_tests.
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <Korvath_ActionHelper.h>

namespace {

constexpr std::size_t kTargetBytes = 200u * 1024 * 1024;
constexpr int kColumns = 10;

// The peak resident size of this process in bytes (VmHWM), 0 where it cannot be read.
std::size_t PeakResidentBytes() {
  std::ifstream status("/proc/self/status");
  for (std::string line; std::getline(status, line);) {
    if (line.rfind("VmHWM:", 0) == 0) return std::stoull(line.substr(6)) * 1024;
  }
  return 0;
}

std::string HugeResponse(std::size_t& rows) {
  std::string xml = "<response><columnList>";
  for (int c = 0; c < kColumns; ++c) xml += "<column name='c" + std::to_string(c) + "'/>";
  xml += "</columnList><resultData>";
  rows = 0;
  while (xml.size() < kTargetBytes) {
    xml += "<row>";
    for (int c = 0; c < kColumns; ++c) xml += "<value v='" + std::to_string(rows + c) + "'/>";
    xml += "</row>";
    ++rows;
  }
  return xml + "</resultData></response>";
}

TEST(HugeQueryResponseTest, TwoHundredMegabytesAreReadWithMemoryProportionalToTheInput) {
  std::size_t rows = 0;
  std::size_t inputBytes = 0;
  std::size_t readRows = 0;
  std::size_t lastValueOk = 0;
  {
    const std::string xml = HugeResponse(rows);
    inputBytes = xml.size();
    ORVIDOM_Element response = ORVIDOM_Parser::parseString(xml).getDocumentElement();
    QFResponseDomHelper helper;
    helper.Take(response);
    std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>> columns;
    helper.GetColumnList(columns);
    EXPECT_EQ(columns.size(), static_cast<std::size_t>(kColumns));
    std::vector<I18NString> values;
    for (ORVIDOM_Element row = helper.GetFirstResultSetRow(); !row.isNull();
         row = helper.GetNextResultSetRow(row)) {
      values.clear();
      helper.GetResultSetRowValues(row, values);
      lastValueOk += values.size() == kColumns &&
                     values.back() == I18NString(std::to_string(readRows + kColumns - 1));
      ++readRows;
    }
  }
  EXPECT_EQ(readRows, rows);
  EXPECT_EQ(lastValueOk, rows);
  const std::size_t peak = PeakResidentBytes();
  std::printf("input %zu bytes, %zu rows; peak resident size %zu MB (%.2f times the input)\n",
              inputBytes, rows, peak >> 20, static_cast<double>(peak) / inputBytes);
  // The input text, the parser's copy of it, the tree (about five times the text for rows of
  // small elements) and the reader's small state: a fixed multiple of the input,
  // never a cost per row that grows with the rows already read.
  if (peak > 0) EXPECT_LT(peak, 10 * inputBytes);
}

}  // namespace
