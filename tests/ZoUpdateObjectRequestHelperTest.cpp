#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "support/XmlTestSupport.h"

using Task = ZoUpdateRequestTaskHelper;

namespace {

using xmltest::Made;

const char* const kUnit = "ZoUpdateObjectRequestHelper";

std::vector<std::string> Texts(const std::vector<I18NString>& values) {
  std::vector<std::string> texts;
  for (const I18NString& v : values) texts.push_back(v.str());
  return texts;
}

}  // namespace

// Reaches the identifier walk, which the task helper keeps private.
class ZoUpdateRequestTaskHelperTest : public ::testing::Test {
 protected:
  static int ContainsIDs(Task& task, ORVIDOM_Element param) { return task.ContainsIDs(param); }
  static int Next(Task& task, std::vector<I18NString>& ids) {
    return task.GetNextIDParameters(ids);
  }
  static void Update(Task& task, const std::vector<I18NString>& ids) {
    task.UpdateCurrentIDParameters(ids);
  }

  // The only task of a received request.
  Task& Received(const char* requestXml) {
    ORVIDOM_Element elem = xmltest::Parse(requestXml);
    m_request = std::make_unique<ZoUpdateObjectRequestHelper>(elem);
    m_root = elem;
    return *m_request->GetTasks().at(0);
  }
  // The only task of a received request: an addObject with `params`.
  Task& ReceivedAddObject(const std::string& params) {
    return Received(("<updateObjectRequest><task name=\"addObject\"><parameters>" + params +
                     "</parameters></task></updateObjectRequest>")
                        .c_str());
  }

  std::unique_ptr<ZoUpdateObjectRequestHelper> m_request;
  ORVIDOM_Element m_root;
};

