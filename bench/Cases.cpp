#include "Cases.h"

namespace bench {

const char* const kQueryServiceNamespace = "http://korvath.dev/schemas/qsapi/2/";
const char* const kSchemaInstanceNamespace = "http://www.w3.org/2001/XMLSchema-instance";

const char* const kColumnProperties[11] = {"name",
                                           "sqlName",
                                           "type",
                                           "scale",
                                           "length",
                                           "precision",
                                           "nullsAllowed",
                                           "collationSequenceName",
                                           "collationSequenceLevel",
                                           "originalCollationSequenceName",
                                           "originalEncodingName"};

void Digest::Add(std::string_view text) {
  // FNV-1a over the text and a separator byte, so that "ab"+"c" and "a"+"bc" differ.
  for (unsigned char c : text) hash_ = (hash_ ^ c) * 1099511628211ull;
  hash_ = (hash_ ^ 0xffu) * 1099511628211ull;
  ++count_;
  bytes_ += text.size();
}

void Digest::Add(const std::vector<std::string>& texts) {
  for (const std::string& text : texts) Add(text);
}

Result Digest::Text() const {
  return std::to_string(count_) + " texts, " + std::to_string(bytes_) + " bytes, hash " +
         std::to_string(hash_);
}

namespace {

std::string Numbered(const char* prefix, size_t i) { return prefix + std::to_string(i); }

// Every task updates the caption of one object with five parameters. None has a locale: Xerces
// keeps attributes sorted by name, so it cannot write "locale" between "name" and "value".
UpdateRequestInput PrepareUpdateRequest(size_t tasks) {
  UpdateRequestInput input;
  input.tasks.reserve(tasks);
  for (size_t i = 0; i < tasks; ++i) {
    input.tasks.push_back({3,
                           "updateProperty",
                           {{1, "propertyType", "", "caption"},
                            {2, "propertyValue", "", Numbered("Revenue by region ", i)},
                            {3, "forceUpdate", "", "true"},
                            {7, "objectName", "", Numbered("Query subject ", i)},
                            {10, "objectID", "", Numbered("ID_", 100000 + i)}}});
  }
  return input;
}

ExecuteInput PrepareExecute(size_t items) {
  ExecuteInput input{"/content/package/model", "Query1", {}, {}};
  input.dataItems.reserve(items);
  input.detailFilters.reserve(items);
  for (size_t i = 0; i < items; ++i) {
    std::string column = Numbered("[Sales].[Orders].[Column", i) + "]";
    input.dataItems.push_back({Numbered("Item", i), column});
    input.detailFilters.push_back({2, "required", column + " is not null"});
  }
  return input;
}

void AppendAttribute(std::string& xml, const char* name, const std::string& value) {
  xml += ' ';
  xml += name;
  xml += "=\"";
  xml += value;
  xml += '"';
}

// A result of `rows` rows by ten columns, with its feedback and column descriptions.
XmlText PrepareQueryResponse(size_t rows) {
  std::string xml =
      "<queryResponse><queryFeedbackResult><property name=\"nativeCommandText\">select "
      "ORDER_NO, PRODUCT, QUANTITY from ORDERS</property><connection value=\"sales\" "
      "catalog=\"SALESDB\" schema=\"dbo\"/></queryFeedbackResult><columnList>";
  for (int c = 0; c < 10; ++c) {
    xml += "<column";
    for (const char* property : kColumnProperties) {
      AppendAttribute(xml, property, property + std::to_string(c));
    }
    xml += "/>";
  }
  xml += "</columnList><resultData>";
  xml.reserve(xml.size() + rows * 280);  // about the rows' size: no copies as the text grows
  for (size_t r = 0; r < rows; ++r) {
    xml += "<row>";
    for (int c = 0; c < 10; ++c) {
      xml += "<value";
      AppendAttribute(xml, "v", c % 2 ? std::to_string(r * 10 + c) : Numbered("Product ", r));
      xml += "/>";
    }
    xml += "</row>";
  }
  xml += "</resultData></queryResponse>";
  return {xml};
}

// Odd tasks fail with an error and a feedback three entries deep; even tasks succeed with a
// one-entry feedback.
XmlText PrepareUpdateResponse(size_t tasks) {
  std::string xml = "<updateObjectResponse><tasks>";
  for (size_t i = 0; i < tasks; ++i) {
    std::string id = Numbered("ID_", 100000 + i);
    if (i % 2 == 0) {
      xml +=
          "<task name=\"updateProperty\" status=\"success\"><param name=\"property\" "
          "value=\"caption\"/><param name=\"object\" value=\"" +
          id + "\"/><feedback><entry class=\"info\">Caption of " + id +
          " updated</entry></feedback></task>";
    } else {
      xml += "<task name=\"addObject\" status=\"failure\"><param name=\"object\" value=\"" + id +
             "\"/><error code=\"ZO-1042\">Object " + id +
             " could not be added</error><feedback><entry class=\"error\" "
             "name=\"validation\">Object " +
             id +
             " could not be added<entry class=\"warning\">The name is already used<entry "
             "class=\"trace\" name=\"check\">Uniqueness checked in folder " +
             id +
             "</entry></entry></entry><entry class=\"info\">Task skipped</entry></feedback></task>";
    }
  }
  xml += "</tasks></updateObjectResponse>";
  return {xml};
}

// `tasks` tasks nested in each other, each with a feedback of its own before the task it holds;
// the innermost holds a parameter and an error, which every task finds below itself.
XmlText PrepareNestedUpdateResponse(size_t tasks) {
  std::string xml = "<updateObjectResponse><tasks>";
  for (size_t i = 0; i < tasks; ++i) {
    xml +=
        "<task name=\"updateProperty\" status=\"success\"><feedback><entry class=\"info\">Level " +
        std::to_string(i) + "</entry></feedback>";
  }
  xml += "<param name=\"object\" value=\"ID_1\"/><error code=\"ZO-1042\">Innermost</error>";
  for (size_t i = 0; i < tasks; ++i) xml += "</task>";
  xml += "</tasks></updateObjectResponse>";
  return {xml};
}

}  // namespace

Case<UpdateRequestInput>& UpdateRequestCase() {
  static Case<UpdateRequestInput> instance("UpdateRequest", {10, 1000, 100000}, {},
                                           PrepareUpdateRequest);
  return instance;
}

Case<ExecuteInput>& ExecuteCase() {
  static Case<ExecuteInput> instance("ExecuteCommand", {10, 1000, 100000}, {}, PrepareExecute);
  return instance;
}

Case<XmlText>& QueryResponseCase() {
  static Case<XmlText> instance("QueryResponse", {100, 10000}, {1000000}, PrepareQueryResponse);
  return instance;
}

Case<XmlText>& StreamQueryResponseCase() {
  static Case<XmlText> instance("StreamQueryResponse", {100, 10000}, {1000000},
                                PrepareQueryResponse);
  return instance;
}

Case<XmlText>& UpdateResponseCase() {
  static Case<XmlText> instance("UpdateResponse", {10, 1000, 100000}, {}, PrepareUpdateResponse);
  return instance;
}

Case<XmlText>& NestedUpdateResponseCase() {
  static Case<XmlText> instance("NestedUpdateResponse", {1000, 100000}, {},
                                PrepareNestedUpdateResponse);
  return instance;
}

Case<XmlText>& ParseCase() {
  static Case<XmlText> instance("Parse", {10000}, {}, PrepareQueryResponse);
  return instance;
}

std::vector<CaseBase*> DocumentCases() {
  return {&UpdateRequestCase(),  &ExecuteCase(),
          &QueryResponseCase(),  &StreamQueryResponseCase(),
          &UpdateResponseCase(), &NestedUpdateResponseCase(),
          &ParseCase()};
}

}  // namespace bench
