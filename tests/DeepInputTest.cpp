// Documents nested a quarter of a million elements deep, and a million for the DOM layer: parsed,
// written, imported, searched, read by the helpers that look through descendants and freed, all
// without a deep call stack. A recursive walk would overflow the stack before this depth. Lists
// nested in themselves (tasks in tasks) are read as fast as flat ones: a reader that searched below
// each element again would take hours here. Indented writing is left out: one tab per level makes
// its output quadratic in the depth by definition.
#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

namespace {

constexpr int kDepth = 250000;

// `open` + `depth` nested `level` elements holding `inner` + `close`.
std::string Nested(const std::string& open, const std::string& inner, const std::string& close,
                   const std::string& levelOpen = "<d>", const std::string& levelClose = "</d>",
                   int depth = kDepth) {
  std::string xml = open;
  xml.reserve(open.size() + inner.size() + close.size() +
              (levelOpen.size() + levelClose.size()) * depth);
  for (int i = 0; i < depth; ++i) xml += levelOpen;
  xml += inner;
  for (int i = 0; i < depth; ++i) xml += levelClose;
  return xml + close;
}

TEST(DeepInputTest, TheDomLayerHandlesDeepDocuments) {
  constexpr int kDomDepth = 1000000;
  const std::string xml =
      Nested("<top>", "<leaf a=\"1\">x</leaf>", "</top>", "<d>", "</d>", kDomDepth);
  ORVIDOM_Element top = xmltest::Parse(xml);
  EXPECT_EQ(top.getElementsByTagName("d").getLength(), static_cast<unsigned long>(kDomDepth));
  ORVIDOM_Element leaf = ORVIDOM_Helper::findFirstElement(top, "leaf");
  EXPECT_EQ(ORVIDOM_Helper::getElementText(leaf), "x");
  EXPECT_EQ(ORVIDOM_Helper::findElementWithAttribute(top, "leaf", "a", "1"), leaf);
  EXPECT_TRUE(ORVIDOM_Writer::toString(top) == xml);

  ORVIDOM_Document other = xmltest::NewDocument();
  ORVIDOM_Node copy = other.importNode(top, true);
  other.getDocumentElement().appendChild(copy);
  EXPECT_TRUE(ORVIDOM_Writer::toString(copy) == xml);

  // Freed through a removal, through the last handle and through the copy's document.
  top.getOwnerDocument().removeChild(top);
  top = ORVIDOM_Element();
  copy = ORVIDOM_Node();
  other = ORVIDOM_Document();
}

TEST(DeepInputTest, ReadersFindWhatIsDeepDown) {
  QsPromptFaultHelper prompt;
  xmltest::Take(prompt,
                Nested("<promptFault>",
                       "<parameters><item><name>Year</name><type>xsdInt</type></item></parameters>",
                       "</promptFault>"));
  ASSERT_EQ(prompt.GetParameters().size(), 1u);
  EXPECT_EQ(prompt.GetParameters()[0]->GetName(), "Year");

  QFResponseDomHelper query;
  xmltest::Take(query, Nested("<response>",
                              "<queryFeedbackResult><property name='executionPlan'>plan</property>"
                              "</queryFeedbackResult><columnList><column name='c'/></columnList>",
                              "</response>"));
  I18NString plan;
  EXPECT_TRUE(query.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackExecutionPlan, plan));
  EXPECT_EQ(plan, "plan");
  std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>> columns;
  query.GetColumnList(columns);
  ASSERT_EQ(columns.size(), 1u);
  EXPECT_EQ(columns[0][QFResponseDomHelper::kColumnName], "c");

  ZoPackagesReportHelper report;
  xmltest::Take(
      report, Nested("<packages>", "<package defaultName='A' cmSearchPath='/a'/>", "</packages>"));
  ASSERT_EQ(report.GetPackages().size(), 1u);
  EXPECT_EQ(report.GetPackages()[0]->cmSearchPath, "/a");

  QsMetadataResponseHelper entries;
  xmltest::Take(entries, Nested("<response>", "<level><name>L</name></level>", "</response>"));
  EXPECT_EQ(entries.EntriesSize("level"), 1u);

  QsDataSourceFaultHelper dataSources;
  xmltest::Take(dataSources,
                Nested("<fault>",
                       "<faultDataSource value='Sales'/><dataSource><name value='Sales'/>"
                       "<connection><name value='Main'/></connection></dataSource>",
                       "</fault>"));
  EXPECT_EQ(dataSources.GetFaultDataSourceName(), "Sales");
  QsDataSourceFaultHelper::DataSourceInfo info;
  ASSERT_TRUE(dataSources.GetDataSourceInfo("Sales", info));
  ASSERT_EQ(info.m_connections.size(), 1u);
  EXPECT_EQ(info.m_connections[0]->m_name, "Main");

  ZoActionHelperImportConfig config;
  xmltest::Take(
      config,
      Nested("<source>", "<connection provider='p'><item name='s' nameInRequest='r'/></connection>",
             "</source>"));
  std::vector<ZoActionHelperImportConfig::ConnectionItem> items;
  config.getConnectionItems(items);
  ASSERT_EQ(items.size(), 1u);
  EXPECT_EQ(items[0].m_nameInRequest, "r");
}

