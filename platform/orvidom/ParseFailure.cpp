// The messages of input pugixml refuses, worked out again from the input: pugixml gives only a
// kind of failure and an offset, and its offsets near the end of the input are approximate.
#include <algorithm>
#include <cstring>
#include <new>
#include <vector>

#include "orvidom/ORVIDOM_ParseError.h"
#include "orvidom/WellFormedness.h"
#include "orvidom/XmlChars.h"

namespace orvidom {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

struct Place {
  int line;
  int column;
};

// Lines end at a line feed, a carriage return or both; columns count characters, and a byte
// order mark is no character of the first line.
Place placeOf(std::string_view xml, std::size_t offset) {
  std::size_t i = xml.substr(0, 3) == kByteOrderMark ? std::min<std::size_t>(3, offset) : 0;
  Place place{1, 1};
  std::size_t lineStart = i;
  for (; i < offset; ++i) {
    const char c = xml[i];
    if (c == '\n' || (c == '\r' && (i + 1 == xml.size() || xml[i + 1] != '\n'))) {
      ++place.line;
      lineStart = i + 1;
    }
  }
  for (std::size_t j = lineStart; j < offset; ++j) {
    if ((static_cast<unsigned char>(xml[j]) & 0xC0) != 0x80) ++place.column;
  }
  return place;
}

// The name written at `at`, as far as pugixml reads names: ASCII name characters and any byte
// of a multi-byte sequence.
std::string nameAt(std::string_view xml, std::size_t at) {
  std::size_t end = at;
  while (end < xml.size() && (kAsciiName.rest[static_cast<unsigned char>(xml[end])] ||
                              static_cast<unsigned char>(xml[end]) >= 0x80)) {
    ++end;
  }
  return std::string(xml.substr(std::min(at, xml.size()), end - std::min(at, end)));
}

// The offsets of the start tags still open at `upTo`, in input pugixml has read well-formed so
// far: a stack of "<" kept while markup is skipped.
std::vector<std::size_t> openStartTags(std::string_view xml, std::size_t upTo) {
  std::vector<std::size_t> open;
  std::size_t i = 0;
  auto skipPast = [&](const char* end) {
    const std::size_t at = xml.find(end, i);
    i = at == std::string_view::npos ? at : at + std::strlen(end);
  };
  while ((i = xml.find('<', i)) < upTo) {
    const std::string_view rest = xml.substr(i);
    if (rest.substr(0, 4) == "<!--") {
      i += 4;
      skipPast("-->");
    } else if (rest.substr(0, 9) == "<![CDATA[") {
      skipPast("]]>");
    } else if (rest.substr(0, 2) == "<?") {
      skipPast("?>");
    } else if (rest.substr(0, 2) == "<!") {
      skipPast(">");
    } else if (rest.substr(0, 2) == "</") {
      if (!open.empty()) open.pop_back();
      skipPast(">");
    } else {
      open.push_back(i);
      for (++i; i < xml.size() && xml[i] != '>'; ++i) {
        if (xml[i] == '"' || xml[i] == '\'') {
          i = xml.find(xml[i], i + 1);
          if (i == std::string_view::npos) return open;
        }
      }
      if (i < xml.size() && xml[i - 1] == '/') open.pop_back();
    }
  }
  return open;
}

// What the markup starting at `at` is, for a message.
std::string markupAt(std::string_view xml, std::size_t at) {
  const std::string_view markup = xml.substr(at);
  if (markup.substr(0, 4) == "<!--") return "a comment";
  if (markup.substr(0, 9) == "<![CDATA[") return "a CDATA section";
  if (markup.substr(0, 2) == "<?") {
    const std::string target = nameAt(xml, at + 2);
    return target == "xml" ? "the XML declaration" : "a processing instruction";
  }
  if (markup.substr(0, 2) == "<!") return "a markup declaration";
  if (markup.substr(0, 2) == "</") return "the end tag </" + nameAt(xml, at + 2) + ">";
  const std::string name = nameAt(xml, at + 1);
  return name.empty() ? "\"<\"" : "the start tag <" + name + ">";
}

std::string startTag(std::string_view xml, std::size_t at) {
  return "start tag <" + nameAt(xml, at + 1) + "> opened at " + position(xml, at);
}

// Where the tag that holds `offset` starts.
std::size_t tagStart(std::string_view xml, std::size_t offset, const char* opening) {
  const std::size_t at = xml.rfind(opening, offset);
  return at == std::string_view::npos ? offset : at;
}

[[noreturn]] void throwMismatch(std::string_view xml, std::size_t offset) {
  if (offset >= 2 && xml.compare(offset - 2, 2, "</") == 0) {
    const std::size_t at = offset - 2;
    const std::string endTag = "end tag </" + nameAt(xml, offset) + ">";
    const std::vector<std::size_t> open = openStartTags(xml, at);
    if (open.empty()) throwParseError(xml, at, endTag + " without a start tag");
    throwParseError(xml, at, endTag + " does not match " + startTag(xml, open.back()));
  }
  const std::vector<std::size_t> open = openStartTags(xml, xml.size());
  if (open.empty()) throwParseError(xml, xml.size(), "unexpected end of the document");
  throwParseError(xml, xml.size(),
                  "the document ends before the end tag of the " + startTag(xml, open.back()));
}

bool isSpaceAt(std::string_view xml, std::size_t i) {
  return i < xml.size() && (xml[i] == ' ' || xml[i] == '\t' || xml[i] == '\n' || xml[i] == '\r');
}

// Reads the attributes of the tag that holds `offset` again to say what is wrong with them.
[[noreturn]] void throwBadAttribute(std::string_view xml, std::size_t offset) {
  const std::size_t tag = tagStart(xml, offset, "<");
  const std::string where = " in " + markupAt(xml, tag);
  std::size_t i = tag + (xml.compare(tag, 2, "<?") == 0 ? 2 : 1);
  i += nameAt(xml, i).size();
  for (;;) {
    const bool spaced = isSpaceAt(xml, i);
    while (isSpaceAt(xml, i)) ++i;
    if (i >= xml.size()) throwParseError(xml, i, "the document ends" + where);
    const std::size_t attribute = i;
    const std::string name = nameAt(xml, i);
    if (name.empty()) break;  // not an attribute: pugixml's own place and message will do
    if (!spaced) throwParseError(xml, attribute, "expected white space between attributes" + where);
    i += name.size();
    while (isSpaceAt(xml, i)) ++i;
    if (i >= xml.size() || xml[i] != '=') {
      throwParseError(xml, i, "expected \"=\" after the attribute name \"" + name + "\"" + where);
    }
    ++i;
    while (isSpaceAt(xml, i)) ++i;
    if (i >= xml.size() || (xml[i] != '"' && xml[i] != '\'')) {
      throwParseError(xml, i, "expected a quoted value for the attribute \"" + name + "\"" + where);
    }
    const std::size_t close = xml.find(xml[i], i + 1);
    if (close == std::string_view::npos) {
      throwParseError(xml, i, "unterminated value of the attribute \"" + name + "\"" + where);
    }
    i = close + 1;
  }
  throwParseError(xml, offset, "malformed attribute" + where);
}

[[noreturn]] void throwBadProcessingInstruction(std::string_view xml, std::size_t offset) {
  const std::size_t at = tagStart(xml, offset, "<?");
  const std::string target = nameAt(xml, at + 2);
  const bool xmlInAnyCase = target.size() == 3 && (target[0] | ' ') == 'x' &&
                            (target[1] | ' ') == 'm' && (target[2] | ' ') == 'l';
  // At the very start (after a byte order mark at most) the XML declaration is where it belongs.
  const bool atStart = at == 0 || (at == 3 && xml.compare(0, 3, "\xEF\xBB\xBF") == 0);
  if (xmlInAnyCase && !atStart) {
    throwParseError(xml, at,
                    "\"<?" + target + "\" is only allowed at the very start of the document");
  }
  if (target.empty()) {
    throwParseError(xml, at + 2, "expected a processing instruction target after \"<?\"");
  }
  if (xml.find("?>", at) == std::string_view::npos) {
    throwParseError(
        xml, at,
        target == "xml" ? "unterminated XML declaration" : "unterminated processing instruction");
  }
  throwParseError(
      xml, at + 2 + target.size(),
      "expected white space or \"?>\" after the processing instruction target \"" + target + "\"");
}

}  // namespace

