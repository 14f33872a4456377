#include "modeltasks/ZoActionFeedbackHelper.h"

#include <cstddef>
#include <cstring>
#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/OwnedList.h"
#include "core/Resources.h"
#include "modeltasks/TaskDom.h"
#include "orvidom/ElementView.h"
#include "orvidom/ORVIDOM_Document.h"
#include "orvidom/ORVIDOM_Helper.h"

namespace {

// Class names, indexed by EEntryClass - 1.
const I18NString kClassNames[] = {"info", "warning", "error", "trace"};

const I18NString kElemFeedback("feedback");
const I18NString kElemEntry("entry");
const I18NString kAttrClass("class");
const I18NString kAttrName("name");
const I18NString kRenderError("*** Error:");
const I18NString kRenderOther("--- ");

}  // namespace

// One message with the sub-messages it owns.
class ZoFeedbackEntry {
 public:
  ZoFeedbackEntry(ZoActionFeedbackHelper::EEntryClass entryClass, const I18NString& text,
                  const I18NString& name)
      : entryClass(entryClass), text(text), name(name) {}
  ~ZoFeedbackEntry();
  ZoFeedbackEntry(const ZoFeedbackEntry&) = delete;
  ZoFeedbackEntry& operator=(const ZoFeedbackEntry&) = delete;

  ZoActionFeedbackHelper::EEntryClass entryClass;
  I18NString text;
  I18NString name;
  std::vector<ZoFeedbackEntry*> children;
};

ZoFeedbackEntry::~ZoFeedbackEntry() {
  // Deleting children from their parent's destructor would nest one call per level and exhaust
  // the stack on a deep tree: every descendant is detached onto a work list first, so each
  // delete below meets an entry without children.
  std::vector<ZoFeedbackEntry*> pending;
  pending.swap(children);
  while (!pending.empty()) {
    ZoFeedbackEntry* entry = pending.back();
    pending.pop_back();
    pending.insert(pending.end(), entry->children.begin(), entry->children.end());
    entry->children.clear();
    delete entry;
  }
}

namespace {

ZoFeedbackEntry* AppendEntry(std::vector<ZoFeedbackEntry*>& list,
                             ZoActionFeedbackHelper::EEntryClass entryClass, const I18NString& text,
                             const I18NString& name) {
  auto entry = std::make_unique<ZoFeedbackEntry>(entryClass, text, name);
  list.push_back(entry.get());
  return entry.release();
}

// The "entry" element of one entry, without its children.
ORVIDOM_Element MakeEntryElement(const ORVIDOM_Document& doc, const ZoFeedbackEntry& entry) {
  ORVIDOM_Element elem = doc.createElement(kElemEntry);
  elem.setAttribute(kAttrClass, ZoActionFeedbackHelper::ToString(entry.entryClass));
  if (!entry.name.empty()) elem.setAttribute(kAttrName, entry.name);
  elem.appendChild(doc.createTextNode(entry.text));
  return elem;
}

// An entry whose element is made, with the number of its children already written.
struct OpenEntry {
  const ZoFeedbackEntry* entry;
  ORVIDOM_Element elem;
  std::size_t written;
};

// The "entry" element of `top` with its whole subtree. Built without recursion, so that any
// depth can be written, and bottom-up: an element is attached to its parent while the parent is
// still free-standing, which keeps every append independent of the depth.
ORVIDOM_Element MakeEntryTree(const ORVIDOM_Document& doc, const ZoFeedbackEntry& top) {
  std::vector<OpenEntry> open;
  open.push_back({&top, MakeEntryElement(doc, top), 0});
  for (;;) {
    OpenEntry& current = open.back();
    if (current.written < current.entry->children.size()) {
      const ZoFeedbackEntry* child = current.entry->children[current.written++];
      open.push_back({child, MakeEntryElement(doc, *child), 0});
      continue;
    }
    ORVIDOM_Element done = current.elem;
    open.pop_back();
    if (open.empty()) return done;
    open.back().elem.appendChild(done);
  }
}

// One line of the text: an "entry" element at `depth` below the feedback element.
struct Line {
  std::size_t depth;
  const I18NString* mark;
  const char* text;
  std::size_t length;
};

// The line of `entry`; `error` is the class of error entries.
Line LineOf(const orvidom::ElementView& entry, std::size_t depth, const char* error) {
  const char* const entryClass = entry.attribute(kAttrClass.c_str());
  const bool isError = orvidom::sameName(entryClass, error);
  const char* const first = entry.leadingText();
  return {depth, isError ? &kRenderError : &kRenderOther, first ? first : "",
          first ? std::strlen(first) : 0};
}

// Lines waiting to be appended, so that the text grows once per batch rather than once per
// piece of a line.
class LineBatch {
 public:
  explicit LineBatch(std::string& text) : m_text(text) {}

