// The cases written by hand with pugixml, the library our DOM layer is built on: the floor.
#include <pugixml.hpp>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "Cases.h"

namespace bench {
namespace {

struct StringWriter : pugi::xml_writer {
  std::string out;
  void write(const void* data, size_t size) override {
    out.append(static_cast<const char*>(data), size);
  }
};

std::string Write(const pugi::xml_node& node) {
  StringWriter writer;
  node.print(writer, "", pugi::format_raw, pugi::encoding_utf8);
  return writer.out;
}

void SetAttribute(pugi::xml_node node, const char* name, const std::string& value) {
  node.append_attribute(name).set_value(value.c_str());
}

pugi::xml_node AppendWithAttribute(pugi::xml_node parent, const char* name, const char* attribute,
                                   const std::string& value) {
  pugi::xml_node child = parent.append_child(name);
  SetAttribute(child, attribute, value);
  return child;
}

void AppendWithText(pugi::xml_node parent, const char* name, const std::string& text) {
  parent.append_child(name).append_child(pugi::node_pcdata).set_value(text.c_str());
}

Result MakeUpdateRequest(const UpdateRequestInput& input) {
  pugi::xml_document doc;
  pugi::xml_node tasks = doc.append_child("updateObjectRequest").append_child("tasks");
  for (const RequestTask& task : input.tasks) {
    pugi::xml_node parameters =
        AppendWithAttribute(tasks, "task", "name", task.name).append_child("parameters");
    for (const RequestParameter& parameter : task.parameters) {
      pugi::xml_node param = AppendWithAttribute(parameters, "param", "name", parameter.name);
      if (!parameter.locale.empty()) SetAttribute(param, "locale", parameter.locale);
      SetAttribute(param, "value", parameter.value);
    }
  }
  return Write(doc.document_element());
}

void MakeQuery(pugi::xml_node queries, const ExecuteInput& input) {
  pugi::xml_node query = AppendWithAttribute(queries, "query", "name", input.queryName);
  query.append_child("source").append_child("model");
  pugi::xml_node selection = AppendWithAttribute(query, "selection", "autoSummary", "false");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithText(AppendWithAttribute(selection, "dataItem", "name", item.name), "expression",
                   item.expression);
  }
  pugi::xml_node detailFilter = query.append_child("detailFilter");
  for (const QueryDetailFilter& filter : input.detailFilters) {
    AppendWithText(AppendWithAttribute(detailFilter, "filter", "use", filter.useName),
                   "filterExpression", filter.expression);
  }
  AppendWithAttribute(query.append_child("queryHints"), "avoidZeroDiv", "value", "true");
}

void MakeResultDefinition(pugi::xml_node querySet, const ExecuteInput& input) {
  pugi::xml_node definition =
      AppendWithAttribute(querySet.append_child("queryResultDefinitions"), "queryResultDefinition",
                          "name", "rsd" + input.queryName);
  SetAttribute(definition, "refQuery", input.queryName);
  pugi::xml_node groupBody = AppendWithAttribute(
      AppendWithAttribute(
          AppendWithAttribute(definition.append_child("edges"), "edge", "name", "columns")
              .append_child("edgeGroups")
              .append_child("edgeGroup")
              .append_child("valueSets"),
          "valueSet", "name", "valueSet1"),
      "groupBody", "name", "groupBody1");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithAttribute(groupBody, "dataItemRef", "refDataItem", item.name);
  }
}

Result MakeExecute(const ExecuteInput& input) {
  pugi::xml_document doc;
  pugi::xml_node command = AppendWithAttribute(doc, "command", "xmlns", kQueryServiceNamespace);
  SetAttribute(command, "xmlns:xsi", kSchemaInstanceNamespace);
  pugi::xml_node querySet = command.append_child("execute").append_child("querySet");
  AppendWithText(querySet, "modelPath", input.modelPath);
  MakeQuery(querySet.append_child("queries"), input);
  MakeResultDefinition(querySet, input);
  AppendWithAttribute(command, "commandID", "value", "ZoCommand");
  AppendWithAttribute(command, "requestID", "value", "ZoRequest");
  return Write(command);
}

