#include "queryframework/QFCommandHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Builder.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kZoCommand("ZoCommand");
const I18NString kZoRequest("ZoRequest");
const I18NString kElemModelPath("modelPath");
// The query service API schema, version 2: the default namespace of every command.
const I18NString kQsApiNamespace("http://korvath.dev/schemas/qsapi/2/");
const I18NString kAttrXmlnsXsi("xmlns:xsi");
const I18NString kXmlSchemaInstanceNamespace("http://www.w3.org/2001/XMLSchema-instance");

// The connection nested inside `connection`, or null.
ORVIDOM_Element NestedConnection(const ORVIDOM_Element& connection) {
  return ORVIDOM_Helper::findFirstElement(connection,
                                          korvath_actionhelper_resources_connection_str);
}

}  // namespace

QFCommandHelper::QFCommandHelper() : QFCommandHelper(korvath_actionhelper_resources_empty_str) {}

QFCommandHelper::QFCommandHelper(const I18NString& modelPath)
    : m_modelPath(modelPath), m_commandID(kZoCommand), m_requestID(kZoRequest) {}

QFCommandHelper::~QFCommandHelper() = default;

const I18NString& QFCommandHelper::GetDefaultZoCommandID() { return kZoCommand; }

const I18NString& QFCommandHelper::GetDefaultZoRequestID() { return kZoRequest; }

void QFCommandHelper::SetProperty(EProperty property, const I18NString& value) {
  switch (property) {
    case kPropertyCommandID:
      m_commandID = value;
      break;
    case kPropertyRequestID:
      m_requestID = value;
      break;
  }
}

void QFCommandHelper::SetConnection(ORVIDOM_Element& connection) { m_connection = connection; }

void QFCommandHelper::AddConnection(ORVIDOM_Element& target, ORVIDOM_Element& connection) {
  // Nothing to copy, or nowhere to put it: the command stays as it is rather than failing.
  if (target.isNull() || connection.isNull()) return;
  const ORVIDOM_Element copy = target.getOwnerDocument().importNode(connection, true);
  // The envelope's connection is its direct child; a "connection" deeper down belongs to the
  // body and must not be replaced by the envelope's.
  const ORVIDOM_Element existing =
      ORVIDOM_Helper::findChildElement(target, korvath_actionhelper_resources_connection_str);
  if (existing.isNull()) {
    target.insertBefore(copy, target.getFirstChild());
    return;
  }
  const bool isConnectionTest =
      !ORVIDOM_Helper::findFirstElement(target, korvath_actionhelper_resources_testConnection_str)
           .isNull();
  if (isConnectionTest) {
    const ORVIDOM_Element copiedNested = NestedConnection(copy);
    const ORVIDOM_Element existingNested = NestedConnection(existing);
    // Without a nested connection on either side there is nothing to keep.
    if (!copiedNested.isNull() && !existingNested.isNull()) {
      copiedNested.getParentNode().replaceChild(existingNested, copiedNested);
    }
  }
  target.replaceChild(copy, existing);
}

const I18NString& QFCommandHelper::GetModelPath() const { return m_modelPath; }

void QFCommandHelper::MakeModelPath(ORVIDOM_Element& parent) const {
  ORVIDOM_Helper::findOrCreateElementWithText(parent, kElemModelPath, m_modelPath);
}

void QFCommandHelper::MakeModelPath(const orvidom::Builder& parent) const {
  parent.textElement(kElemModelPath, m_modelPath);
}

void QFCommandHelper::Incorporate(ORVIDOM_Document& doc, ORVIDOM_Element& elem,
                                  ORVIDOM_Element& body) const {
  const orvidom::Builder command =
      orvidom::Builder::detached(doc, korvath_actionhelper_resources_command_str);
  command.vocabularyAttribute(korvath_actionhelper_resources_xmlns_str, kQsApiNamespace)
      .vocabularyAttribute(kAttrXmlnsXsi, kXmlSchemaInstanceNamespace);
  elem = command.handle(doc);
  if (!m_connection.isNull()) elem.appendChild(doc.importNode(m_connection, true));
  elem.appendChild(body);
  const I18NString& valueName = korvath_actionhelper_resources_value_str;
  command.element(korvath_actionhelper_resources_commandID_str).attribute(valueName, m_commandID);
  command.element(korvath_actionhelper_resources_requestID_str).attribute(valueName, m_requestID);
}
