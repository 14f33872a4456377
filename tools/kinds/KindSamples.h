// Random descriptions of a kind, made from its fields, and the comparison of a description with
// what reading the document made from it gives: merged lists as their merge rule gives them back.
// The property test and the fuzz targets drive every kind through these.
#pragma once

#include <nlohmann/json.hpp>

#include <string>

#include "Kinds.h"

// Where the choices and strings of one sample come from.
class SampleSource {
 public:
  virtual ~SampleSource() = default;
  // A number in [0, bound); 0 when bound is 0.
  virtual unsigned below(unsigned bound) = 0;
  // A non-empty string. `kept` tells that the made document must carry it, so a string XML
  // cannot carry must end in ORVIDOM_DOMException; other strings may be merged or dropped.
  virtual std::string text(bool kept) = 0;
};

// A description `make` takes: every required field, and each optional one by chance. An "xml"
// field holds an element, written as the writer writes it, with a string of the source as an
// attribute value and as its text; a string XML cannot carry ends in ORVIDOM_DOMException.
nlohmann::json sampleDescription(const Kind& kind, SampleSource& source);

// Where what `read` gave differs from the description it was made from, beyond what each
// field's round-trip rule allows: the path of the first such field and both values, or "" when
// there is none.
std::string readBackDifference(const Kind& kind, const nlohmann::json& given,
                               const nlohmann::ordered_json& read);

// The same for the document made from the description: what the kind reads of it, or, for a kind
// that is only made, what it carries where its fields say they are written.
std::string readBackDifference(const Kind& kind, const nlohmann::json& given,
                               ORVIDOM_Element& made);