  void add(const Line& line) {
    if (m_held == kCapacity) flush();
    m_lines[m_held++] = line;
    m_size += 1 + line.depth + line.mark->length() + line.length;
  }

  // Writes the lines held into the text, each "\n", the tabs, the mark and the text.
  void flush() {
    std::size_t at = m_text.size();
    m_text.resize(at + m_size);
    char* out = &m_text[0];
    for (std::size_t i = 0; i < m_held; ++i) {
      const Line& line = m_lines[i];
      out[at++] = '\n';
      std::memset(out + at, '\t', line.depth);
      at += line.depth;
      std::memcpy(out + at, line.mark->c_str(), line.mark->length());
      at += line.mark->length();
      std::memcpy(out + at, line.text, line.length);
      at += line.length;
    }
    m_held = 0;
    m_size = 0;
  }

 private:
  static constexpr std::size_t kCapacity = 32;
  std::string& m_text;
  Line m_lines[kCapacity];
  std::size_t m_held = 0;
  std::size_t m_size = 0;
};

// Appends the lines of the "entry" children of `feedback`, depth first in document order: each
// entry, then the "entry" children of it. The walk keeps no stack, only the depth, so that any
// depth renders in time linear in the text.
void AppendLines(const orvidom::ElementView& feedback, std::string& text) {
  const char* const name = kElemEntry.c_str();
  const char* const error =
      ZoActionFeedbackHelper::ToString(ZoActionFeedbackHelper::kClassError).c_str();
  std::size_t depth = 0;
  LineBatch batch(text);
  for (orvidom::ElementView entry = feedback.child(name); !entry.isNull();
       entry = entry.nextNested(name, depth)) {
    batch.add(LineOf(entry, depth, error));
  }
  batch.flush();
}

}  // namespace

const I18NString& ZoActionFeedbackHelper::ToString(EEntryClass entryClass) {
  return modeltasks::nameAt(kClassNames, entryClass);
}

ZoActionFeedbackHelper::~ZoActionFeedbackHelper() { DeleteAll(entries); }

ZoFeedbackEntry* ZoActionFeedbackHelper::AddEntry(EEntryClass entryClass, const I18NString& text,
                                                  const I18NString& name) {
  return AppendEntry(entries, entryClass, text, name);
}

ZoFeedbackEntry* ZoActionFeedbackHelper::AddEntry(ZoFeedbackEntry* parent, EEntryClass entryClass,
                                                  const I18NString& text, const I18NString& name) {
  // Without a parent the message is kept at the top rather than lost or crashing.
  return AppendEntry(parent ? parent->children : entries, entryClass, text, name);
}

void ZoActionFeedbackHelper::Render(I18NString& out) {
  if (feedbackElement.isNull()) return;
  std::string text;
  AppendLines(orvidom::ElementView(feedbackElement), text);
  if (out.empty()) {
    out = I18NString(std::move(text));
  } else {
    out += I18NString(std::move(text));
  }
}

void ZoActionFeedbackHelper::doMake(ORVIDOM_Document& doc, ORVIDOM_Element& elem) const {
  const ORVIDOM_Element feedback = doc.createElement(kElemFeedback);
  elem = feedback;
  for (const ZoFeedbackEntry* entry : entries) feedback.appendChild(MakeEntryTree(doc, *entry));
}

void ZoActionFeedbackHelper::doTake(ORVIDOM_Element& elem) { feedbackElement = elem; }
