#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

using xmltest::Made;

using Item = QsParamValueItemHelper;

// The parts of a received parameter that are written back unchanged.
const std::string kCarriedParts =
    R"(<capabilities><item>boundRange</item><item>Multivalued</item><item/><item>optional</item>)"
    R"(<item>defaultValueNotAcceptable</item><item>discreteValue</item><item>excludeValues</item>)"
    R"(<item>multivalued</item><item>unboundedRange</item></capabilities>)"
    R"(<defaultValue><item xsi:type="bus:simpleParmValueItem"><use>EU</use>)"
    R"(<display>Europe</display></item></defaultValue>)"
    R"(<values><item xsi:type="bus:simpleParmValueItem"><use>EU</use></item>)"
    R"(<item xsi:nil="true"/>)"
    R"(<item xsi:type="bus:boundRangeParmValueItem"><bus:start><use>A</use></bus:start>)"
    R"(<bus:end><use>M</use></bus:end></item>)"
    R"(<item xsi:type="bus:hierarchicalParmValueItem"><value><use>World</use></value>)"
    R"(<subNodes xsi:nil="true"/></item></values>)";

const std::string kReceived =
    R"(<item xmlns:bus="urn:bus" xmlns:xsi="urn:xsi">)"
    R"(<name>Region</name><type>xsdString</type>)"
    R"(<modelDisplayItem>[Sales].[Region].[Name]</modelDisplayItem>)"
    R"(<modelFilterItem>[Sales].[Region].[Code]</modelFilterItem>)"
    R"(<modelUseItem>[Sales].[Region].[Id]</modelUseItem>)"
    R"(<caption><item><locale>en</locale><value>Region</value></item>)"
    R"(<item><value>Gebiet</value></item></caption>)" +
    kCarriedParts +
    R"(<value><item xsi:type="bus:simpleParmValueItem"><use>US</use></item></value>)"
    R"(<value><item xsi:type="bus:simpleParmValueItem"><use>CA</use></item></value>)"
    R"(</item>)";

// What a parameter taken from kReceived writes before any current value is read or added.
const std::string kReceivedMade = R"(<item xmlns:bus="http://korvath.dev/schemas/tessel/3/")"
                                  R"( xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance")"
                                  R"( xmlns:SOAP-ENC="http://schemas.xmlsoap.org/soap/encoding/">)"
                                  R"(<name>Region</name><type>xsdString</type>)" +
                                  kCarriedParts + "</item>";

void take(QsParameterHelper& parameter, const std::string& xml) {
  ORVIDOM_Element elem = xmltest::Take(parameter, xml);
}

TEST(QsParameterHelperTest, TakenParameterReadsItsPartsOnDemand) {
  QsParameterHelper parameter;
  take(parameter, kReceived);
  EXPECT_EQ(parameter.GetModelDisplayItem(), "[Sales].[Region].[Name]");
  EXPECT_EQ(parameter.GetModelFilterItem(), "[Sales].[Region].[Code]");
  EXPECT_EQ(parameter.GetModelUseItem(), "[Sales].[Region].[Id]");

  const auto& captions = parameter.GetCaptions();
  ASSERT_EQ(captions.size(), 2u);
  EXPECT_EQ(captions[1]->m_locale, "");
  EXPECT_EQ(captions[1]->m_value, "Gebiet");
  EXPECT_EQ(&parameter.GetCaptions(), &captions);
  EXPECT_EQ(parameter.GetCaptions().size(), 2u);

  // A capability differing in case is unknown; an empty one gives no entry.
  using P = QsParameterHelper;
  EXPECT_EQ(
      parameter.GetCapabilities(),
      (std::vector<P::EParameterCapability>{
          P::kCapabilityBoundRange, P::kCapabilityUnknown, P::kCapabilityOptional,
          P::kCapabilityDefaultValueNotAcceptable, P::kCapabilityDiscreteValue,
          P::kCapabilityExcludeValues, P::kCapabilityMultivalued, P::kCapabilityUnboundedRange}));
  // Read again, the list is the one read first, not read twice.
  EXPECT_EQ(parameter.GetCapabilities().size(), 8u);

  const QsParamValueItemHelper* def = parameter.GetDefaultValue();
  ASSERT_NE(def, nullptr);
  EXPECT_EQ(static_cast<const QsParamValueItemSimpleHelper*>(def)->GetDisplay(), "Europe");
  EXPECT_EQ(parameter.GetDefaultValue(), def);

  // The nil item among the possible values gives no entry.
  EXPECT_EQ(parameter.GetPossibleValues().size(), 3u);

  const auto& values = parameter.GetValues();
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(static_cast<QsParamValueItemSimpleHelper*>(values[0])->GetUse(), "US");
  EXPECT_EQ(static_cast<QsParamValueItemSimpleHelper*>(values[1])->GetUse(), "CA");
}

