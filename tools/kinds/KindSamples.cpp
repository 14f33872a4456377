#include "KindSamples.h"

#include <algorithm>
#include <regex>
#include <set>

namespace {

using json = nlohmann::json;

// Nesting past which a sample gives only what is required, so that nesting shapes end.
constexpr int kSampleDepth = 4;

class Sampler {
 public:
  explicit Sampler(SampleSource& source) : m_in(source) {}

  // `key` names the field that keys the items of a merged list, whose strings are then drawn
  // from a few, so that items do share keys.
  json fields(const std::vector<Field>& fields, int depth, bool kept = true,
              const std::string& key = "") {
    json out = json::object();
    std::set<std::string> excluded;
    for (const Field& f : fields) {
      if (f.readOnly || excluded.count(f.name)) continue;
      if (!f.onlyForType.empty() && out.value("type", "") != f.onlyForType) continue;
      if (!f.required && (depth >= kSampleDepth || m_in.below(2) == 0)) continue;
      out[f.name] = f.name == key && f.type == FieldType::String
                        ? json("key " + std::to_string(m_in.below(3)))
                        : value(f, depth + 1, kept && f.roundTrip == RoundTrip::Same);
      excluded.insert(f.excludes.begin(), f.excludes.end());
    }
    return out;
  }

 private:
  json value(const Field& f, int depth, bool kept) {
    switch (f.type) {
      case FieldType::String:
        return m_in.text(kept);
      case FieldType::XmlName:
        return "p.n" + std::to_string(m_names++);
      case FieldType::Xml:
        return element(kept);
      case FieldType::Integer: {
        unsigned long n = 0;
        for (unsigned i = 1 + m_in.below(4); i-- > 0;) n = n << 8 | m_in.below(256);
        return n;
      }
      case FieldType::Boolean:
        return m_in.below(2) == 1;
      case FieldType::Enumeration:
        return f.names.names[m_in.below(static_cast<unsigned>(f.names.names.size()))];
      case FieldType::Object:
        return fields(f.shape->fields, depth, kept);
      case FieldType::List: {
        json out = json::array();
        const unsigned most = depth >= kSampleDepth ? 1 : 3;
        for (unsigned n = (f.nonEmpty ? 1 : 0) + m_in.below(most + 1); n-- > 0;) {
          out.push_back(f.item->shape ? fields(f.item->shape->fields, depth, kept, f.merge.key)
                                      : value(*f.item, depth, kept));
        }
        return out;
      }
      case FieldType::StringMap: {
        json out = json::object();
        for (unsigned n = m_in.below(3); n-- > 0;) {
          const std::string key =
              f.names.names.empty()
                  ? m_in.text(kept)
                  : f.names.names[m_in.below(static_cast<unsigned>(f.names.names.size()))];
          // A key drawn again is left as it is, so that no string the document must carry is
          // replaced by another before it is made.
          if (!out.contains(key))
            out[key] = f.item ? value(*f.item, depth, kept) : json(m_in.text(kept));
        }
        return out;
      }
    }
    return nullptr;
  }

  // An element of a name of its own, with a string as attribute value and text.
  std::string element(bool kept) {
    const std::string name = "p.e" + std::to_string(m_names++);
    ORVIDOM_Element e = ORVIDOM_Parser::parseString("<" + name + "/>").getDocumentElement();
    e.setAttribute("a", m_in.text(kept));
    e.appendChild(e.getOwnerDocument().createTextNode(m_in.text(kept)));
    return ORVIDOM_Writer::toString(e);
  }

  SampleSource& m_in;
  unsigned m_names = 0;
};

// The rank of a name among the field's names.
std::ptrdiff_t rank(const Field& f, const json& name) {
  const std::vector<std::string>& names = f.names.names;
  return std::find(names.begin(), names.end(), name) - names.begin();
}

const Field& fieldNamed(const std::vector<Field>& fields, const std::string& name) {
  return *std::find_if(fields.begin(), fields.end(),
                       [&](const Field& f) { return f.name == name; });
}

// The next item merged into `into`, as the fields' combine rules say; lists are joined, to be
// merged in turn by their own rules.
void combine(const std::vector<Field>& fields, json& into, const json& next) {
  for (const Field& f : fields) {
    const auto n = next.find(f.name);
    if (n == next.end()) continue;
    if (f.type == FieldType::List) {
      json& joined = into[f.name];
      if (joined.is_null()) joined = json::array();
      joined.insert(joined.end(), n->begin(), n->end());
    } else if (f.combine == Combine::Last ||
               (f.combine == Combine::Strongest && rank(f, *n) > rank(f, into[f.name]))) {
      into[f.name] = *n;
    }
  }
}

// The items of a merged list as its merge rule gives them back.
json merged(const Field& f, const json& given) {
  const Merge& rule = f.merge;
  const std::vector<Field>& fields = f.item->shape->fields;
  std::vector<json> groups;
  for (const json& item : given) {
    const auto same = std::find_if(groups.begin(), groups.end(),
                                   [&](const json& g) { return g[0][rule.key] == item[rule.key]; });
    if (same == groups.end()) {
      groups.push_back(json::array({item}));
    } else {
      same->push_back(item);
    }
  }
  if (rule.byKey) {
    const Field& key = fieldNamed(fields, rule.key);
    std::stable_sort(groups.begin(), groups.end(), [&](const json& a, const json& b) {
      return rank(key, a[0][rule.key]) < rank(key, b[0][rule.key]);
    });
  }
  json out = json::array();
  for (const json& group : groups) {
    if (!rule.combined) {
      out.insert(out.end(), group.begin(), group.end());
      continue;
    }
    json one = group[0];
    for (std::size_t i = 1; i < group.size(); ++i) combine(fields, one, group[i]);
    out.push_back(one);
  }
  return out;
}

// The parts of `text` between separators; none for an empty text.
std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> out;
  for (std::size_t from = 0; !text.empty() && from <= text.size();) {
    const std::size_t end = std::min(text.find(separator, from), text.size());
    out.push_back(text.substr(from, end - from));
    from = end + 1;
  }
  return out;
}