TEST(ZoUpdateObjectRequestHelperTest, WritesTasksWithParametersInKindOrder) {
  ORVIDOM_Element fragment = xmltest::Parse("<refs><refobj>qs1</refobj></refs>");
  ZoUpdateObjectRequestHelper request;
  Task* add = request.AddTask(Task::kTaskAddProperty);
  add->AddParameter(Task::kParamObjectID, "[m].[qs]", "");
  add->AddParameter(Task::kParamPropertyType, "filter", "en-us");
  const I18NString kept;  // the caller's own texts, copied
  add->AddParameter(Task::kParamPropertyType, kept, kept);
  add->AddParameter(Task::kParamQuerySubjectRefs, fragment);
  add->AddParameter(Task::kParamFilterApplyType, "always", "");
  add->AddParameter(Task::kParamQueryType, "sql", "");
  request.AddTask(Task::kTaskRemoveObject);
  request.AddTask(static_cast<Task::ETask>(42))
      ->AddParameter(static_cast<Task::EParameter>(99), "x", "");

  const ORVIDOM_Element made = Made(request);
  EXPECT_TRUE(made.getParentNode().isNull());
  EXPECT_TRUE(xmltest::SameTree(made, R"(
    <updateObjectRequest><tasks>
      <task name="addProperty"><parameters>
        <param name="propertyType" locale="en-us" value="filter"/>
        <param name="propertyType" value=""/>
        <param name="objectID" value="[m].[qs]"/>
        <param name="filterApplyType" value="always"/>
        <param name="queryType" value="sql"/>
        <param name="querySubjectRefs"><refs><refobj>qs1</refobj></refs></param>
      </parameters></task>
      <task name="removeObject"><parameters/></task>
      <task name="unknown"><parameters><param name="unknown" value="x"/></parameters></task>
    </tasks></updateObjectRequest>)"));
  // The fragment is copied into the request; the caller's element stays where it was.
  EXPECT_EQ(fragment.getParentNode().getNodeType(), ORVIDOM_Node::DOCUMENT_NODE);
  EXPECT_EQ(made.getOwnerDocument(), made.getFirstChild().getFirstChild().getOwnerDocument());

  // A value XML cannot carry stops the making, leaving the request with the tasks before it.
  request.AddTask(Task::kTaskAddObject)->AddParameter(Task::kParamCaption, "bell\x07", "");
  ORVIDOM_Element partial;
  EXPECT_THROW(request.Make(partial), ORVIDOM_DOMException);
  EXPECT_EQ(partial.getElementsByTagName("task").getLength(), 3u);
}

TEST(ZoUpdateObjectRequestHelperTest, ValuesAndTasksHandedOutStayValidAsMoreAreAdded) {
  ZoUpdateObjectRequestHelper request;
  Task* task = request.AddTask(Task::kTaskUpdateProperty);
  task->AddParameter(Task::kParamCaption, "first caption", "en-us");
  Task::ParamValue* first = nullptr;
  ASSERT_TRUE(task->GetParameter(Task::kParamCaption, first));
  for (int i = 0; i < 1000; ++i) {
    task->AddParameter(i % 2 ? Task::kParamCaption : Task::kParamObjectID, std::to_string(i), "");
  }
  EXPECT_EQ(first->value, "first caption");
  EXPECT_EQ(first->locale, "en-us");
  std::vector<Task::ParamValue*> captions;
  ASSERT_TRUE(task->GetParameter(Task::kParamCaption, captions));
  ASSERT_EQ(captions.size(), 501u);
  EXPECT_EQ(captions.front(), first);
  EXPECT_EQ(captions[1]->value, "1");
  EXPECT_EQ(captions.back()->value, "999");
  for (int i = 0; i < 1000; ++i) request.AddTask(Task::kTaskAddObject);
  EXPECT_EQ(request.GetTasks().front(), task);
  EXPECT_EQ(task->GetTask(), Task::kTaskUpdateProperty);
}

TEST(ZoUpdateObjectRequestHelperTest, ReadsReceivedTasksAndAccumulates) {
  ORVIDOM_Element elem = xmltest::Parse(R"(<updateObjectRequest><tasks>
      <task name="updateProperty"><parameters>
        <param name="caption" locale="fr" value="Titre"/>
        <param name="caption" value="Title"/>
        <param name="querySubjectRefs"><refs><refobj>a</refobj></refs></param>
      </parameters></task>
      <task name="addObject"/>
    </tasks></updateObjectRequest>)");
  ZoUpdateObjectRequestHelper request(elem);
  ASSERT_EQ(request.GetTasks().size(), 2u);
  EXPECT_EQ(request.GetTasks()[1]->GetTask(), Task::kTaskAddObject);
  Task* task = request.GetTasks()[0];
  std::vector<Task::ParamValue*> captions(1, nullptr);
  ASSERT_TRUE(task->GetParameter(Task::kParamCaption, captions));
  ASSERT_EQ(captions.size(), 3u);  // appended after what the caller had
  EXPECT_EQ(captions[1]->locale, "fr");
  EXPECT_EQ(captions[2]->value, "Title");
  Task::ParamValue* refs = nullptr;
  ASSERT_TRUE(task->GetParameter(Task::kParamQuerySubjectRefs, refs));
  // The fragment is the received element itself, not a copy.
  EXPECT_EQ(refs->element, ORVIDOM_Helper::findFirstElement(elem, "refs"));
  // A kind the task lacks, whether it sorts before the kinds it has or after them.
  Task::ParamValue* untouched = refs;
  for (Task::EParameter absent : {Task::kParamObjectID, Task::kParamKey}) {
    EXPECT_FALSE(task->GetParameter(absent, untouched));
    EXPECT_EQ(untouched, refs);
  }

  // A received task that was never asked for its parameters writes none.
  EXPECT_TRUE(xmltest::SameTree(Made(request).getFirstChild().getLastChild(),
                                R"(<task name="addObject"><parameters/></task>)"));
  request.Take(elem);
  EXPECT_EQ(request.GetTasks().size(), 4u);
  ORVIDOM_Element null;
  request.Take(null);
  EXPECT_EQ(request.GetTasks().size(), 4u);

  // A task taken on its own reads its own parameters.
  ORVIDOM_Element alone = ORVIDOM_Helper::findFirstElement(elem, "task");
  Task* own = request.AddTask(Task::kTaskUpdateProperty);
  own->Take(alone);
  std::vector<Task::ParamValue*> ownCaptions;
  ASSERT_TRUE(own->GetParameter(Task::kParamCaption, ownCaptions));
  EXPECT_EQ(ownCaptions.size(), 2u);
}

TEST(ZoUpdateObjectRequestHelperTest, RejectsMalformedRequests) {
  ORVIDOM_Element unknownTask = xmltest::Parse(
      R"(<updateObjectRequest><tasks><task name="addObject"/><task name="frobnicate"/>)"
      R"(</tasks></updateObjectRequest>)");
  ZoUpdateObjectRequestHelper request;
  EXPECT_ORV_ASSERT(request.Take(unknownTask),
                    "ORV_ASSERT(eTask != ZoUpdateRequestTaskHelper::kTaskUnknown);", kUnit);
  EXPECT_EQ(request.GetTasks().size(), 1u);  // what was read before the failure stays

  const char* const badFragment =
      "ORV_ASSERT(!nodeValue.isNull() && nodeValue.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);";
  const struct {
    const char* param;
    const char* text;
  } cases[] = {
      {R"(<param name="colour" value="red"/>)", "ORV_ASSERT(eParam != kParamUnknown);"},
      {R"(<param name="basedOn"/>)", badFragment},
      // A fragment must be the param's first child: indentation before it is not skipped.
      {"<param name=\"basedOn\">\n  <refs/>\n</param>", badFragment},
  };
  for (const auto& c : cases) {
    ORVIDOM_Element elem =
        xmltest::Parse(std::string(R"(<r><task name="addObject">)") + c.param + "</task></r>");
    ZoUpdateObjectRequestHelper received(elem);
    std::vector<Task::ParamValue*> values;
    EXPECT_ORV_ASSERT(received.GetTasks()[0]->GetParameter(Task::kParamBasedOn, values), c.text,
                      kUnit);
  }
}

TEST_F(ZoUpdateRequestTaskHelperTest, DecidesWhichParametersCarryIdentifiers) {
  Task& add = Received(R"(<updateObjectRequest><task name="addProperty"/></updateObjectRequest>)");
  const auto param = [](const char* name, const char* value) {
    return xmltest::Parse(std::string("<param name=\"") + name + "\" value=\"" + value + "\"/>");
  };
  for (const char* kind :
       {"objectID", "objectBeforeID", "basedOn", "key", "attributes", "dimensionRef"}) {
    EXPECT_TRUE(ContainsIDs(add, param(kind, "x"))) << kind;
  }
  for (const char* kind : {"caption", "objectName", "querySubjectRefs", "propertyIndex"}) {
    EXPECT_FALSE(ContainsIDs(add, param(kind, "x"))) << kind;
  }
  EXPECT_FALSE(ContainsIDs(add, param("propertyValue", "x")));  // no property type yet
  for (const char* type :
       {"filter", "securityFilter", "previewFilter", "dataSource", "querySubjectRefs"}) {
    EXPECT_FALSE(ContainsIDs(add, param("propertyType", type)));
    EXPECT_TRUE(ContainsIDs(add, param("propertyValue", "x"))) << type;
  }
  EXPECT_FALSE(ContainsIDs(add, param("propertyType", "Filter")));
  EXPECT_FALSE(ContainsIDs(add, param("propertyValue", "x")));
  EXPECT_ORV_ASSERT(ContainsIDs(add, param("colour", "x")), "ORV_ASSERT(eParam != kParamUnknown);",
                    kUnit);

  // Only tasks that add or update a property remember the property type.
  Task& remove =
      Received(R"(<updateObjectRequest><task name="removeProperty"/></updateObjectRequest>)");
  EXPECT_FALSE(ContainsIDs(remove, param("propertyType", "securityFilter")));
  EXPECT_FALSE(ContainsIDs(remove, param("propertyValue", "x")));
  Task& update =
      Received(R"(<updateObjectRequest><task name="updateProperty"/></updateObjectRequest>)");
  EXPECT_FALSE(ContainsIDs(update, param("propertyType", "dataSource")));
  EXPECT_TRUE(ContainsIDs(update, param("propertyValue", "x")));
}

TEST_F(ZoUpdateRequestTaskHelperTest, WalksAndRewritesIdentifiers) {
  const char* const xml = R"(<updateObjectRequest><tasks>
      <task name="addProperty">
        <parameters>
          <param name="propertyType" value="securityFilter"/>
          <param name="objectName" value="n"/>
          <param name="propertyValue"><def><refobj>r1</refobj><refobj/><x><refobj>r3</refobj></x></def></param>
          <param name="objectID" value="o1"/>
        </parameters>
      </task>
    </tasks></updateObjectRequest>)";
  Task& task = Received(xml);
  std::vector<I18NString> ids{"stale"};
  ASSERT_TRUE(Next(task, ids));
  EXPECT_EQ(Texts(ids), (std::vector<std::string>{"r1", "r3"}));
  EXPECT_ORV_ASSERT(Update(task, {"n1", "n3"}), "ORV_ASSERT(listRefs.getLength() == vIDs.size());",
                    kUnit);
  Update(task, {"n1", "ignored", "n3"});  // the refobj without text keeps its place in the count
  ASSERT_TRUE(Next(task, ids));
  EXPECT_EQ(Texts(ids), (std::vector<std::string>{"o1"}));
  EXPECT_ORV_ASSERT(Update(task, {"a", "b"}), "ORV_ASSERT(vIDs.size() == 1);", kUnit);
  EXPECT_FALSE(Next(task, ids));
  EXPECT_TRUE(ids.empty());
  Update(task, {"o2"});  // the cursor still stands on the last identifier param
  EXPECT_FALSE(Next(task, ids));
  const ORVIDOM_NodeList params = m_root.getElementsByTagName("param");
  EXPECT_EQ(ORVIDOM_Element(params.item(0)).getAttribute("value"), "securityFilter");
  EXPECT_TRUE(
      xmltest::SameTree(params.item(2).getFirstChild(),
                        "<def><refobj>n1</refobj><refobj/><x><refobj>n3</refobj></x></def>"));
  EXPECT_EQ(ORVIDOM_Element(params.item(3)).getAttribute("value"), "o2");

  // The same params in a task that does not remember the property type: only objectID.
  std::string removeXml(xml);
  removeXml.replace(removeXml.find("addProperty"), 11, "removeProperty");
  Task& remove = Received(removeXml.c_str());
  ASSERT_TRUE(Next(remove, ids));
  EXPECT_EQ(Texts(ids), (std::vector<std::string>{"o1"}));
  EXPECT_FALSE(Next(remove, ids));
}

