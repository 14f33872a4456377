// The update command: "update" holding one "updateSet" with the model path and one
// "updateSubject" per subject (its name and its new content as text), in the command envelope.
#pragma once

#include <vector>

#include <Korvath_ActionHelper/queryframework/QFCommandHelper.h>

class KORVATH_API QFUpdateCommandHelper : public QFCommandHelper {
 public:
  // One subject to update: its name and its new content.
  struct UpdateSubj {
    UpdateSubj(const I18NString& name, const I18NString& value) : m_name(name), m_value(value) {}

    I18NString m_name;
    I18NString m_value;
  };

  explicit QFUpdateCommandHelper(const I18NString& modelPath);
  ~QFUpdateCommandHelper() override;
  // The command owns its subjects.
  QFUpdateCommandHelper(const QFUpdateCommandHelper&) = delete;
  QFUpdateCommandHelper& operator=(const QFUpdateCommandHelper&) = delete;

  // Appends a subject; a name may be added more than once.
  void AddUpdateSubject(const I18NString& name, const I18NString& value);

 protected:
  void doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const override;

 private:
  std::vector<UpdateSubj*> m_subjects;
};