// One step from an element to its child elements: those of a name ("*" for any), then only the
// one whose attribute has a value, or only the nth.
struct Step {
  std::string name, attribute, value;
  std::size_t nth = 0;

  explicit Step(const std::string& text) {
    static const std::regex form(R"(([^\[]+)(?:\[(\d+)\]|\[@([^=]+)=([^\]]*)\])?)");
    std::smatch m;
    std::regex_match(text, m, form);
    name = m[1], attribute = m[3], value = m[4];
    if (m[2].matched) nth = std::stoul(m[2]);
  }

  std::vector<ORVIDOM_Element> from(const ORVIDOM_Element& parent) const {
    std::vector<ORVIDOM_Element> out;
    for (ORVIDOM_Node n = parent.isNull() ? ORVIDOM_Node() : parent.getFirstChild(); !n.isNull();
         n = n.getNextSibling()) {
      if (n.getNodeType() != ORVIDOM_Node::ELEMENT_NODE) continue;
      const ORVIDOM_Element e(n);
      if ((name == "*" || e.getTagName().str() == name) &&
          (attribute.empty() || e.getAttribute(attribute).str() == value)) {
        out.push_back(e);
      }
    }
    if (nth > 0) {
      out = out.size() >= nth ? std::vector<ORVIDOM_Element>{out[nth - 1]}
                              : std::vector<ORVIDOM_Element>{};
    }
    return out;
  }
};

// Where a field is written (Field::at), parsed: the steps to its element or elements, the
// attributes its value may be in (none for the text), and for a map the attribute that keys an
// entry (none for the element's name).
struct Place {
  std::vector<Step> steps;
  std::vector<std::string> attributes;
  std::string key;

  explicit Place(const std::string& written) {
    const std::size_t close = written.rfind(']');
    const std::size_t at = written.find('@', close == std::string::npos ? 0 : close);
    const std::string path = written.substr(0, at);
    std::string value = at == std::string::npos ? "" : written.substr(at + 1);
    for (const std::string& step : split(path == "." ? "" : path, '/')) steps.emplace_back(step);
    if (const std::size_t equals = value.find("=@"); equals != std::string::npos) {
      key = value.substr(0, equals);
      value = value.substr(equals + 2);
    }
    attributes = split(value, '|');
  }

  // The element the first `count` steps lead to from `context`; null when one leads nowhere.
  ORVIDOM_Element follow(ORVIDOM_Element context, std::size_t count) const {
    for (std::size_t i = 0; i < count && !context.isNull(); ++i) {
      const std::vector<ORVIDOM_Element> found = steps[i].from(context);
      context = found.empty() ? ORVIDOM_Element() : found[0];
    }
    return context;
  }

  // The first of the attributes present, or the text of the element.
  std::string text(const ORVIDOM_Element& e) const {
    for (const std::string& a : attributes) {
      if (e.hasAttribute(a)) return e.getAttribute(a).str();
    }
    std::string out;
    for (ORVIDOM_Node n = e.getFirstChild(); attributes.empty() && !n.isNull();
         n = n.getNextSibling()) {
      if (n.getNodeType() == ORVIDOM_Node::TEXT_NODE) out += n.getNodeValue().str();
    }
    return out;
  }
};

// What a made document carries of the fields of a kind that is only made, read where each field
// says it is written.
json writtenFields(const std::vector<Field>& fields, const ORVIDOM_Element& element);

