#include <gtest/gtest.h>

#include <string>

#include "CommandEnvelopeXml.h"
#include "support/XmlTestSupport.h"

namespace {

using envelopexml::Command;
using envelopexml::kCommandOpen;
using xmltest::Made;

// A plain command: an empty "body" in the envelope, with the model path inside it.
class BodyCommand : public QFCommandHelper {
 public:
  explicit BodyCommand(const I18NString& modelPath) : QFCommandHelper(modelPath) {}

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override {
    ORVIDOM_Element body = doc.createElement("body");
    MakeModelPath(body);
    MakeModelPath(body);  // finds the one already there
    Incorporate(doc, elem, body);
  }
};

// An engine model command with an empty "body".
class ZoBodyCommand : public QFZoCommandHelper {
 public:
  explicit ZoBodyCommand(const I18NString& modelPath) : QFZoCommandHelper(modelPath) {}

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override {
    ORVIDOM_Element body = doc.createElement("body");
    Incorporate(doc, elem, body);
  }
};

TEST(QFCommandHelperTest, PropertiesAreReplacedAndWrittenInNameOrder) {
  QFCloseConnectionsCommandHelper helper;
  helper.SetProperty(static_cast<QFCommandHelper::EProperty>(0), "zero");
  helper.SetProperty(static_cast<QFCommandHelper::EProperty>(3), "three");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), Command("<closeConnections/>")));

  // "commandID" sorts before "requestID" whatever their values.
  helper.SetProperty(static_cast<QFCommandHelper::EProperty>(2), "aaa");
  helper.SetProperty(QFCommandHelper::kPropertyCommandID, "first");
  helper.SetProperty(QFCommandHelper::kPropertyCommandID, "zzz");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), kCommandOpen +
                                                  "<closeConnections/><commandID value='zzz'/>"
                                                  "<requestID value='aaa'/></command>"));
}

// The example of the cancel command sets its own command ID; the defaults are pinned here.
TEST(XelCancelQueryHelperTest, CancelsTheDefaultRequestUnderItsOwnIds) {
  XelCancelQueryHelper helper;
  EXPECT_TRUE(xmltest::SameTree(Made(helper),
                                kCommandOpen + "<cancel><requestID value='ZoRequest'/></cancel>"
                                               "<commandID value='ZoCancelCommand'/>"
                                               "<requestID value='ZoCancelRequest'/></command>"));
}

TEST(QFCommandHelperTest, WritesACopyOfTheConnectionFirst) {
  ORVIDOM_Element connection = xmltest::Parse("<connection><dataSource value='ds'/></connection>");
  BodyCommand helper("/models/m1");
  helper.SetConnection(connection);
  ORVIDOM_Element made = Made(helper);
  const std::string body = "<body><modelPath>/models/m1</modelPath></body>";
  const std::string expected = Command("<connection><dataSource value='ds'/></connection>" + body);
  EXPECT_TRUE(xmltest::SameTree(made, expected));

  // The made document holds a copy; the helper holds the element itself.
  connection.setAttribute("changed", "yes");
  EXPECT_TRUE(xmltest::SameTree(made, expected));
  EXPECT_TRUE(xmltest::SameTree(
      Made(helper),
      Command("<connection changed='yes'><dataSource value='ds'/></connection>" + body)));

  ORVIDOM_Element none;
  helper.SetConnection(none);
  EXPECT_TRUE(xmltest::SameTree(Made(helper), Command(body)));
}

TEST(QFCommandHelperTest, AddConnectionPutsACopyFirstOrInPlaceOfTheEnvelopeConnection) {
  ORVIDOM_Element first = xmltest::Parse("<connection><a/></connection>");
  ORVIDOM_Element second = xmltest::Parse("<connection><b/></connection>");

  ORVIDOM_Element target = Made(QFCloseConnectionsCommandHelper());
  QFCommandHelper::AddConnection(target, first);
  EXPECT_TRUE(
      xmltest::SameTree(target, Command("<connection><a/></connection><closeConnections/>")));
  EXPECT_TRUE(xmltest::SameTree(first, "<connection><a/></connection>"));

  const std::string withSecond = Command("<connection><b/></connection><closeConnections/>");
  QFCommandHelper::AddConnection(target, second);
  EXPECT_TRUE(xmltest::SameTree(target, withSecond));

  // A "connection" inside the body is the body's own, not the envelope's.
  ORVIDOM_Element nested = xmltest::Parse("<command><body><connection/></body></command>");
  QFCommandHelper::AddConnection(nested, first);
  EXPECT_TRUE(xmltest::SameTree(
      nested, "<command><connection><a/></connection><body><connection/></body></command>"));

  // Nothing to copy leaves the command as it was.
  ORVIDOM_Element none;
  QFCommandHelper::AddConnection(target, none);
  EXPECT_TRUE(xmltest::SameTree(target, withSecond));
}

TEST(QFCommandHelperTest, AddConnectionToAConnectionTestKeepsTheNestedConnection) {
  const char* test =
      "<command><connection><dataSourceType value='QueryFrameworkService'/>"
      "<connection><dataSource value='old'/></connection></connection>"
      "<testConnection/></command>";
  ORVIDOM_Element target = xmltest::Parse(test);
  ORVIDOM_Element copy = xmltest::Parse(
      "<connection><dataSourceType value='other'/>"
      "<connection><dataSource value='new'/></connection></connection>");
  QFCommandHelper::AddConnection(target, copy);
  EXPECT_TRUE(xmltest::SameTree(target,
                                "<command><connection><dataSourceType value='other'/>"
                                "<connection><dataSource value='old'/></connection></connection>"
                                "<testConnection/></command>"));

  // Without a nested connection in the copy, the copy replaces the connection as it is.
  target = xmltest::Parse(test);
  ORVIDOM_Element flat = xmltest::Parse("<connection><dataSourceType value='flat'/></connection>");
  QFCommandHelper::AddConnection(target, flat);
  EXPECT_TRUE(xmltest::SameTree(target,
                                "<command><connection><dataSourceType "
                                "value='flat'/></connection><testConnection/></command>"));

  // Without a nested connection in the target, likewise.
  target = xmltest::Parse("<command><connection/><testConnection/></command>");
  QFCommandHelper::AddConnection(target, copy);
  EXPECT_TRUE(xmltest::SameTree(target,
                                "<command><connection><dataSourceType value='other'/>"
                                "<connection><dataSource value='new'/></connection></connection>"
                                "<testConnection/></command>"));
}

TEST(QFZoCommandHelperTest, WrapsTheBodyWithModelLocaleAndFeedback) {
  ZoBodyCommand helper("/models/m1");
  const I18NLocale locale("en-us");
  helper.SetQueryLocale(&locale);
  helper.AddQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackTableType);
  helper.AddQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText);
  helper.AddQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackTableType);
  helper.AddQueryFeedback(static_cast<QFExecuteCommandHelper::EQueryFeedback>(7));
  const std::string expected = Command(
      "<zoCommand queryLocale='en-us'><source><model>/models/m1</model></source><body/>"
      "<queryFeedback><property name='tableType'/><property name='nativeCommandText'/>"
      "<property name='tableType'/><property name='unknown'/></queryFeedback></zoCommand>");
  EXPECT_TRUE(xmltest::SameTree(Made(helper), expected));

  helper.SetQueryLocale(nullptr);
  EXPECT_FALSE(
      ORVIDOM_Helper::findFirstElement(Made(helper), "zoCommand").hasAttribute("queryLocale"));
}

}  // namespace
