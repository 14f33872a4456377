// The hand-written paths of the tree libraries, written once: each library file gives the few
// calls they make (a "tree"), so that every library walks and builds the documents alike, as a
// caller of that library would.
//
// A tree T that reads documents gives
//   T::Node                          a node (a handle or a pointer; a default one is null)
//   T::Valid(n)                      false for the null node
//   T::FirstChild(n), T::NextSibling(n), T::IsElement(n)
//   T::Name(n)                       an element's name (a C string, for the readers)
//   T::Attribute(n, name)            an attribute's value; "" when the element has none
//   T::FirstText(n)                  the text of an element whose first child is text; "" else
//   T::ForEachAttribute(n, f)        f(name, value) for each attribute, in document order
//   T::Parsed(const XmlText&)        the parsed document (the parse's work), with Root()
// and one that makes documents also
//   T::Made(const char* rootName)    a new document, with Root() and Write() (its text)
//   T::Append(parent, name), T::SetAttribute(n, name, value), T::AppendWithText(parent, name, text)
#pragma once

#include <cstring>
#include <string>
#include <vector>

#include "Cases.h"

namespace bench {
namespace tree {

inline bool Same(const char* a, const char* b) { return std::strcmp(a, b) == 0; }

// The parse and the writing, each a call of its own so that instruction counts find them.
template <class T>
[[gnu::noinline]] typename T::Parsed Parse(const XmlText& input) {
  return typename T::Parsed(input);
}
template <class T>
[[gnu::noinline]] Result Write(const typename T::Made& doc) {
  return doc.Write();
}

template <class T>
bool Named(typename T::Node node, const char* name) {
  return T::IsElement(node) && Same(T::Name(node), name);
}

template <class T>
typename T::Node Child(typename T::Node parent, const char* name) {
  for (auto child = T::FirstChild(parent); T::Valid(child); child = T::NextSibling(child)) {
    if (Named<T>(child, name)) return child;
  }
  return {};
}

template <class T>
void ReadFeedbackResult(typename T::Node result, Digest& digest) {
  for (auto child = T::FirstChild(result); T::Valid(child); child = T::NextSibling(child)) {
    if (Named<T>(child, "property") && Same(T::Attribute(child, "name"), "nativeCommandText")) {
      digest.Add(T::FirstText(child));
    } else if (Named<T>(child, "connection")) {
      for (const char* name : {"value", "catalog", "schema"}) digest.Add(T::Attribute(child, name));
    }
  }
}

template <class T>
Result ReadQueryResponse(const XmlText& input) {
  auto doc = Parse<T>(input);
  auto response = doc.Root();
  Digest digest;
  ReadFeedbackResult<T>(Child<T>(response, "queryFeedbackResult"), digest);
  std::vector<std::string> values;
  for (auto column = T::FirstChild(Child<T>(response, "columnList")); T::Valid(column);
       column = T::NextSibling(column)) {
    for (const char* property : kColumnProperties) values.push_back(T::Attribute(column, property));
    digest.Add(values);
    values.clear();
  }
  for (auto row = T::FirstChild(Child<T>(response, "resultData")); T::Valid(row);
       row = T::NextSibling(row)) {
    if (!Named<T>(row, "row")) continue;
    for (auto value = T::FirstChild(row); T::Valid(value); value = T::NextSibling(value)) {
      if (Named<T>(value, "value")) values.push_back(T::Attribute(value, "v"));
    }
    digest.Add(values);
    values.clear();
  }
  return digest.Text();
}

// A line per entry, one tab deeper per level; an error entry is marked as one.
template <class T>
void RenderEntry(typename T::Node entry, const std::string& indent, std::string& out) {
  out += '\n';
  out += indent;
  out += Same(T::Attribute(entry, "class"), "error") ? "*** Error:" : "--- ";
  out += T::FirstText(entry);
  for (auto child = T::FirstChild(entry); T::Valid(child); child = T::NextSibling(child)) {
    if (Named<T>(child, "entry")) RenderEntry<T>(child, '\t' + indent, out);
  }
}

template <class T>
void ReadResultTask(typename T::Node task, Digest& digest) {
  digest.Add(T::Attribute(task, "name"));
  digest.Add(T::Attribute(task, "status"));
  std::string rendered;
  for (auto child = T::FirstChild(task); T::Valid(child); child = T::NextSibling(child)) {
    if (Named<T>(child, "param")) {
      digest.Add(T::Attribute(child, "name"));
      digest.Add(T::Attribute(child, "value"));
    } else if (Named<T>(child, "error")) {
      digest.Add(T::Attribute(child, "code"));
      digest.Add(T::FirstText(child));
    } else if (Named<T>(child, "feedback")) {
      for (auto entry = T::FirstChild(child); T::Valid(entry); entry = T::NextSibling(entry)) {
        if (Named<T>(entry, "entry")) RenderEntry<T>(entry, "", rendered);
      }
    }
  }
  digest.Add(rendered);
}

template <class T>
Result ReadUpdateResponse(const XmlText& input) {
  auto doc = Parse<T>(input);
  Digest digest;
  for (auto task = T::FirstChild(Child<T>(doc.Root(), "tasks")); T::Valid(task);
       task = T::NextSibling(task)) {
    if (Named<T>(task, "task")) ReadResultTask<T>(task, digest);
  }
  return digest.Text();
}

template <class T>
Result ParseOnly(const XmlText& input) {
  auto doc = Parse<T>(input);
  return Result();
}

// Every element's name and attributes, depth first.
template <class T>
void DigestElements(typename T::Node node, Digest& digest) {
  if (!T::IsElement(node)) return;
  digest.Add(T::Name(node));
  T::ForEachAttribute(node, [&digest](const auto& name, const auto& value) {
    digest.Add(name);
    digest.Add(value);
  });
  for (auto child = T::FirstChild(node); T::Valid(child); child = T::NextSibling(child)) {
    DigestElements<T>(child, digest);
  }
}

template <class T>
Result ParseAndDigest(const XmlText& input) {
  auto doc = Parse<T>(input);
  Digest digest;
  DigestElements<T>(doc.Root(), digest);
  return digest.Text();
}

template <class T>
typename T::Node AppendWithAttribute(typename T::Node parent, const char* name,
                                     const char* attribute, const std::string& value) {
  auto child = T::Append(parent, name);
  T::SetAttribute(child, attribute, value);
  return child;
}

template <class T>
Result MakeUpdateRequest(const UpdateRequestInput& input) {
  typename T::Made doc("updateObjectRequest");
  auto tasks = T::Append(doc.Root(), "tasks");
  for (const RequestTask& task : input.tasks) {
    auto parameters =
        T::Append(AppendWithAttribute<T>(tasks, "task", "name", task.name), "parameters");
    for (const RequestParameter& parameter : task.parameters) {
      auto param = AppendWithAttribute<T>(parameters, "param", "name", parameter.name);
      if (!parameter.locale.empty()) T::SetAttribute(param, "locale", parameter.locale);
      T::SetAttribute(param, "value", parameter.value);
    }
  }
  return Write<T>(doc);
}

template <class T>
void MakeQuery(typename T::Node queries, const ExecuteInput& input) {
  auto query = AppendWithAttribute<T>(queries, "query", "name", input.queryName);
  T::Append(T::Append(query, "source"), "model");
  auto selection = AppendWithAttribute<T>(query, "selection", "autoSummary", "false");
  for (const QueryDataItem& item : input.dataItems) {
    T::AppendWithText(AppendWithAttribute<T>(selection, "dataItem", "name", item.name),
                      "expression", item.expression);
  }
  auto detailFilter = T::Append(query, "detailFilter");
  for (const QueryDetailFilter& filter : input.detailFilters) {
    T::AppendWithText(AppendWithAttribute<T>(detailFilter, "filter", "use", filter.useName),
                      "filterExpression", filter.expression);
  }
  AppendWithAttribute<T>(T::Append(query, "queryHints"), "avoidZeroDiv", "value", "true");
}

template <class T>
void MakeResultDefinition(typename T::Node querySet, const ExecuteInput& input) {
  auto definition =
      AppendWithAttribute<T>(T::Append(querySet, "queryResultDefinitions"), "queryResultDefinition",
                             "name", "rsd" + input.queryName);
  T::SetAttribute(definition, "refQuery", input.queryName);
  auto edge = AppendWithAttribute<T>(T::Append(definition, "edges"), "edge", "name", "columns");
  auto valueSets = T::Append(T::Append(T::Append(edge, "edgeGroups"), "edgeGroup"), "valueSets");
  auto groupBody =
      AppendWithAttribute<T>(AppendWithAttribute<T>(valueSets, "valueSet", "name", "valueSet1"),
                             "groupBody", "name", "groupBody1");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithAttribute<T>(groupBody, "dataItemRef", "refDataItem", item.name);
  }
}

template <class T>
Result MakeExecute(const ExecuteInput& input) {
  typename T::Made doc("command");
  auto command = doc.Root();
  // Written as plain attributes, with no namespace processing.
  T::SetAttribute(command, "xmlns", kQueryServiceNamespace);
  T::SetAttribute(command, "xmlns:xsi", kSchemaInstanceNamespace);
  auto querySet = T::Append(T::Append(command, "execute"), "querySet");
  T::AppendWithText(querySet, "modelPath", input.modelPath);
  MakeQuery<T>(T::Append(querySet, "queries"), input);
  MakeResultDefinition<T>(querySet, input);
  AppendWithAttribute<T>(command, "commandID", "value", "ZoCommand");
  AppendWithAttribute<T>(command, "requestID", "value", "ZoRequest");
  return Write<T>(doc);
}

// Gives the cases that read a document, parsing alone included, the paths of tree T.
template <class T>
void AddReadingPaths(const char* library) {
  QueryResponseCase().AddPath(library, ReadQueryResponse<T>);
  UpdateResponseCase().AddPath(library, ReadUpdateResponse<T>);
  ParseCase().AddPath(library, ParseOnly<T>, ParseAndDigest<T>);
}

// Gives every case but the nested one, which only the helper reads, the paths of tree T.
template <class T>
void AddAllPaths(const char* library) {
  UpdateRequestCase().AddPath(library, MakeUpdateRequest<T>);
  ExecuteCase().AddPath(library, MakeExecute<T>);
  AddReadingPaths<T>(library);
}

}  // namespace tree
}  // namespace bench
