#include "queryframework/XelQuerySubjectHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

XelQuerySubjectHelper::XelQuerySubjectHelper(const I18NString& modelPath,
                                             ORVIDOM_Element& definition)
    : QFZoCommandHelper(modelPath), m_definition(definition) {}

XelQuerySubjectHelper::~XelQuerySubjectHelper() = default;

void XelQuerySubjectHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  const I18NString& type = korvath_actionhelper_resources_type_str;
  ORVIDOM_Element body = doc.createElement(korvath_actionhelper_resources_querySubject_str);
  body.setAttribute(type, korvath_actionhelper_resources_querySubject_str);
  ORVIDOM_Helper::findOrCreateElementWithText(body, korvath_actionhelper_resources_name_str,
                                              korvath_actionhelper_resources_aVrkQuerySubject_str);
  const ORVIDOM_Element definition =
      doc.createElement(korvath_actionhelper_resources_definition_str);
  body.appendChild(definition);
  // A null definition has nothing to copy; the command is written with an empty "definition"
  // instead of failing, as no document of the caller's is lost by it.
  if (!m_definition.isNull()) definition.appendChild(doc.importNode(m_definition, true));

  // Only the first statement of the old dialect name is renamed.
  const ORVIDOM_Element sql =
      ORVIDOM_Helper::findElementWithAttribute(body, korvath_actionhelper_resources_sql_str, type,
                                               korvath_actionhelper_resources_tarvin_str);
  if (!sql.isNull()) sql.setAttribute(type, korvath_actionhelper_resources_Tarvin_str);
  QFZoCommandHelper::Incorporate(doc, elem, body);
}
