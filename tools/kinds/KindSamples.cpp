#include "KindSamples.h"

#include <algorithm>
#include <set>

namespace {

using json = nlohmann::json;

// Nesting past which a sample gives only what is required, so that nesting shapes end.
constexpr int kSampleDepth = 3;

class Sampler {
 public:
  explicit Sampler(SampleSource& source) : m_in(source) {}

  json fields(const std::vector<Field>& fields, int depth, bool kept = true) {
    json out = json::object();
    std::set<std::string> excluded;
    for (const Field& f : fields) {
      if (f.readOnly || excluded.count(f.name)) continue;
      if (!f.onlyForType.empty() && out.value("type", "") != f.onlyForType) continue;
      if (!f.required && (depth >= kSampleDepth || m_in.below(2) == 0)) continue;
      out[f.name] = value(f, depth + 1, kept && f.roundTrip == RoundTrip::Same);
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
          out.push_back(value(*f.item, depth, kept));
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

class Comparer {
 public:
  std::string fields(const std::vector<Field>& fields, const json& given, const json& read,
                     const std::string& path) {
    for (const Field& f : fields) {
      if (f.readOnly || f.makeOnly) continue;
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
    if (f.roundTrip == RoundTrip::Merged) {
      // Merging keeps at least one item and adds none.
      return r.size() <= g.size() && r.empty() == g.empty() ? "" : differs(at, g, r);
    }
    json expected = g;
    if (f.roundTrip == RoundTrip::Unique) {
      expected = json::array();
      for (const json& item : g) {
        if (std::find(expected.begin(), expected.end(), item) == expected.end()) {
          expected.push_back(item);
        }
      }
    }
    if (r.size() != expected.size()) return differs(at, g, r);
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
};

}  // namespace

nlohmann::json sampleDescription(const Kind& kind, SampleSource& source) {
  return Sampler(source).fields(kind.fields, 0);
}

std::string readBackDifference(const Kind& kind, const nlohmann::json& given,
                               const nlohmann::ordered_json& read) {
  return Comparer().fields(kind.fields, given, json(read), "");
}