// Every nested element sees what the innermost holds, as the first or every match at any depth.
TEST(DeepInputTest, ListsNestedInThemselvesAreReadInOneWalk) {
  ZoUpdateObjectResponseHelper response;
  xmltest::Take(response, Nested("<updateObjectResponse>",
                                 "<param name='object' value='o'/><error code='E'>bad</error>"
                                 "<feedback/>",
                                 "</updateObjectResponse>",
                                 "<task name='addObject' status='failure'>", "</task>"));
  std::size_t results = 0;
  for (ZoUpdateResponseTaskHelper* task : response.GetTasks()) {
    std::vector<I18NString> objects;
    results += task->GetParameter(ZoUpdateResponseTaskHelper::kParamObject, objects) &&
               objects == std::vector<I18NString>{"o"} && task->GetError()->code == "E" &&
               !task->GetFeedback().isNull();
  }
  EXPECT_EQ(results, static_cast<std::size_t>(kDepth));

  ZoUpdateObjectRequestHelper request;
  xmltest::Take(request, Nested("<updateObjectRequest>",
                                "<parameters><param name='objectName' value='n'/></parameters>",
                                "</updateObjectRequest>", "<task name='addObject'>", "</task>"));
  std::size_t named = 0;
  for (ZoUpdateRequestTaskHelper* task : request.GetTasks()) {
    ZoUpdateRequestTaskHelper::ParamValue* value = nullptr;
    named += task->GetParameter(ZoUpdateRequestTaskHelper::kParamObjectName, value) &&
             value->value == "n";
  }
  EXPECT_EQ(named, static_cast<std::size_t>(kDepth));

  ZoModelAnalysisRequestHelper analysis;
  xmltest::Take(analysis,
                Nested("<analyzeModelRequest>",
                       "<objects><object id='o'/></objects>"
                       "<checks><check name='ambiguousCardinality'/></checks>",
                       "</analyzeModelRequest>", "<task name='doSpecifiedChecks'>", "</task>"));
  std::size_t checked = 0;
  for (const ZoAnalyzeRequestTaskHelper* task : analysis.GetTasks()) {
    checked += task->GetChecks().size() == 1 && task->GetObjects() == std::vector<I18NString>{"o"};
  }
  EXPECT_EQ(checked, static_cast<std::size_t>(kDepth));

  ZoActionHelperRetargetObjectReferences retarget;
  xmltest::Take(retarget,
                Nested("<retargetObjectReferences>",
                       "<updateInfo newRefValue='b'>"
                       "<itemToUpdate processDescendants='true'>i</itemToUpdate>"
                       "</updateInfo>",
                       "</retargetObjectReferences>", "<entry currentRefValue='a'>", "</entry>"));
  std::size_t entries = 0;
  for (const auto& entry : retarget.getEntries()) {
    entries +=
        entry.m_updateInfoList.size() == 1 && entry.m_updateInfoList[0].m_itemsToUpdate.size() == 1;
  }
  EXPECT_EQ(entries, static_cast<std::size_t>(kDepth));

  ZoActionHelperSecurityObjectSpec security;
  xmltest::Take(security, Nested("<securityObjects><securityObject cmSearchPath='/s'>",
                                 "<viewref>v</viewref><packageref>p</packageref>",
                                 "</securityObject></securityObjects>", "<view>", "</view>"));
  std::vector<ZoActionHelperSecurityObjectSpec::ViewInfo> views;
  ASSERT_FALSE(security.getEntry(views).isNull());
  std::size_t viewed = 0;
  for (const auto& view : views) viewed += view.m_viewRef == "v" && view.m_packageRefs.size() == 1;
  EXPECT_EQ(viewed, static_cast<std::size_t>(kDepth));

  QsDataSourceFaultHelper fault;
  xmltest::Take(
      fault, Nested("<fault>", "<name value='Sales'/><connection><name value='Main'/></connection>",
                    "</fault>", "<dataSource>", "</dataSource>"));
  QsDataSourceFaultHelper::DataSourceInfo info;
  ASSERT_TRUE(fault.GetDataSourceInfo("Sales", info));
  ASSERT_EQ(info.m_connections.size(), static_cast<std::size_t>(kDepth));
  EXPECT_EQ(info.m_connections.back()->m_name, "Main");
}

std::string DeepHierarchy(int depth) {
  std::string xml;
  const std::string open = "<item xsi:type=\"bus:hierarchicalParmValueItem\"><subNodes>";
  const std::string close = "</subNodes></item>";
  xml.reserve((open.size() + close.size()) * depth + 64);
  for (int i = 0; i < depth; ++i) xml += open;
  xml +=
      "<item xsi:type=\"bus:hierarchicalParmValueItem\"><value><use>bottom</use></value>"
      "<subNodes xsi:nil=\"true\"/></item>";
  for (int i = 0; i < depth; ++i) xml += close;
  return xml;
}

TEST(DeepInputTest, DeepHierarchyValueItemsAreReadWrittenAndFreed) {
  using Item = QsParamValueItemHelper;
  ORVIDOM_Element elem = xmltest::Parse(DeepHierarchy(kDepth - 1));
  std::unique_ptr<Item> item(Item::Create(elem.getAttribute("xsi:type"), elem));
  ASSERT_NE(item, nullptr);
  auto* node = static_cast<QsParamValueItemHierarchyHelper*>(item.get());
  int levels = 1;
  while (!node->GetSubNodes().empty()) {
    ASSERT_EQ(node->GetSubNodes().size(), 1u);
    node = node->GetSubNodes()[0];
    ++levels;
  }
  EXPECT_EQ(levels, kDepth);
  ASSERT_NE(node->GetValue(), nullptr);
  EXPECT_EQ(node->GetValue()->GetUse(), "bottom");

  ORVIDOM_Element made;
  item->Make(made);
  EXPECT_EQ(made.getElementsByTagName("subNodes").getLength(), static_cast<unsigned long>(kDepth));
  EXPECT_EQ(ORVIDOM_Helper::getElementText(ORVIDOM_Helper::findFirstElement(made, "use")),
            "bottom");
  item.reset();
}

}  // namespace
