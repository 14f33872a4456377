// korvath_actionhelper: every document kind of the helpers, made from Python objects and read
// back into them, through the table of kinds the command-line tool uses.
#include <pybind11/pybind11.h>
#include <pybind11/stl.h>

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "CheckedJson.h"
#include "KindJson.h"
#include "Kinds.h"
#include "PyJson.h"

namespace py = pybind11;

namespace {

// The module's exception classes, made when it is imported and kept for the process's life.
PyObject* parseError;
PyObject* assertionFailed;
PyObject* descriptionError;

PyObject* addException(py::module_& module, const char* name, const char* doc, py::tuple bases) {
  const std::string qualified = std::string("korvath_actionhelper.") + name;
  PyObject* type = PyErr_NewExceptionWithDoc(qualified.c_str(), doc, bases.ptr(), nullptr);
  if (!type) throw py::error_already_set();
  module.add_object(name, py::handle(type));
  return type;
}

// Raises an exception of `type` with the message and the given attributes.
[[noreturn]] void raise(PyObject* type, const std::string& message,
                        std::initializer_list<std::pair<const char*, py::object>> attributes) {
  py::object error = py::handle(type)(message);
  for (const auto& [name, value] : attributes) error.attr(name) = value;
  PyErr_SetObject(type, error.ptr());
  throw py::error_already_set();
}

py::object textOrNone(const std::string& text) {
  return text.empty() ? py::object(py::none()) : py::object(py::str(text));
}

// Runs a step that makes or reads a document, raising the module's exceptions for its errors;
// `what` names the step ("read db-connection") in a failed assertion's message.
template <class Step>
auto guarded(const std::string& what, Step step) {
  try {
    return step();
  } catch (const InputError& e) {
    raise(descriptionError, e.what(),
          {{"path", py::str(e.path())},
           {"problem", py::str(e.problem())},
           {"suggestion", textOrNone(e.nearest())}});
  } catch (const ORVIDOM_DOMException& e) {
    // A text the document cannot carry: a control character or a bad name.
    raise(descriptionError, std::string("input: ") + e.what(),
          {{"path", py::str("")}, {"problem", py::str(e.what())}, {"suggestion", py::none()}});
  } catch (const ORVAssertError& e) {
    raise(assertionFailed,
          what + ": " + e.what() + " (" + e.getSourceUnit() + ", line " +
              std::to_string(e.getLine()) + ")",
          {{"assertion", py::str(e.what())},
           {"source_unit", py::str(e.getSourceUnit())},
           {"line", py::int_(e.getLine())}});
  } catch (const ORVIDOM_ParseError& e) {
    raise(parseError,
          std::to_string(e.getLine()) + ":" + std::to_string(e.getColumn()) + ": " + e.what(),
          {{"message", py::str(e.what())},
           {"line", py::int_(e.getLine())},
           {"column", py::int_(e.getColumn())},
           {"offset", py::int_(e.getOffset())}});
  }
}

const Kind& kindNamed(const std::string& name) {
  if (const Kind* kind = findKind(name)) return *kind;
  throw py::value_error("unknown kind \"" + name + "\"; kinds() lists them");
}

// The kind that reads documents of the top element `root`, when only one names it.
const Kind& kindOfRoot(const std::string& root) {
  std::string why;
  if (const Kind* kind = kindForRoot(root, why)) return *kind;
  throw py::value_error(why + "; choose one with kind=");
}

py::list kinds() {
  py::list out;
  for (const Kind& k : allKinds()) out.append(pythonOf(kindJson(k)));
  return out;
}

py::object schema(const std::string& kindName) { return pythonOf(schemaOf(kindNamed(kindName))); }

// Lends the JSON value the last description made on this thread was converted into, so that the
// next one, most often of the same kind, reuses its nodes and strings instead of allocating them
// anew. A make called while it is lent (by a key's __repr__ in an error) gets a value of its own;
// the value is not kept past a failed or large make.
class ReusedJson {
 public:
  ReusedJson() : m_lent(!t_lent) { t_lent = true; }
  ~ReusedJson() {
    if (!m_lent) return;
    if (!m_keep) t_kept = nullptr;
    t_lent = false;
  }

  nlohmann::json& json() { return m_lent ? t_kept : m_own; }
  // Keeps the value for the next make when its document is at most `size` bytes.
  void keepFor(std::size_t size) { m_keep = size <= kKeptUpTo; }

