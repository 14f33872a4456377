// The cases made and read through the library's helpers, the way a caller of the library would:
// setters then Make and the writer, or the parser then Take and the getters.
#include "TreePaths.h"
#include "modeltasks/ZoActionFeedbackHelper.h"
#include "modeltasks/ZoUpdateObjectRequestHelper.h"
#include "modeltasks/ZoUpdateObjectResponseHelper.h"
#include "orvidom/ORVIDOM_NamedNodeMap.h"
#include "orvidom/ORVIDOM_Parser.h"
#include "orvidom/ORVIDOM_Writer.h"
#include "queryframework/QFExecuteCommandHelper.h"
#include "queryframework/QFResponseDomHelper.h"
#include "queryframework/QFResponseStreamReader.h"

namespace bench {
namespace {

std::string Write(const ActionHandlerBase& helper) {
  ORVIDOM_Element element;
  helper.Make(element);
  return ORVIDOM_Writer::toString(element);
}

Result MakeUpdateRequest(const UpdateRequestInput& input) {
  ZoUpdateObjectRequestHelper request;
  for (const RequestTask& task : input.tasks) {
    ZoUpdateRequestTaskHelper* helper =
        request.AddTask(static_cast<ZoUpdateRequestTaskHelper::ETask>(task.kind));
    for (const RequestParameter& parameter : task.parameters) {
      helper->AddParameter(static_cast<ZoUpdateRequestTaskHelper::EParameter>(parameter.kind),
                           parameter.value, parameter.locale);
    }
  }
  return Write(request);
}

Result MakeExecute(const ExecuteInput& input) {
  QFExecuteCommandHelper command(input.modelPath, nullptr);
  QFQueryHelper* query = command.AddQuery(input.queryName);
  for (const QueryDataItem& item : input.dataItems) {
    query->AddDataItem(item.name, item.expression);
  }
  for (const QueryDetailFilter& filter : input.detailFilters) {
    query->AddDetailFilter(filter.expression, static_cast<QFQueryDetailFilter::EUse>(filter.use));
  }
  return Write(command);
}

// The feedback, data sources and columns of either reader.
template <class Reader>
void DigestHead(const Reader& reader, Digest& digest) {
  I18NString feedback;
  if (reader.GetQueryFeedback(QFExecuteCommandHelper::kQueryFeedbackNativeCommandText, feedback)) {
    digest.Add(feedback.str());
  }
  std::vector<QFResponseDomHelper::DataSource> sources;
  reader.GetResponseDataSources(sources);
  for (const auto& source : sources) {
    for (const I18NString* text : {&source.value, &source.catalog, &source.schema})
      digest.Add(text->str());
  }
  std::vector<std::map<QFResponseDomHelper::EColumnProp, I18NString>> columns;
  reader.GetColumnList(columns);
  for (const auto& column : columns) {
    for (const auto& property : column) digest.Add(property.second.str());
  }
}

Result ReadQueryResponse(const XmlText& input) {
  ORVIDOM_Document doc = ORVIDOM_Parser::parseString(input.xml);
  ORVIDOM_Element response = doc.getDocumentElement();
  QFResponseDomHelper reader;
  reader.Take(response);
  Digest digest;
  DigestHead(reader, digest);
  std::vector<I18NString> values;
  for (ORVIDOM_Element row = reader.GetFirstResultSetRow(); !row.isNull();
       row = reader.GetNextResultSetRow(row)) {
    reader.GetResultSetRowValues(row, values);
    for (const I18NString& value : values) digest.Add(value.str());
    values.clear();
  }
  return digest.Text();
}

Result StreamQueryResponse(const XmlText& input) {
  ORVIDOM_PullReader pull(input.xml);
  QFResponseStreamReader reader(pull);
  reader.ReadToRows();
  Digest digest;
  DigestHead(reader, digest);
  std::vector<QFResponseStreamReader::Value> values;
  while (reader.GetNextRow(values)) {
    for (const QFResponseStreamReader::Value& value : values) digest.Add(value.text.str());
  }
  return digest.Text();
}

void ReadResultTask(ZoUpdateResponseTaskHelper& task, Digest& digest) {
  digest.Add(ZoUpdateRequestTaskHelper::ToString(task.GetTask()).str());
  digest.Add(ToString(task.GetStatus()).str());
  std::vector<I18NString> values;
  for (auto kind :
       {ZoUpdateResponseTaskHelper::kParamProperty, ZoUpdateResponseTaskHelper::kParamObject}) {
    if (!task.GetParameter(kind, values)) continue;
    for (const I18NString& value : values) {
      digest.Add(ToString(kind).str());
      digest.Add(value.str());
    }
    values.clear();
  }
  if (const ZoUpdateResponseTaskHelper::ErrorInfo* error = task.GetError()) {
    digest.Add(error->code.str());
    digest.Add(error->message.str());
  }
  ZoActionFeedbackHelper feedback;
  ORVIDOM_Element element = task.GetFeedback();
  feedback.Take(element);
  I18NString rendered;
  feedback.Render(rendered);
  digest.Add(rendered.str());
}

Result ReadUpdateResponse(const XmlText& input) {
  ORVIDOM_Document doc = ORVIDOM_Parser::parseString(input.xml);
  ORVIDOM_Element element = doc.getDocumentElement();
  ZoUpdateObjectResponseHelper response(element);
  Digest digest;
  for (ZoUpdateResponseTaskHelper* task : response.GetTasks()) ReadResultTask(*task, digest);
  return digest.Text();
}

// The parsed document through the DOM layer's public handles, for parsing alone and its check.
struct DomTree {
  using Node = ORVIDOM_Node;

  class Parsed {
   public:
    explicit Parsed(const XmlText& input) : doc_(ORVIDOM_Parser::parseString(input.xml)) {}
    Node Root() const { return doc_.getDocumentElement(); }

   private:
    ORVIDOM_Document doc_;
  };

  static bool Valid(const Node& node) { return !node.isNull(); }
  static Node FirstChild(const Node& node) { return node.getFirstChild(); }
  static Node NextSibling(const Node& node) { return node.getNextSibling(); }
  static bool IsElement(const Node& node) {
    return node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE;
  }
  static std::string Name(const Node& node) { return node.getNodeName().str(); }
  template <class Visit>
  static void ForEachAttribute(const Node& node, Visit visit) {
    ORVIDOM_NamedNodeMap attributes = node.getAttributes();
    for (unsigned long i = 0; i < attributes.getLength(); ++i) {
      ORVIDOM_Node attribute = attributes.item(i);
      visit(attribute.getNodeName().str(), attribute.getNodeValue().str());
    }
  }
};

const bool kRegistered = [] {
  UpdateRequestCase().AddPath("helper", MakeUpdateRequest);
  ExecuteCase().AddPath("helper", MakeExecute);
  QueryResponseCase().AddPath("helper", ReadQueryResponse);
  StreamQueryResponseCase().AddPath("helper", StreamQueryResponse);
  UpdateResponseCase().AddPath("helper", ReadUpdateResponse);
  NestedUpdateResponseCase().AddPath("helper", ReadUpdateResponse);
  ParseCase().AddPath("helper", tree::ParseOnly<DomTree>, tree::ParseAndDigest<DomTree>);
  return true;
}();

}  // namespace
}  // namespace bench