TEST_F(ZoUpdateRequestTaskHelperTest, WalkEdgeCases) {
  ZoUpdateObjectRequestHelper built;
  Task* own = built.AddTask(Task::kTaskAddObject);
  own->AddParameter(Task::kParamObjectID, "o", "");
  std::vector<I18NString> ids;
  EXPECT_FALSE(Next(*own, ids));  // nothing received to walk
  EXPECT_ORV_ASSERT(Update(*own, {"x"}), "ORV_ASSERT(!idCrap_elmCurrIDParam.isNull());", kUnit);

  EXPECT_FALSE(Next(ReceivedAddObject(R"(<param name="caption" value="c"/>)"), ids));

  EXPECT_ORV_ASSERT(
      Next(ReceivedAddObject(R"(<param name="basedOn"/>)"), ids),
      "ORV_ASSERT(!nodeValue.isNull() && nodeValue.getNodeType() == ORVIDOM_Node::ELEMENT_NODE);",
      kUnit);

  // Rewriting does not refresh parameters already read.
  Task& task = ReceivedAddObject(R"(<param name="objectID" value="old"/>)");
  Task::ParamValue* value = nullptr;
  ASSERT_TRUE(task.GetParameter(Task::kParamObjectID, value));
  ASSERT_TRUE(Next(task, ids));
  Update(task, {"new"});
  EXPECT_EQ(value->value, "old");
  EXPECT_EQ(ORVIDOM_Helper::findFirstElement(m_root, "param").getAttribute("value"), "new");
}
