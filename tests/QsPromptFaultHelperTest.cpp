#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

std::vector<std::string> Names(const QsPromptFaultHelper& fault) {
  std::vector<std::string> result;
  for (const QsParameterHelper* p : fault.GetParameters()) result.push_back(p->GetName().str());
  return result;
}

TEST(QsPromptFaultHelperTest, FindsTheParametersWhereverTheyAre) {
  QsPromptFaultHelper fault;
  xmltest::Take(fault,
                "<promptFault><detail><parameters>\n  <item><name>Year</name></item>\n"
                "  <!-- not a parameter --><other><name>Ignored</name></other>\n"
                "  <item><name>Region</name></item>\n</parameters></detail></promptFault>");
  EXPECT_EQ(Names(fault), (std::vector<std::string>{"Year", "Region"}));
  // A second fault appends its parameters.
  xmltest::Take(fault, "<parameters><item><name>C</name></item></parameters>");
  EXPECT_EQ(Names(fault), (std::vector<std::string>{"Year", "Region", "C"}));

  QsPromptFaultHelper empty;
  xmltest::Take(empty, "<fault><item><name>NotInParameters</name></item></fault>");
  ORVIDOM_Element null;
  empty.Take(null);
  EXPECT_TRUE(empty.GetParameters().empty());
}

}  // namespace
