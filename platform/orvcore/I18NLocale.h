// A locale known by its name ("en-us"), written into documents as that name.
#pragma once

#include <utility>

#include <Korvath_ActionHelper/orvcore/I18NString.h>

class I18NLocale {
 public:
  // A locale with the given name.
  explicit I18NLocale(I18NString name) : m_name(std::move(name)) {}
  // The locale's name.
  const I18NString& getName() const noexcept { return m_name; }

 private:
  I18NString m_name;
};
