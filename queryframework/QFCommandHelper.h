// The command envelope "command" that carries every request to the query framework service:
// an optional connection, the body a concrete command writes, and the command's properties.
#pragma once

#include <Korvath_ActionHelper/core/ActionHandlerBase.h>

namespace orvidom {
class Builder;
}  // namespace orvidom

class KORVATH_API QFCommandHelper : public ActionHandlerBase {
 public:
  // The properties written after the body, each as an element with a "value" attribute. Holds
  // any int, so that an undefined property can be passed and ignored.
  enum EProperty : int {
    kPropertyCommandID = 1,
    kPropertyRequestID = 2,
  };

  ~QFCommandHelper() override;

  // "ZoCommand".
  static const I18NString& GetDefaultZoCommandID();
  // "ZoRequest".
  static const I18NString& GetDefaultZoRequestID();

  // Replaces the value of a property; a value outside EProperty changes nothing.
  void SetProperty(EProperty property, const I18NString& value);
  // Keeps a handle to the connection element; each Make writes a copy of it.
  void SetConnection(ORVIDOM_Element& connection);
  // Puts a copy of `connection` into an already made command element `target`: first child when
  // it has no connection, otherwise in place of its connection. For a connection test, the copy
  // keeps the target's nested connection.
  static void AddConnection(ORVIDOM_Element& target, ORVIDOM_Element& connection);

 protected:
  QFCommandHelper();
  explicit QFCommandHelper(const I18NString& modelPath);

  const I18NString& GetModelPath() const;
  // Finds or creates the child "modelPath" of `parent` holding the model path.
  void MakeModelPath(ORVIDOM_Element& parent) const;
  // Appends the child "modelPath" holding the model path to `parent`, an element being made.
  void MakeModelPath(const orvidom::Builder& parent) const;

  // Wraps `body` in the envelope and points `elem` at the envelope.
  virtual void Incorporate(ORVIDOM_Document& doc, ORVIDOM_Element& elem,
                           ORVIDOM_Element& body) const;

 private:
  I18NString m_modelPath;
  // The properties' values, written in the order of their element names.
  I18NString m_commandID;
  I18NString m_requestID;
  ORVIDOM_Element m_connection;
};