pugi::xml_node Parse(pugi::xml_document& doc, const XmlText& input) {
  if (!doc.load_buffer(input.xml.data(), input.xml.size())) {
    std::fprintf(stderr, "bench: pugixml cannot parse the input\n");
    std::exit(2);
  }
  return doc.document_element();
}

bool Named(const pugi::xml_node& node, const char* name) {
  return node.type() == pugi::node_element && std::strcmp(node.name(), name) == 0;
}

// The text of an element whose first child is text; empty otherwise.
const char* FirstText(const pugi::xml_node& element) {
  pugi::xml_node first = element.first_child();
  return first.type() == pugi::node_pcdata ? first.value() : "";
}

void ReadFeedbackResult(const pugi::xml_node& result, Digest& digest) {
  for (pugi::xml_node child : result.children()) {
    if (Named(child, "property") &&
        std::strcmp(child.attribute("name").value(), "nativeCommandText") == 0) {
      digest.Add(FirstText(child));
    } else if (Named(child, "connection")) {
      for (const char* name : {"value", "catalog", "schema"}) {
        digest.Add(child.attribute(name).value());
      }
    }
  }
}

Result ReadQueryResponse(const XmlText& input) {
  pugi::xml_document doc;
  pugi::xml_node response = Parse(doc, input);
  Digest digest;
  ReadFeedbackResult(response.child("queryFeedbackResult"), digest);
  std::vector<std::string> values;
  for (pugi::xml_node column : response.child("columnList").children()) {
    for (const char* property : kColumnProperties)
      values.push_back(column.attribute(property).value());
    digest.Add(values);
    values.clear();
  }
  for (pugi::xml_node row : response.child("resultData").children()) {
    if (!Named(row, "row")) continue;
    for (pugi::xml_node value : row.children()) {
      if (Named(value, "value")) values.push_back(value.attribute("v").value());
    }
    digest.Add(values);
    values.clear();
  }
  return digest.Text();
}

// A line per entry, one tab deeper per level; an error entry is marked as one.
void RenderEntry(const pugi::xml_node& entry, const std::string& indent, std::string& out) {
  out += '\n';
  out += indent;
  out += std::strcmp(entry.attribute("class").value(), "error") == 0 ? "*** Error:" : "--- ";
  out += FirstText(entry);
  for (pugi::xml_node child : entry.children()) {
    if (Named(child, "entry")) RenderEntry(child, '\t' + indent, out);
  }
}

void ReadResultTask(const pugi::xml_node& task, Digest& digest) {
  digest.Add(task.attribute("name").value());
  digest.Add(task.attribute("status").value());
  std::string rendered;
  for (pugi::xml_node child : task.children()) {
    if (Named(child, "param")) {
      digest.Add(child.attribute("name").value());
      digest.Add(child.attribute("value").value());
    } else if (Named(child, "error")) {
      digest.Add(child.attribute("code").value());
      digest.Add(FirstText(child));
    } else if (Named(child, "feedback")) {
      for (pugi::xml_node entry : child.children()) {
        if (Named(entry, "entry")) RenderEntry(entry, "", rendered);
      }
    }
  }
  digest.Add(rendered);
}

Result ReadUpdateResponse(const XmlText& input) {
  pugi::xml_document doc;
  Digest digest;
  for (pugi::xml_node task : Parse(doc, input).child("tasks").children()) {
    if (Named(task, "task")) ReadResultTask(task, digest);
  }
  return digest.Text();
}

const bool kRegistered = [] {
  UpdateRequestCase().AddPath("pugixml", MakeUpdateRequest);
  ExecuteCase().AddPath("pugixml", MakeExecute);
  QueryResponseCase().AddPath("pugixml", ReadQueryResponse);
  UpdateResponseCase().AddPath("pugixml", ReadUpdateResponse);
  return true;
}();

}  // namespace
}  // namespace bench
