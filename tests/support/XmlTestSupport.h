// Test support: structural comparison of DOM trees with expected XML, and round trips through
// the writer and the parser.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <string_view>

#include <Korvath_ActionHelper.h>

namespace xmltest {

// Compares `actual` with the tree that `expectedXml` parses to: node kinds, element names,
// attributes with their order and values, texts, and the order of children. Whitespace-only text
// in `expectedXml` is layout and is ignored, so expectations may be written indented; every text
// of `actual` counts.
::testing::AssertionResult SameTree(const ORVIDOM_Node& actual, std::string_view expectedXml);

// The element written and parsed back: the top element of a fresh document.
ORVIDOM_Element RoundTrip(const ORVIDOM_Node& element);

// The document element of `xml`, parsed.
ORVIDOM_Element Parse(std::string_view xml);

// A fresh document whose element is an empty "requestDoc".
ORVIDOM_Document NewDocument();

// The process's peak memory in KiB, where it can be read and is not the sanitizers'; -1 elsewhere.
long PeakKilobytes();

// The element that `helper` makes.
ORVIDOM_Element Made(const ActionHandlerBase& helper);

// Lets `helper` take the document element of `xml`, and returns that element.
ORVIDOM_Element Take(ActionHandlerBase& helper, std::string_view xml);

// Runs `statement`, expecting ORVAssertError with exactly `text`, code 0 and source unit `unit`.
#define EXPECT_ORV_ASSERT(statement, text, unit)             \
  do {                                                       \
    try {                                                    \
      statement;                                             \
      ADD_FAILURE() << "expected ORVAssertError " << (text); \
    } catch (const ORVAssertError& orvError_) {              \
      EXPECT_STREQ(orvError_.what(), text);                  \
      EXPECT_EQ(orvError_.getCode(), 0);                     \
      EXPECT_EQ(orvError_.getSourceUnit(), unit);            \
      EXPECT_GT(orvError_.getLine(), 0);                     \
    }                                                        \
  } while (false)

}  // namespace xmltest