TEST(QsParameterHelperTest, ReceivedPartsAreCarriedOverWhenMadeAgain) {
  QsParameterHelper parameter;
  take(parameter, kReceived);
  EXPECT_TRUE(xmltest::SameTree(Made(parameter), kReceivedMade));

  // Once read, the current values are written from the list.
  parameter.GetValues();
  ORVIDOM_Element again = Made(parameter);
  ORVIDOM_Element value = ORVIDOM_Helper::findChildElement(again, "value");
  EXPECT_TRUE(xmltest::SameTree(value, R"(
    <value>
      <item xsi:type="bus:simpleParmValueItem"><inclusive>true</inclusive><use>US</use></item>
      <item xsi:type="bus:simpleParmValueItem"><inclusive>true</inclusive><use>CA</use></item>
    </value>)"));
  EXPECT_EQ(value.getPreviousSibling().getNodeName(), "values");
}

TEST(QsParameterHelperTest, RemoveValuesDropsTheListAndTheFirstReceivedValue) {
  QsParameterHelper parameter;
  ORVIDOM_Element elem = xmltest::Take(parameter, kReceived);
  parameter.RemoveValues();
  // Left: the two caption values, the node value and the second current value.
  EXPECT_EQ(elem.getElementsByTagName("value").getLength(), 4u);
  const auto& values = parameter.GetValues();
  ASSERT_EQ(values.size(), 1u);
  EXPECT_EQ(static_cast<QsParamValueItemSimpleHelper*>(values[0])->GetUse(), "CA");

  parameter.RemoveValues();
  EXPECT_TRUE(parameter.GetValues().empty());
  parameter.AddNullValue();
  EXPECT_EQ(parameter.GetValues().size(), 1u);
}

TEST(QsParameterHelperTest, AddedValuesHideTheReceivedOnes) {
  QsParameterHelper parameter;
  take(parameter, kReceived);
  parameter.AddSimpleValue("MX", 0);
  ASSERT_EQ(parameter.GetValues().size(), 1u);
  ORVIDOM_Element value = ORVIDOM_Helper::findChildElement(Made(parameter), "value");
  EXPECT_TRUE(xmltest::SameTree(value, R"(
    <value>
      <item xsi:type="bus:simpleParmValueItem"><inclusive>false</inclusive><use>MX</use></item>
    </value>)"));
}

TEST(QsParameterHelperTest, MissingPartsAndNilDefaultsGiveNothing) {
  QsParameterHelper none("Kept", "xsdInt");
  ORVIDOM_Element null;
  none.Take(null);
  EXPECT_EQ(none.GetName(), "Kept");
  EXPECT_TRUE(none.GetCaptions().empty() && none.GetCapabilities().empty() &&
              none.GetPossibleValues().empty() && none.GetValues().empty());
  EXPECT_EQ(none.GetDefaultValue(), nullptr);
  none.RemoveValues();

  QsParameterHelper nil;
  take(nil, R"(<item><type>xsdDate</type><defaultValue><item xsi:nil="true"/></defaultValue>)"
            R"(<capabilities/><caption/><values/></item>)");
  EXPECT_EQ(nil.GetType(), "xsdDate");
  EXPECT_EQ(nil.GetDefaultValue(), nullptr);
  EXPECT_TRUE(nil.GetCaptions().empty() && nil.GetCapabilities().empty() &&
              nil.GetPossibleValues().empty());
}

TEST(QsParameterHelperTest, UnknownItemTypeFailsAfterTheItemsBeforeIt) {
  QsParameterHelper parameter;
  take(parameter, R"(<item><values><item xsi:type="bus:simpleParmValueItem"><use>1</use></item>)"
                  R"(<item xsi:type="simpleParmValueItem"/></values></item>)");
  EXPECT_ORV_ASSERT(parameter.GetPossibleValues(), "ORV_ASSERT(false);", "QsParamValueItemHelper");
  EXPECT_EQ(parameter.GetPossibleValues().size(), 1u);
}

}  // namespace
