// The exception every failed precondition of the library raises: the failing assertion's text,
// a code, and the source unit and line of the failing site.
#pragma once

#include <exception>
#include <string>

#include <Korvath_ActionHelper/orvcore/ORVExport.h>

class KORVATH_API ORVAssertError : public std::exception {
 public:
  // An error with the given code and assertion text, not yet located.
  ORVAssertError(long code, std::string text);

  // The assertion text, for example "ORV_ASSERT(!domRequest.isNull());".
  const char* what() const noexcept override;
  // The code the error was built with (0 for every assertion of the library).
  long getCode() const noexcept { return m_code; }
  // The source unit of the failing site: the file name without folder and extension.
  const std::string& getSourceUnit() const noexcept { return m_sourceUnit; }
  // The line of the failing site.
  int getLine() const noexcept { return m_line; }
  // The literal the site raised the error with ("ORV_THROW").
  const std::string& getOrigin() const noexcept { return m_origin; }

  // Records where the error was raised and throws it.
  [[noreturn]] void raise(const char* sourceFile, int line, int reserved, const char* origin);

 private:
  long m_code;
  std::string m_text;
  std::string m_sourceUnit;
  int m_line = 0;
  std::string m_origin;
};

// Raises ORVAssertError with the text "ORV_ASSERT(cond);" when cond is false.
#define ORV_ASSERT(cond)                                           \
  do {                                                             \
    if (!(cond)) {                                                 \
      ORVAssertError orvAssertError_(0, "ORV_ASSERT(" #cond ");"); \
      orvAssertError_.raise(__FILE__, __LINE__, 0, "ORV_THROW");   \
    }                                                              \
  } while (false)

// Raises ORVAssertError with the text "ORV_ASSERT_NAMED(cond, name);" when cond is false.
#define ORV_ASSERT_NAMED(cond, name)                                                \
  do {                                                                              \
    if (!(cond)) {                                                                  \
      ORVAssertError orvAssertError_(0, "ORV_ASSERT_NAMED(" #cond ", " #name ");"); \
      orvAssertError_.raise(__FILE__, __LINE__, 0, "ORV_THROW");                    \
    }                                                                               \
  } while (false)
