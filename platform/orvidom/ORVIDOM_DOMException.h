// A W3C DOM error: a forbidden tree change or a value XML cannot carry. The tree is left as it was.
#pragma once

#include <stdexcept>
#include <string>

#include <Korvath_ActionHelper/orvcore/ORVExport.h>

class KORVATH_API ORVIDOM_DOMException : public std::exception {
 public:
  // W3C DOM Level 2 exception codes.
  enum ExceptionCode : unsigned short {
    INDEX_SIZE_ERR = 1,
    HIERARCHY_REQUEST_ERR = 3,
    WRONG_DOCUMENT_ERR = 4,
    INVALID_CHARACTER_ERR = 5,
    NO_MODIFICATION_ALLOWED_ERR = 7,
    NOT_FOUND_ERR = 8,
    NOT_SUPPORTED_ERR = 9,
    INVALID_STATE_ERR = 11,
  };

  ORVIDOM_DOMException(ExceptionCode code, std::string message);
  // The W3C exception code.
  unsigned short getCode() const noexcept { return m_code; }
  // What went wrong.
  const char* what() const noexcept override { return m_message.c_str(); }

 private:
  unsigned short m_code;
  std::string m_message;
};
