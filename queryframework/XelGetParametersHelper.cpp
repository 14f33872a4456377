#include "queryframework/XelGetParametersHelper.h"

namespace {

const I18NString kElemParameters("parameters");
const I18NString kElemParameter("parameter");
const I18NString kAttrName("name");
const I18NString kAttrValue("value");

}  // namespace

XelGetParametersHelper::~XelGetParametersHelper() = default;

std::vector<std::pair<I18NString, I18NString>> XelGetParametersHelper::GetParameters() const {
  return m_parameters;
}

void XelGetParametersHelper::SetParameters(
    const std::vector<std::pair<I18NString, I18NString>>& parameters) {
  m_parameters = parameters;
}

void XelGetParametersHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  elem = doc.createElement(kElemParameters);
  doc.appendChild(elem);
  for (const auto& [name, value] : m_parameters) {
    ORVIDOM_Element parameter = doc.createElement(kElemParameter);
    parameter.setAttribute(kAttrName, name);
    parameter.setAttribute(kAttrValue, value);
    elem.appendChild(parameter);
  }
}

void XelGetParametersHelper::doTake(ORVIDOM_Element& elem) {
  const ORVIDOM_NodeList parameters = elem.getElementsByTagName(kElemParameter);
  for (unsigned long idx = 0; idx < parameters.getLength(); ++idx) {
    const ORVIDOM_Element parameter = parameters.item(idx);
    m_parameters.emplace_back(parameter.getAttribute(kAttrName),
                              parameter.getAttribute(kAttrValue));
  }
}