std::string position(std::string_view xml, std::size_t offset) {
  const Place place = placeOf(xml, std::min(offset, xml.size()));
  return std::to_string(place.line) + ":" + std::to_string(place.column);
}

void throwParseError(std::string_view xml, std::size_t offset, const std::string& message) {
  offset = std::min(offset, xml.size());
  const Place place = placeOf(xml, offset);
  throw ORVIDOM_ParseError(message, place.line, place.column, offset);
}

void throwParseFailure(std::string_view xml, pugi::xml_parse_status status, std::size_t offset) {
  if (status == pugi::status_out_of_memory) throw std::bad_alloc();
  // A character XML does not allow (a zero byte above all) often stops pugixml after it, with a
  // complaint about what follows.
  const std::size_t bad = findInvalidXmlChar(xml.substr(0, offset + 4));
  if (bad <= offset) throwParseError(xml, bad, "invalid UTF-8 or a character XML does not allow");
  // Where input ends inside a tag, pugixml stops short of the end.
  const bool inTag =
      status == pugi::status_bad_start_element || status == pugi::status_bad_end_element ||
      status == pugi::status_bad_attribute || status == pugi::status_unrecognized_tag;
  if (inTag) {
    const std::size_t at = xml.rfind('<', offset);
    if (at != std::string_view::npos && xml.find('>', at) == std::string_view::npos) {
      throwParseError(xml, xml.size(), "the document ends inside " + markupAt(xml, at));
    }
  }
  switch (status) {
    case pugi::status_no_document_element:
      throwParseError(xml, xml.size(), "no root element");
    case pugi::status_bad_doctype:
      throwParseError(xml, tagStart(xml, offset, "<!DOCTYPE"),
                      "document type declarations are not accepted");
    case pugi::status_end_element_mismatch:
      throwMismatch(xml, offset);
    case pugi::status_bad_attribute:
      throwBadAttribute(xml, offset);
    case pugi::status_bad_start_element:
      throwParseError(
          xml, offset,
          "expected white space, \">\" or \"/>\" in " + markupAt(xml, tagStart(xml, offset, "<")));
    case pugi::status_bad_end_element:
      throwParseError(xml, offset,
                      "expected \">\" to close " + markupAt(xml, tagStart(xml, offset, "</")));
    case pugi::status_bad_pi:
      throwBadProcessingInstruction(xml, offset);
    case pugi::status_bad_comment: {
      const std::size_t at = tagStart(xml, offset, "<!-");
      if (xml.compare(at, 4, "<!--") != 0) throwParseError(xml, at, "malformed comment");
      throwParseError(xml, at, "unterminated comment");
    }
    case pugi::status_bad_cdata: {
      const std::size_t at = tagStart(xml, offset, "<![");
      if (xml.compare(at, 9, "<![CDATA[") != 0) throwParseError(xml, at, "malformed CDATA section");
      throwParseError(xml, at, "unterminated CDATA section");
    }
    case pugi::status_unrecognized_tag: {
      const std::size_t at = tagStart(xml, offset, "<");
      if (xml.compare(at, 2, "<!") == 0) throwParseError(xml, at, "unexpected markup declaration");
      throwParseError(xml, at + 1, "expected a name, \"/\", \"?\" or \"!\" after \"<\"");
    }
    default:
      pugi::xml_parse_result result;
      result.status = status;
      throwParseError(xml, offset, result.description());
  }
}

}  // namespace orvidom