json writtenValue(const Field& f, const ORVIDOM_Element& e, const Place& place) {
  if (e.isNull()) return nullptr;
  if (f.type == FieldType::Object) return writtenFields(f.shape->fields, e);
  if (f.type == FieldType::Xml) return ORVIDOM_Writer::toString(e);
  const std::string value = place.text(e);
  if (f.type == FieldType::Boolean && (value == "true" || value == "TRUE")) return true;
  if (f.type == FieldType::Boolean && (value == "false" || value == "FALSE")) return false;
  if (f.type == FieldType::Integer && !value.empty() &&
      value.find_first_not_of("0123456789") == std::string::npos) {
    return std::stoull(value);
  }
  return value;
}

json writtenFields(const std::vector<Field>& fields, const ORVIDOM_Element& element) {
  json out = json::object();
  for (const Field& f : fields) {
    if (f.written.empty()) continue;
    const Place place(f.written);
    if (f.type != FieldType::List && f.type != FieldType::StringMap) {
      out[f.name] = writtenValue(f, place.follow(element, place.steps.size()), place);
      continue;
    }
    json& items = out[f.name] = f.type == FieldType::List ? json::array() : json::object();
    for (const ORVIDOM_Element& e :
         place.steps.back().from(place.follow(element, place.steps.size() - 1))) {
      if (f.type == FieldType::List) {
        items.push_back(writtenValue(*f.item, e, place));
      } else {
        items[place.key.empty() ? e.getTagName().str() : e.getAttribute(place.key).str()] =
            place.text(e);
      }
    }
  }
  return out;
}

class Comparer {
 public:
  // With `written`, only the fields a kind says where it writes are compared.
  explicit Comparer(bool written) : m_written(written) {}

  std::string fields(const std::vector<Field>& fields, const json& given, const json& read,
                     const std::string& path) {
    for (const Field& f : fields) {
      if (f.readOnly || f.makeOnly || (m_written && f.written.empty())) continue;
      if (f.roundTrip == RoundTrip::Dropped && f.type != FieldType::List) continue;
      const auto g = given.find(f.name);
      if (g == given.end()) continue;
      const std::string at = path.empty() ? f.name : path + "." + f.name;
      const auto r = read.find(f.name);
      std::string difference = r == read.end() ? at + ": not read back" : value(f, *g, *r, at);
      if (!difference.empty()) return difference;
    }
    return "";
  }

 private:
  std::string value(const Field& f, const json& g, const json& r, const std::string& at) {
    switch (f.type) {
      case FieldType::Object:
        if (!r.is_object()) return differs(at, g, r);
        return fields(f.shape->fields, g, r, at);
      case FieldType::List:
        return list(f, g, r, at);
      case FieldType::StringMap:
        for (const auto& [key, item] : g.items()) {
          if (!r.contains(key) || r[key] != item) return differs(at + "." + key, item, r);
        }
        return "";
      case FieldType::Boolean:
        return (g == true || g == "true") == (r == true) ? "" : differs(at, g, r);
      default:
        return r == g ? "" : differs(at, g, r);
    }
  }

  std::string list(const Field& f, const json& g, const json& r, const std::string& at) {
    if (!r.is_array()) return differs(at, g, r);
    if (f.roundTrip == RoundTrip::Dropped) {
      // Each item read is one given, in the order given.
      std::size_t next = 0;
      for (std::size_t i = 0; i < r.size(); ++i) {
        while (next < g.size() && !value(*f.item, g[next], r[i], at).empty()) ++next;
        if (next++ == g.size()) return differs(at, g, r);
      }
      return "";
    }
    json expected = g;
    if (f.roundTrip == RoundTrip::Merged) expected = merged(f, g);
    if (f.roundTrip == RoundTrip::Unique) {
      expected = json::array();
      for (const json& item : g) {
        if (std::find(expected.begin(), expected.end(), item) == expected.end()) {
          expected.push_back(item);
        }
      }
    }
    if (r.size() != expected.size()) return differs(at, expected, r);
    for (std::size_t i = 0; i < r.size(); ++i) {
      std::string difference =
          value(*f.item, expected[i], r[i], at + "[" + std::to_string(i) + "]");
      if (!difference.empty()) return difference;
    }
    return "";
  }

  static std::string differs(const std::string& at, const json& g, const json& r) {
    const auto shown = [](const auto& v) {
      return v.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    };
    return at + ": gave " + shown(g) + ", read " + shown(r);
  }

  bool m_written;
};

}  // namespace

nlohmann::json sampleDescription(const Kind& kind, SampleSource& source) {
  return Sampler(source).fields(kind.fields, 0);
}

std::string readBackDifference(const Kind& kind, const nlohmann::json& given,
                               const nlohmann::ordered_json& read) {
  return Comparer(false).fields(kind.fields, given, json(read), "");
}

std::string readBackDifference(const Kind& kind, const nlohmann::json& given,
                               ORVIDOM_Element& made) {
  if (kind.read) return readBackDifference(kind, given, kind.read(made));
  return Comparer(true).fields(kind.fields, given, writtenFields(kind.fields, made), "");
}
