#include "queryframework/QFZoCommandHelper.h"

#include "core/Resources.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

const I18NString kElemZoCommand("zoCommand");
const I18NString kElemQueryFeedback("queryFeedback");
const I18NString kAttrQueryLocale("queryLocale");

}  // namespace

QFZoCommandHelper::QFZoCommandHelper(const I18NString& modelPath) : QFCommandHelper(modelPath) {}

QFZoCommandHelper::~QFZoCommandHelper() = default;

void QFZoCommandHelper::SetQueryLocale(const I18NLocale* locale) { m_queryLocale = locale; }

void QFZoCommandHelper::AddQueryFeedback(QFExecuteCommandHelper::EQueryFeedback feedback) {
  m_queryFeedback.push_back(feedback);
}

void QFZoCommandHelper::Incorporate(ORVIDOM_Document& doc, ORVIDOM_Element& elem,
                                    ORVIDOM_Element& body) const {
  ORVIDOM_Element zoCommand = doc.createElement(kElemZoCommand);
  if (m_queryLocale != nullptr) zoCommand.setAttribute(kAttrQueryLocale, m_queryLocale->getName());
  const ORVIDOM_Element source =
      ORVIDOM_Helper::findOrCreateElement(zoCommand, korvath_actionhelper_resources_source_str);
  ORVIDOM_Helper::findOrCreateElementWithText(source, korvath_actionhelper_resources_model_str,
                                              GetModelPath());
  zoCommand.appendChild(body);
  if (!m_queryFeedback.empty()) {
    const ORVIDOM_Element queryFeedback =
        ORVIDOM_Helper::findOrCreateElement(zoCommand, kElemQueryFeedback);
    for (const QFExecuteCommandHelper::EQueryFeedback feedback : m_queryFeedback) {
      const ORVIDOM_Element property =
          doc.createElement(korvath_actionhelper_resources_property_str);
      property.setAttribute(korvath_actionhelper_resources_name_str,
                            QFExecuteCommandHelper::ToString(feedback));
      queryFeedback.appendChild(property);
    }
  }
  QFCommandHelper::Incorporate(doc, elem, zoCommand);
}
