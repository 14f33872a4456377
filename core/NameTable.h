// Lookups in the helpers' name tables. Each enumeration's XML names live in one table beside
// the helper that converts it, which its conversions both ways read: a table of the names
// (entry 0 naming the first value), or of pointers to names defined for other uses too (entry 0
// null, standing for the unknown value). Internal to the library.
#pragma once

#include <cstddef>
#include <string_view>

#include "core/Resources.h"

namespace nametable {

// The name at `index` of a table of `count` names whose entry 0 stands for the unknown value;
// "unknown" outside the table.
inline const I18NString& nameAt(const I18NString* const* names, int count, int index) {
  if (index <= 0 || index >= count) return korvath_actionhelper_resources_unknown_str;
  return *names[index];
}

// The index of `name` in such a table; 0 when no entry has it.
inline int indexOf(const I18NString* const* names, int count, const I18NString& name) {
  for (int i = 1; i < count; ++i) {
    if (*names[i] == name) return i;
  }
  return 0;
}

// The name of `value` in a table of names whose entry 0 names the value `first`; "unknown"
// outside it.
template <std::size_t N>
const I18NString& nameAt(const I18NString (&names)[N], int value, int first = 1) {
  if (value < first || value - first >= static_cast<int>(N)) {
    return korvath_actionhelper_resources_unknown_str;
  }
  return names[value - first];
}

// The value `name` names in a table of names whose entry 0 names value 1; 0 when no entry has
// it.
template <std::size_t N>
int indexOf(const I18NString (&names)[N], const I18NString& name) {
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i] == name) return static_cast<int>(i) + 1;
  }
  return 0;
}

// The same for a zero-terminated name, compared in place rather than copied into a string.
template <std::size_t N>
int indexOf(const I18NString (&names)[N], const char* name) {
  const std::string_view text(name);
  for (std::size_t i = 0; i < N; ++i) {
    if (names[i].str() == text) return static_cast<int>(i) + 1;
  }
  return 0;
}

}  // namespace nametable
