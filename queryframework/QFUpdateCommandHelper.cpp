#include "queryframework/QFUpdateCommandHelper.h"

#include <memory>

#include "core/OwnedList.h"
namespace {

const I18NString kElemUpdate("update");
const I18NString kElemUpdateSet("updateSet");
const I18NString kElemUpdateSubject("updateSubject");
const I18NString kAttrName("name");

}  // namespace

QFUpdateCommandHelper::QFUpdateCommandHelper(const I18NString& modelPath)
    : QFCommandHelper(modelPath) {}

QFUpdateCommandHelper::~QFUpdateCommandHelper() { DeleteAll(m_subjects); }

void QFUpdateCommandHelper::AddUpdateSubject(const I18NString& name, const I18NString& value) {
  AppendOwned(m_subjects, std::make_unique<UpdateSubj>(name, value));
}

void QFUpdateCommandHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  ORVIDOM_Element update = doc.createElement(kElemUpdate);
  ORVIDOM_Element updateSet = doc.createElement(kElemUpdateSet);
  update.appendChild(updateSet);
  MakeModelPath(updateSet);
  for (const UpdateSubj* subject : m_subjects) {
    const ORVIDOM_Element updateSubject = doc.createElement(kElemUpdateSubject);
    updateSubject.setAttribute(kAttrName, subject->m_name);
    updateSet.appendChild(updateSubject);
    updateSubject.appendChild(doc.createTextNode(subject->m_value));
  }
  QFCommandHelper::Incorporate(doc, elem, update);
}
