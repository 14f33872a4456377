// The vocabulary: the library's fixed, numbered table of element, attribute and value names,
// each built into a string on first use and kept until the process ends.
#pragma once

#include <Korvath_ActionHelper/orvcore/I18NString.h>

// The number of vocabulary entries.
constexpr unsigned kVocabularySize = 372;

// The entry at `index` (0 is the empty string). The same object is returned on every call, from
// any thread; ORVAssertError for an index past the table.
KORVATH_API const I18NString& GetResourceString(unsigned index);
