#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using Parameter = QsParameterHelper;

const char* const kFault = R"(<promptFault>
  <detail>
    <parameters>
      <item>
        <name>Year</name>
        <type>xsdInt</type>
        <caption>
          <item><locale>en</locale><value>Year</value></item>
          <item><locale>de</locale><value>Jahr</value></item>
        </caption>
        <capabilities><item>discreteValue</item><item>multivalued</item></capabilities>
        <defaultValue><item xsi:type="bus:simpleParmValueItem"><use>2024</use></item></defaultValue>
        <values><item xsi:type="bus:simpleParmValueItem"><use>2023</use><display>last year</display></item><item xsi:type="bus:unboundedStartParmValueItem"><bus:end><inclusive>false</inclusive><use>2020</use></bus:end></item><item xsi:nil="true"/></values>
      </item>
      <!-- not a parameter -->
      <other><name>Ignored</name></other>
      <item>
        <name>Region</name>
        <type>xsdString</type>
        <caption><item><locale>en</locale><value>Region</value></item></caption>
        <capabilities><item>boundRange</item></capabilities>
        <defaultValue><item xsi:nil="true"/></defaultValue>
        <values><item xsi:type="bus:hierarchicalParmValueItem"><value><use>World</use></value><subNodes><item xsi:type="bus:hierarchicalParmValueItem"><value><use>Europe</use></value><subNodes xsi:nil="true"/></item></subNodes></item><item xsi:type="bus:boundRangeParmValueItem"><bus:start><use>A</use></bus:start><bus:end><use>M</use></bus:end></item></values>
      </item>
      <item>
        <name>Amount</name>
        <type>xsdDecimal</type>
        <caption><item><locale>en</locale><value>Amount</value></item></caption>
        <capabilities><item>unboundedRange</item><item>optional</item><item>defaultValueNotAcceptable</item><item>excludeValues</item></capabilities>
        <defaultValue><item xsi:type="bus:unboundedEndParmValueItem"><bus:start><use>100</use></bus:start></item></defaultValue>
        <values><item xsi:type="bus:unboundedEndParmValueItem"><start><use>0</use></start></item></values>
        <value><item xsi:type="bus:simpleParmValueItem"><use>5</use></item></value>
      </item>
    </parameters>
  </detail>
</promptFault>)";

std::vector<std::string> names(const QsPromptFaultHelper& fault) {
  std::vector<std::string> result;
  for (const Parameter* p : fault.GetParameters()) result.push_back(p->GetName().str());
  return result;
}

void take(QsPromptFaultHelper& fault, const std::string& xml) {
  ORVIDOM_Element elem = xmltest::Take(fault, xml);
}

template <class T>
T* as(QsParamValueItemHelper* item) {
  return dynamic_cast<T*>(item);
}

TEST(QsPromptFaultHelperTest, FindsTheParametersWhereverTheyAre) {
  QsPromptFaultHelper fault;
  take(fault, kFault);
  EXPECT_EQ(names(fault), (std::vector<std::string>{"Year", "Region", "Amount"}));

  QsPromptFaultHelper direct;
  take(direct, "<parameters><item><name>A</name></item><item><name>B</name></item></parameters>");
  EXPECT_EQ(names(direct), (std::vector<std::string>{"A", "B"}));
  // A second fault appends its parameters.
  take(direct, "<fault><parameters><item><name>C</name></item></parameters></fault>");
  EXPECT_EQ(names(direct), (std::vector<std::string>{"A", "B", "C"}));

  QsPromptFaultHelper empty;
  take(empty, "<fault><item><name>NotInParameters</name></item></fault>");
  ORVIDOM_Element null;
  empty.Take(null);
  EXPECT_TRUE(empty.GetParameters().empty());
}

TEST(QsPromptFaultHelperTest, ReadsEveryPartOfEachParameter) {
  QsPromptFaultHelper fault;
  take(fault, kFault);
  ASSERT_EQ(fault.GetParameters().size(), 3u);
  Parameter& year = *fault.GetParameters()[0];
  Parameter& region = *fault.GetParameters()[1];
  Parameter& amount = *fault.GetParameters()[2];

  ASSERT_EQ(year.GetCaptions().size(), 2u);
  EXPECT_EQ(year.GetCaptions()[1]->m_locale, "de");
  EXPECT_EQ(year.GetCaptions()[1]->m_value, "Jahr");
  EXPECT_EQ(year.GetCapabilities(),
            (std::vector<Parameter::EParameterCapability>{Parameter::kCapabilityDiscreteValue,
                                                          Parameter::kCapabilityMultivalued}));
  EXPECT_EQ(static_cast<const QsParamValueItemSimpleHelper*>(year.GetDefaultValue())->GetUse(),
            "2024");
  const auto& yearPossible = year.GetPossibleValues();
  ASSERT_EQ(yearPossible.size(), 2u);
  EXPECT_EQ(as<QsParamValueItemSimpleHelper>(yearPossible[0])->GetDisplay(), "last year");
  QsParamValueItemSimpleHelper* end = as<QsParamValueItemRangeHelper>(yearPossible[1])->GetEnd();
  EXPECT_EQ(end->GetUse(), "2020");
  EXPECT_EQ(end->IsInclusive(), 0);
  EXPECT_TRUE(year.GetValues().empty());

  EXPECT_EQ(region.GetCaptions()[0]->m_value, "Region");
  EXPECT_EQ(region.GetCapabilities(),
            std::vector<Parameter::EParameterCapability>{Parameter::kCapabilityBoundRange});
  EXPECT_EQ(region.GetDefaultValue(), nullptr);
  const auto& regionPossible = region.GetPossibleValues();
  ASSERT_EQ(regionPossible.size(), 2u);
  auto* world = as<QsParamValueItemHierarchyHelper>(regionPossible[0]);
  ASSERT_EQ(world->GetSubNodes().size(), 1u);
  EXPECT_EQ(world->GetSubNodes()[0]->GetValue()->GetUse(), "Europe");
  EXPECT_EQ(as<QsParamValueItemRangeHelper>(regionPossible[1])->GetTesselType(),
            "bus:unboundedEndParmValueItem");
  EXPECT_EQ(as<QsParamValueItemRangeHelper>(regionPossible[1])->GetStart()->GetUse(), "A");

  EXPECT_EQ(
      amount.GetCapabilities(),
      (std::vector<Parameter::EParameterCapability>{
          Parameter::kCapabilityUnboundedRange, Parameter::kCapabilityOptional,
          Parameter::kCapabilityDefaultValueNotAcceptable, Parameter::kCapabilityExcludeValues}));
  EXPECT_EQ(amount.GetDefaultValue()->GetType(), QsParamValueItemHelper::kValueItemRange);
  ASSERT_EQ(amount.GetPossibleValues().size(), 1u);
  EXPECT_EQ(as<QsParamValueItemRangeHelper>(amount.GetPossibleValues()[0])->GetStart()->GetUse(),
            "0");
  ASSERT_EQ(amount.GetValues().size(), 1u);

}

}  // namespace
