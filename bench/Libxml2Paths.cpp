// The cases written by hand with libxml2's tree API.
#include <libxml/parser.h>
#include <libxml/tree.h>

#include <cstdio>
#include <cstdlib>
#include <memory>

#include "Cases.h"

namespace bench {
namespace {

const xmlChar* X(const char* text) { return reinterpret_cast<const xmlChar*>(text); }
const xmlChar* X(const std::string& text) { return X(text.c_str()); }
const char* C(const xmlChar* text) { return reinterpret_cast<const char*>(text); }

struct DocDeleter {
  void operator()(xmlDoc* doc) const { xmlFreeDoc(doc); }
};
using DocPtr = std::unique_ptr<xmlDoc, DocDeleter>;

struct BufferDeleter {
  void operator()(xmlBuffer* buffer) const { xmlBufferFree(buffer); }
};

std::string Write(xmlDoc* doc, xmlNode* node) {
  std::unique_ptr<xmlBuffer, BufferDeleter> buffer(xmlBufferCreate());
  xmlNodeDump(buffer.get(), doc, node, 0, 0);
  return std::string(C(xmlBufferContent(buffer.get())), xmlBufferLength(buffer.get()));
}

// A document with a new root element, which `root` receives.
DocPtr NewDocument(const char* rootName, xmlNode*& root) {
  DocPtr doc(xmlNewDoc(X("1.0")));
  root = xmlNewDocNode(doc.get(), nullptr, X(rootName), nullptr);
  xmlDocSetRootElement(doc.get(), root);
  return doc;
}

xmlNode* AppendWithAttribute(xmlNode* parent, const char* name, const char* attribute,
                             const std::string& value) {
  xmlNode* child = xmlNewChild(parent, nullptr, X(name), nullptr);
  xmlNewProp(child, X(attribute), X(value));
  return child;
}

// xmlNewTextChild escapes the text; xmlNewChild would take it as markup.
void AppendWithText(xmlNode* parent, const char* name, const std::string& text) {
  xmlNewTextChild(parent, nullptr, X(name), X(text));
}

xmlNode* Append(xmlNode* parent, const char* name) {
  return xmlNewChild(parent, nullptr, X(name), nullptr);
}

Result MakeUpdateRequest(const UpdateRequestInput& input) {
  xmlNode* root = nullptr;
  DocPtr doc = NewDocument("updateObjectRequest", root);
  xmlNode* tasks = Append(root, "tasks");
  for (const RequestTask& task : input.tasks) {
    xmlNode* parameters =
        Append(AppendWithAttribute(tasks, "task", "name", task.name), "parameters");
    for (const RequestParameter& parameter : task.parameters) {
      xmlNode* param = AppendWithAttribute(parameters, "param", "name", parameter.name);
      if (!parameter.locale.empty()) xmlNewProp(param, X("locale"), X(parameter.locale));
      xmlNewProp(param, X("value"), X(parameter.value));
    }
  }
  return Write(doc.get(), root);
}

void MakeQuery(xmlNode* queries, const ExecuteInput& input) {
  xmlNode* query = AppendWithAttribute(queries, "query", "name", input.queryName);
  Append(Append(query, "source"), "model");
  xmlNode* selection = AppendWithAttribute(query, "selection", "autoSummary", "false");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithText(AppendWithAttribute(selection, "dataItem", "name", item.name), "expression",
                   item.expression);
  }
  xmlNode* detailFilter = Append(query, "detailFilter");
  for (const QueryDetailFilter& filter : input.detailFilters) {
    AppendWithText(AppendWithAttribute(detailFilter, "filter", "use", filter.useName),
                   "filterExpression", filter.expression);
  }
  AppendWithAttribute(Append(query, "queryHints"), "avoidZeroDiv", "value", "true");
}

void MakeResultDefinition(xmlNode* querySet, const ExecuteInput& input) {
  xmlNode* definition =
      AppendWithAttribute(Append(querySet, "queryResultDefinitions"), "queryResultDefinition",
                          "name", "rsd" + input.queryName);
  xmlNewProp(definition, X("refQuery"), X(input.queryName));
  xmlNode* edge = AppendWithAttribute(Append(definition, "edges"), "edge", "name", "columns");
  xmlNode* valueSets = Append(Append(Append(edge, "edgeGroups"), "edgeGroup"), "valueSets");
  xmlNode* groupBody =
      AppendWithAttribute(AppendWithAttribute(valueSets, "valueSet", "name", "valueSet1"),
                          "groupBody", "name", "groupBody1");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithAttribute(groupBody, "dataItemRef", "refDataItem", item.name);
  }
}

Result MakeExecute(const ExecuteInput& input) {
  xmlNode* command = nullptr;
  DocPtr doc = NewDocument("command", command);
  // Written as plain attributes, as the other libraries write them: no namespace processing.
  xmlNewProp(command, X("xmlns"), X(kQueryServiceNamespace));
  xmlNewProp(command, X("xmlns:xsi"), X(kSchemaInstanceNamespace));
  xmlNode* querySet = Append(Append(command, "execute"), "querySet");
  AppendWithText(querySet, "modelPath", input.modelPath);
  MakeQuery(Append(querySet, "queries"), input);
  MakeResultDefinition(querySet, input);
  AppendWithAttribute(command, "commandID", "value", "ZoCommand");
  AppendWithAttribute(command, "requestID", "value", "ZoRequest");
  return Write(doc.get(), command);
}

