// The document cases, their inputs and the digest the reading cases agree on. Each library file
// adds its own way of making or reading the documents to these cases.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "Case.h"

namespace bench {

// An update-object request: tasks of named parameters, written in the order given.
struct RequestParameter {
  int kind;  // the parameter's number in the task's parameter table
  std::string name;
  std::string locale;  // empty: no "locale" attribute
  std::string value;
};
struct RequestTask {
  int kind;  // the task's number in the task table
  std::string name;
  std::vector<RequestParameter> parameters;
};
struct UpdateRequestInput {
  std::vector<RequestTask> tasks;
};

// An execute command holding one query of data items and detail filters.
struct QueryDataItem {
  std::string name;
  std::string expression;
};
struct QueryDetailFilter {
  int use;  // the filter use's number (2: required)
  std::string useName;
  std::string expression;
};
struct ExecuteInput {
  std::string modelPath;
  std::string queryName;
  std::vector<QueryDataItem> dataItems;
  std::vector<QueryDetailFilter> detailFilters;
};

// Namespaces written on the command envelope.
extern const char* const kQueryServiceNamespace;
extern const char* const kSchemaInstanceNamespace;

// The properties of a column description, in the order they are read.
extern const char* const kColumnProperties[11];

// What a reading path has seen, folded into a short text that every library must reproduce.
class Digest {
 public:
  void Add(std::string_view text);
  void Add(const std::vector<std::string>& texts);
  Result Text() const;

 private:
  std::uint64_t hash_ = 14695981039346656037ull;
  std::uint64_t count_ = 0;
  std::uint64_t bytes_ = 0;
};

Case<UpdateRequestInput>& UpdateRequestCase();
Case<ExecuteInput>& ExecuteCase();
Case<XmlText>& QueryResponseCase();
Case<XmlText>& UpdateResponseCase();
// The query response read as it comes, a row at a time, without a tree: the same document and
// digest as QueryResponse.
Case<XmlText>& StreamQueryResponseCase();
// The update-object response with its tasks nested in each other instead of listed: a shape
// whose reading must stay linear. Only the helper reads it.
Case<XmlText>& NestedUpdateResponseCase();
// Parsing alone, of the QueryResponse case's document at 10,000 rows: the parse and the freeing
// of what it made are timed, and a digest of the element names and attributes the parser gives,
// in document order, is what the libraries must agree on.
Case<XmlText>& ParseCase();

// The cases above, in this order.
std::vector<CaseBase*> DocumentCases();

}  // namespace bench
