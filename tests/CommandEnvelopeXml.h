// The written command envelope, for tests of the commands that go in it.
#pragma once

#include <string>

#include "support/XmlTestSupport.h"

namespace envelopexml {

// The opening tag of every envelope.
inline const std::string kCommandOpen =
    "<command xmlns='http://korvath.dev/schemas/qsapi/2/'"
    " xmlns:xsi='http://www.w3.org/2001/XMLSchema-instance'>";
// The properties of a command whose IDs were not changed.
inline const std::string kDefaultIds =
    "<commandID value='ZoCommand'/><requestID value='ZoRequest'/>";

// The envelope with its default IDs around `body`.
inline std::string Command(const std::string& body) {
  return kCommandOpen + body + kDefaultIds + "</command>";
}

// An engine model command on model "/m" with `body`, no locale and no feedback.
inline std::string ZoCommand(const std::string& body) {
  return Command("<zoCommand><source><model>/m</model></source>" + body + "</zoCommand>");
}

}  // namespace envelopexml