DocPtr Parse(const XmlText& input) {
  DocPtr doc(xmlReadMemory(input.xml.data(), static_cast<int>(input.xml.size()), nullptr, "UTF-8",
                           XML_PARSE_NONET | XML_PARSE_HUGE));
  if (!doc) {
    std::fprintf(stderr, "bench: libxml2 cannot parse the input\n");
    std::exit(2);
  }
  return doc;
}

bool Named(const xmlNode* node, const char* name) {
  return node->type == XML_ELEMENT_NODE && xmlStrEqual(node->name, X(name));
}

xmlNode* Child(const xmlNode* parent, const char* name) {
  for (xmlNode* child = parent->children; child; child = child->next) {
    if (Named(child, name)) return child;
  }
  return nullptr;
}

// The attribute's value without a copy (xmlGetProp would allocate one per call): a parsed value
// is a single text node; absent gives "".
const char* Attribute(const xmlNode* element, const char* name) {
  for (const xmlAttr* attribute = element->properties; attribute; attribute = attribute->next) {
    if (xmlStrEqual(attribute->name, X(name))) {
      return attribute->children ? C(attribute->children->content) : "";
    }
  }
  return "";
}

const char* FirstText(const xmlNode* element) {
  const xmlNode* first = element->children;
  return first && first->type == XML_TEXT_NODE ? C(first->content) : "";
}

void ReadFeedbackResult(const xmlNode* result, Digest& digest) {
  for (const xmlNode* child = result->children; child; child = child->next) {
    if (Named(child, "property") &&
        xmlStrEqual(X(Attribute(child, "name")), X("nativeCommandText"))) {
      digest.Add(FirstText(child));
    } else if (Named(child, "connection")) {
      for (const char* name : {"value", "catalog", "schema"}) digest.Add(Attribute(child, name));
    }
  }
}

Result ReadQueryResponse(const XmlText& input) {
  DocPtr doc = Parse(input);
  const xmlNode* response = xmlDocGetRootElement(doc.get());
  Digest digest;
  ReadFeedbackResult(Child(response, "queryFeedbackResult"), digest);
  std::vector<std::string> values;
  for (const xmlNode* column = Child(response, "columnList")->children; column;
       column = column->next) {
    for (const char* property : kColumnProperties) values.push_back(Attribute(column, property));
    digest.Add(values);
    values.clear();
  }
  for (const xmlNode* row = Child(response, "resultData")->children; row; row = row->next) {
    if (!Named(row, "row")) continue;
    for (const xmlNode* value = row->children; value; value = value->next) {
      if (Named(value, "value")) values.push_back(Attribute(value, "v"));
    }
    digest.Add(values);
    values.clear();
  }
  return digest.Text();
}

void RenderEntry(const xmlNode* entry, const std::string& indent, std::string& out) {
  out += '\n';
  out += indent;
  out += xmlStrEqual(X(Attribute(entry, "class")), X("error")) ? "*** Error:" : "--- ";
  out += FirstText(entry);
  for (const xmlNode* child = entry->children; child; child = child->next) {
    if (Named(child, "entry")) RenderEntry(child, '\t' + indent, out);
  }
}

void ReadResultTask(const xmlNode* task, Digest& digest) {
  digest.Add(Attribute(task, "name"));
  digest.Add(Attribute(task, "status"));
  std::string rendered;
  for (const xmlNode* child = task->children; child; child = child->next) {
    if (Named(child, "param")) {
      digest.Add(Attribute(child, "name"));
      digest.Add(Attribute(child, "value"));
    } else if (Named(child, "error")) {
      digest.Add(Attribute(child, "code"));
      digest.Add(FirstText(child));
    } else if (Named(child, "feedback")) {
      for (const xmlNode* entry = child->children; entry; entry = entry->next) {
        if (Named(entry, "entry")) RenderEntry(entry, "", rendered);
      }
    }
  }
  digest.Add(rendered);
}

Result ReadUpdateResponse(const XmlText& input) {
  DocPtr doc = Parse(input);
  Digest digest;
  for (const xmlNode* task = Child(xmlDocGetRootElement(doc.get()), "tasks")->children; task;
       task = task->next) {
    if (Named(task, "task")) ReadResultTask(task, digest);
  }
  return digest.Text();
}

const bool kRegistered = [] {
  UpdateRequestCase().AddPath("libxml2", MakeUpdateRequest);
  ExecuteCase().AddPath("libxml2", MakeExecute);
  QueryResponseCase().AddPath("libxml2", ReadQueryResponse);
  UpdateResponseCase().AddPath("libxml2", ReadUpdateResponse);
  return true;
}();

}  // namespace
}  // namespace bench
