// The cases written by hand with Xerces-C++'s DOM. Xerces keeps text as UTF-16, so every text
// crosses a UTF-8 transcoder on its way in or out, as it would in a caller's program.
#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufFormatTarget.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/parsers/XercesDOMParser.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/TransService.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <cstdio>
#include <cstdlib>

#include "Cases.h"

namespace bench {
namespace {

using namespace xercesc;

XMLTranscoder& Utf8() {
  static XMLTranscoder* transcoder = [] {
    XMLPlatformUtils::Initialize();
    XMLTransService::Codes code;
    return XMLPlatformUtils::fgTransService->makeNewTranscoderFor(XMLRecognizer::UTF_8, code,
                                                                  16 * 1024);
  }();
  return *transcoder;
}

// UTF-8 text as the UTF-16 string Xerces takes.
class XString {
 public:
  explicit XString(const std::string& text)
      : text_(reinterpret_cast<const XMLByte*>(text.data()), text.size(), &Utf8()) {}
  explicit XString(const char* text) : XString(std::string(text)) {}
  operator const XMLCh*() const { return text_.str(); }

 private:
  TranscodeFromStr text_;
};

std::string ToUtf8(const XMLCh* text) {
  TranscodeToStr bytes(text, &Utf8());
  return std::string(reinterpret_cast<const char*>(bytes.str()), bytes.length());
}

DOMImplementationLS& Implementation() {
  Utf8();
  static DOMImplementation* implementation =
      DOMImplementationRegistry::getDOMImplementation(XString("LS"));
  return *implementation;
}

template <class T>
struct Releaser {
  void operator()(T* object) const { object->release(); }
};
template <class T>
using Owned = std::unique_ptr<T, Releaser<T>>;

std::string Write(const DOMNode* node) {
  Owned<DOMLSSerializer> serializer(Implementation().createLSSerializer());
  serializer->getDomConfig()->setParameter(XMLUni::fgDOMXMLDeclaration, false);
  Owned<DOMLSOutput> output(Implementation().createLSOutput());
  MemBufFormatTarget target;
  output->setByteStream(&target);
  static const XString kUtf8("UTF-8");
  output->setEncoding(kUtf8);
  serializer->write(node, output.get());
  return std::string(reinterpret_cast<const char*>(target.getRawBuffer()), target.getLen());
}

// A document with a new root element, which `root` receives.
Owned<DOMDocument> NewDocument(const XMLCh* rootName, DOMElement*& root) {
  Owned<DOMDocument> doc(static_cast<DOMImplementation&>(Implementation()).createDocument());
  root = doc->createElement(rootName);
  doc->appendChild(root);
  return doc;
}

DOMElement* Append(DOMElement* parent, const XMLCh* name) {
  DOMElement* child = parent->getOwnerDocument()->createElement(name);
  parent->appendChild(child);
  return child;
}

DOMElement* AppendWithAttribute(DOMElement* parent, const XMLCh* name, const XMLCh* attribute,
                                const std::string& value) {
  DOMElement* child = Append(parent, name);
  child->setAttribute(attribute, XString(value));
  return child;
}

void AppendWithText(DOMElement* parent, const XMLCh* name, const std::string& text) {
  DOMElement* child = Append(parent, name);
  child->appendChild(parent->getOwnerDocument()->createTextNode(XString(text)));
}

// The names a path uses, transcoded once.
struct Names {
  const XString updateObjectRequest{"updateObjectRequest"}, tasks{"tasks"}, task{"task"},
      parameters{"parameters"}, param{"param"}, name{"name"}, locale{"locale"}, value{"value"},
      command{"command"}, xmlns{"xmlns"}, xmlnsXsi{"xmlns:xsi"}, execute{"execute"},
      querySet{"querySet"}, modelPath{"modelPath"}, queries{"queries"}, query{"query"},
      source{"source"}, model{"model"}, selection{"selection"}, autoSummary{"autoSummary"},
      dataItem{"dataItem"}, expression{"expression"}, detailFilter{"detailFilter"},
      filter{"filter"}, use{"use"}, filterExpression{"filterExpression"}, queryHints{"queryHints"},
      avoidZeroDiv{"avoidZeroDiv"}, queryResultDefinitions{"queryResultDefinitions"},
      queryResultDefinition{"queryResultDefinition"}, refQuery{"refQuery"}, edges{"edges"},
      edge{"edge"}, edgeGroups{"edgeGroups"}, edgeGroup{"edgeGroup"}, valueSets{"valueSets"},
      valueSet{"valueSet"}, groupBody{"groupBody"}, dataItemRef{"dataItemRef"},
      refDataItem{"refDataItem"}, commandID{"commandID"}, requestID{"requestID"},
      queryFeedbackResult{"queryFeedbackResult"}, property{"property"}, connection{"connection"},
      columnList{"columnList"}, resultData{"resultData"}, row{"row"}, v{"v"}, status{"status"},
      error{"error"}, code{"code"}, feedback{"feedback"}, entry{"entry"}, entryClass{"class"},
      nativeCommandText{"nativeCommandText"}, errorClass{"error"}, catalog{"catalog"},
      schema{"schema"};
};

const Names& N() {
  Utf8();
  static const Names names;
  return names;
}

Result MakeUpdateRequest(const UpdateRequestInput& input) {
  const Names& n = N();
  DOMElement* root = nullptr;
  Owned<DOMDocument> doc = NewDocument(n.updateObjectRequest, root);
  DOMElement* tasks = Append(root, n.tasks);
  for (const RequestTask& task : input.tasks) {
    DOMElement* parameters =
        Append(AppendWithAttribute(tasks, n.task, n.name, task.name), n.parameters);
    for (const RequestParameter& parameter : task.parameters) {
      DOMElement* param = AppendWithAttribute(parameters, n.param, n.name, parameter.name);
      if (!parameter.locale.empty()) param->setAttribute(n.locale, XString(parameter.locale));
      param->setAttribute(n.value, XString(parameter.value));
    }
  }
  return Write(root);
}

void MakeQuery(DOMElement* queries, const ExecuteInput& input) {
  const Names& n = N();
  DOMElement* query = AppendWithAttribute(queries, n.query, n.name, input.queryName);
  Append(Append(query, n.source), n.model);
  DOMElement* selection = AppendWithAttribute(query, n.selection, n.autoSummary, "false");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithText(AppendWithAttribute(selection, n.dataItem, n.name, item.name), n.expression,
                   item.expression);
  }
  DOMElement* detailFilter = Append(query, n.detailFilter);
  for (const QueryDetailFilter& filter : input.detailFilters) {
    AppendWithText(AppendWithAttribute(detailFilter, n.filter, n.use, filter.useName),
                   n.filterExpression, filter.expression);
  }
  AppendWithAttribute(Append(query, n.queryHints), n.avoidZeroDiv, n.value, "true");
}

void MakeResultDefinition(DOMElement* querySet, const ExecuteInput& input) {
  const Names& n = N();
  DOMElement* definition =
      AppendWithAttribute(Append(querySet, n.queryResultDefinitions), n.queryResultDefinition,
                          n.name, "rsd" + input.queryName);
  definition->setAttribute(n.refQuery, XString(input.queryName));
  DOMElement* edge = AppendWithAttribute(Append(definition, n.edges), n.edge, n.name, "columns");
  DOMElement* valueSets = Append(Append(Append(edge, n.edgeGroups), n.edgeGroup), n.valueSets);
  DOMElement* groupBody =
      AppendWithAttribute(AppendWithAttribute(valueSets, n.valueSet, n.name, "valueSet1"),
                          n.groupBody, n.name, "groupBody1");
  for (const QueryDataItem& item : input.dataItems) {
    AppendWithAttribute(groupBody, n.dataItemRef, n.refDataItem, item.name);
  }
}

Result MakeExecute(const ExecuteInput& input) {
  const Names& n = N();
  DOMElement* command = nullptr;
  Owned<DOMDocument> doc = NewDocument(n.command, command);
  command->setAttribute(n.xmlns, XString(kQueryServiceNamespace));
  command->setAttribute(n.xmlnsXsi, XString(kSchemaInstanceNamespace));
  DOMElement* querySet = Append(Append(command, n.execute), n.querySet);
  AppendWithText(querySet, n.modelPath, input.modelPath);
  MakeQuery(Append(querySet, n.queries), input);
  MakeResultDefinition(querySet, input);
  AppendWithAttribute(command, n.commandID, n.value, "ZoCommand");
  AppendWithAttribute(command, n.requestID, n.value, "ZoRequest");
  return Write(command);
}

// The parser owns the document it returns.
DOMElement* Parse(XercesDOMParser& parser, const XmlText& input) {
  parser.setValidationScheme(XercesDOMParser::Val_Never);
  parser.setDoNamespaces(false);
  parser.setLoadExternalDTD(false);
  MemBufInputSource source(reinterpret_cast<const XMLByte*>(input.xml.data()), input.xml.size(),
                           "input", false);
  parser.parse(source);
  if (parser.getErrorCount() != 0 || !parser.getDocument()) {
    std::fprintf(stderr, "bench: Xerces cannot parse the input\n");
    std::exit(2);
  }
  return parser.getDocument()->getDocumentElement();
}

bool Named(const DOMElement* element, const XMLCh* name) {
  return XMLString::equals(element->getTagName(), name);
}

DOMElement* Child(const DOMElement* parent, const XMLCh* name) {
  for (DOMElement* child = parent->getFirstElementChild(); child;
       child = child->getNextElementSibling()) {
    if (Named(child, name)) return child;
  }
  return nullptr;
}

std::string FirstText(const DOMElement* element) {
  const DOMNode* first = element->getFirstChild();
  return first && first->getNodeType() == DOMNode::TEXT_NODE ? ToUtf8(first->getNodeValue()) : "";
}

void ReadFeedbackResult(const DOMElement* result, Digest& digest) {
  const Names& n = N();
  for (DOMElement* child = result->getFirstElementChild(); child;
       child = child->getNextElementSibling()) {
    if (Named(child, n.property) &&
        XMLString::equals(child->getAttribute(n.name), n.nativeCommandText)) {
      digest.Add(FirstText(child));
    } else if (Named(child, n.connection)) {
      for (const XString* name : {&n.value, &n.catalog, &n.schema}) {
        digest.Add(ToUtf8(child->getAttribute(*name)));
      }
    }
  }
}

Result ReadQueryResponse(const XmlText& input) {
  const Names& n = N();
  static const std::vector<XString> kProperties(std::begin(kColumnProperties),
                                                std::end(kColumnProperties));
  XercesDOMParser parser;
  const DOMElement* response = Parse(parser, input);
  Digest digest;
  ReadFeedbackResult(Child(response, n.queryFeedbackResult), digest);
  std::vector<std::string> values;
  for (DOMElement* column = Child(response, n.columnList)->getFirstElementChild(); column;
       column = column->getNextElementSibling()) {
    for (const XString& property : kProperties)
      values.push_back(ToUtf8(column->getAttribute(property)));
    digest.Add(values);
    values.clear();
  }
  for (DOMElement* row = Child(response, n.resultData)->getFirstElementChild(); row;
       row = row->getNextElementSibling()) {
    if (!Named(row, n.row)) continue;
    for (DOMElement* value = row->getFirstElementChild(); value;
         value = value->getNextElementSibling()) {
      if (Named(value, n.value)) values.push_back(ToUtf8(value->getAttribute(n.v)));
    }
    digest.Add(values);
    values.clear();
  }
  return digest.Text();
}

void RenderEntry(const DOMElement* entry, const std::string& indent, std::string& out) {
  const Names& n = N();
  out += '\n';
  out += indent;
  out += XMLString::equals(entry->getAttribute(n.entryClass), n.errorClass) ? "*** Error:" : "--- ";
  out += FirstText(entry);
  for (DOMElement* child = entry->getFirstElementChild(); child;
       child = child->getNextElementSibling()) {
    if (Named(child, n.entry)) RenderEntry(child, '\t' + indent, out);
  }
}

void ReadResultTask(const DOMElement* task, Digest& digest) {
  const Names& n = N();
  digest.Add(ToUtf8(task->getAttribute(n.name)));
  digest.Add(ToUtf8(task->getAttribute(n.status)));
  std::string rendered;
  for (DOMElement* child = task->getFirstElementChild(); child;
       child = child->getNextElementSibling()) {
    if (Named(child, n.param)) {
      digest.Add(ToUtf8(child->getAttribute(n.name)));
      digest.Add(ToUtf8(child->getAttribute(n.value)));
    } else if (Named(child, n.error)) {
      digest.Add(ToUtf8(child->getAttribute(n.code)));
      digest.Add(FirstText(child));
    } else if (Named(child, n.feedback)) {
      for (DOMElement* entry = child->getFirstElementChild(); entry;
           entry = entry->getNextElementSibling()) {
        if (Named(entry, n.entry)) RenderEntry(entry, "", rendered);
      }
    }
  }
  digest.Add(rendered);
}

Result ReadUpdateResponse(const XmlText& input) {
  const Names& n = N();
  XercesDOMParser parser;
  Digest digest;
  for (DOMElement* task = Child(Parse(parser, input), n.tasks)->getFirstElementChild(); task;
       task = task->getNextElementSibling()) {
    if (Named(task, n.task)) ReadResultTask(task, digest);
  }
  return digest.Text();
}

const bool kRegistered = [] {
  UpdateRequestCase().AddPath("xerces", MakeUpdateRequest);
  ExecuteCase().AddPath("xerces", MakeExecute);
  QueryResponseCase().AddPath("xerces", ReadQueryResponse);
  UpdateResponseCase().AddPath("xerces", ReadUpdateResponse);
  return true;
}();

}  // namespace
}  // namespace bench