 private:
  static constexpr std::size_t kKeptUpTo = 1 << 20;
  static thread_local nlohmann::json t_kept;
  static thread_local bool t_lent;
  nlohmann::json m_own;
  bool m_lent, m_keep = false;
};

thread_local nlohmann::json ReusedJson::t_kept;
thread_local bool ReusedJson::t_lent = false;

std::string makeDocument(const std::string& kindName, py::handle description, bool indent,
                         bool declaration) {
  const Kind& kind = kindNamed(kindName);
  if (!kind.make) throw py::value_error("kind \"" + kindName + "\" is only read");
  return guarded("make " + kindName, [&] {
    ReusedJson reused;
    nlohmann::json& in = reused.json();
    // A description that may not fit is converted and checked apart, as the tool does, so that
    // its error is the one the checker gives.
    const bool checked = checkedJsonOf(description, kind, in);
    if (!checked) in = jsonOf(description, kMaxInputDepth);
    std::string xml;
    {
      py::gil_scoped_release unlocked;
      if (!checked) checkDescription(kind, in);
      JsonObject object(in, "");
      xml = ORVIDOM_Writer::toString(kind.make(object), {indent, declaration});
    }
    reused.keepFor(xml.size());
    return xml;
  });
}

// The UTF-8 text of a document given as str or bytes; it lives as long as `xml`.
std::string_view documentText(py::handle xml) {
  if (PyBytes_Check(xml.ptr())) {
    return {PyBytes_AS_STRING(xml.ptr()), static_cast<std::size_t>(PyBytes_GET_SIZE(xml.ptr()))};
  }
  if (!PyUnicode_Check(xml.ptr())) {
    throw py::type_error(std::string("read takes the document as str or bytes, not ") +
                         Py_TYPE(xml.ptr())->tp_name);
  }
  Py_ssize_t size = 0;
  const char* data = PyUnicode_AsUTF8AndSize(xml.ptr(), &size);
  if (!data) throw py::error_already_set();
  return {data, static_cast<std::size_t>(size)};
}

py::object readDocument(py::handle xml, const std::optional<std::string>& kindName) {
  const Kind* named = kindName ? &kindNamed(*kindName) : nullptr;
  if (named && !named->read) throw py::value_error("kind \"" + *kindName + "\" is only made");
  const std::string_view text = documentText(xml);
  std::string step = "read";
  const Ordered result = guarded(step, [&] {
    py::gil_scoped_release unlocked;
    ORVIDOM_Element root = ORVIDOM_Parser::parseString(text).getDocumentElement();
    const std::string rootName = root.getTagName().str();
    const Kind& kind = named ? *named : kindOfRoot(rootName);
    step += " " + kind.name;
    if (!kind.readsRoot(rootName)) {
      std::string roots;
      for (const std::string& r : kind.roots) roots += (roots.empty() ? "<" : " or <") + r + ">";
      throw py::value_error(step + ": the root element is <" + rootName + ">; " + kind.name +
                            " reads " + roots);
    }
    if (nestedDeeperThan(root, kMaxInputDepth)) {
      throw py::value_error(step + ": elements nested deeper than " +
                            std::to_string(kMaxInputDepth) + " levels, which are not read");
    }
    return kind.read(root);
  });
  return pythonOf(result);
}

}  // namespace

PYBIND11_MODULE(korvath_actionhelper, m) {
  m.doc() =
      "Makes and reads the documents of the Korvath action helpers: every kind of the "
      "`actionhelper` tool, from and to dicts, lists, str, int, bool and None.";

  const py::object exception = py::module_::import("builtins").attr("Exception");
  const py::object valueError = py::module_::import("builtins").attr("ValueError");
  parseError = addException(
      m, "ParseError",
      "The document is not well-formed XML; `message`, `line` and `column` (from 1) and "
      "`offset` (bytes from the start) say where.",
      py::make_tuple(valueError));
  assertionFailed = addException(
      m, "AssertionFailed",
      "A helper refused the document: `assertion` is the failed check's text, `source_unit` and "
      "`line` its place in the library.",
      py::make_tuple(exception));
  descriptionError = addException(
      m, "DescriptionError",
      "The description does not fit the kind: `path` names the field (\"tasks[2].parameters\"; "
      "\"\" for the whole), `problem` says what is wrong and `suggestion` is the known field an "
      "unknown one was probably meant to be, or None.",
      py::make_tuple(valueError));

  m.def("kinds", &kinds,
        "Every document kind, as `actionhelper kinds --format json` lists them: name, roots, "
        "helper, whether it is made and read, summary and the JSON Schema of its description.");
  m.def("schema", &schema, py::arg("kind"),
        "The JSON Schema (draft 2020-12) of the kind's description: what make takes and read "
        "gives. ValueError for an unknown kind.");
  m.def("make", &makeDocument, py::arg("kind"), py::arg("description"), py::kw_only(),
        py::arg("indent") = false, py::arg("declaration") = false,
        "The XML document of the kind, filled from the description (a dict), as `actionhelper "
        "make` writes it. DescriptionError when the description does not fit the kind, "
        "AssertionFailed when a helper refuses it, ValueError for an unknown kind or one that is "
        "only read. An indented document whose kind holds XML fragments cannot be read back.");
  m.def("read", &readDocument, py::arg("xml"), py::arg("kind") = py::none(),
        "What the kind's helper reads from the document (str or bytes of UTF-8), as a dict, as "
        "`actionhelper read` gives it. The root element picks the kind; `kind` names it where "
        "several kinds read that root or where the kind reads any root. ParseError for "
        "malformed XML, AssertionFailed when the helper refuses the document, ValueError when "
        "no kind reads its root or it nests deeper than 256 levels, TypeError for a document "
        "neither str nor bytes.");
}
