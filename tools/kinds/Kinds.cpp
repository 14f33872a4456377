#include "Kinds.h"

#include <string_view>
#include <unordered_map>

bool Kind::readsRoot(const std::string& root) const {
  return roots.empty() || std::find(roots.begin(), roots.end(), root) != roots.end();
}

const std::vector<Kind>& allKinds() {
  static const std::vector<Kind> kinds = [] {
    std::vector<Kind> k;
    addQueryFrameworkKinds(k);
    addQueryServiceKinds(k);
    addModelAdminKinds(k);
    addModelTaskKinds(k);
    return k;
  }();
  return kinds;
}

const Kind* findKind(const std::string& name) {
  // Hashed once: the Python module looks a kind up on every make and read.
  static const std::unordered_map<std::string_view, const Kind*> byName = [] {
    std::unordered_map<std::string_view, const Kind*> out;
    for (const Kind& k : allKinds()) out.emplace(k.name, &k);
    return out;
  }();
  const auto found = byName.find(name);
  return found == byName.end() ? nullptr : found->second;
}

namespace {

// The names of the kinds that read documents of the top element `root`: those that name it among
// their roots or, with `anyRoot`, those that read any root.
std::string kindsReading(const std::string& root, bool anyRoot, std::size_t& count) {
  std::string names;
  count = 0;
  for (const Kind& k : allKinds()) {
    if (k.read && (anyRoot ? k.roots.empty() : !k.roots.empty() && k.readsRoot(root))) {
      names += (count++ ? ", " : "") + k.name;
    }
  }
  return names;
}

}  // namespace

const Kind* kindForRoot(const std::string& root, std::string& why) {
  std::size_t count = 0;
  const std::string named = kindsReading(root, false, count);
  if (count == 1) return findKind(named);
  why = count > 1
            ? "several kinds read <" + root + "> (" + named + ")"
            : "no kind names <" + root +
                  "> as its root; kinds that read any root: " + kindsReading(root, true, count);
  return nullptr;
}

bool nestedDeeperThan(const ORVIDOM_Element& root, int levels) {
  // Each node's first child and next sibling are taken once: a large document has many nodes.
  int depth = 1;
  ORVIDOM_Node node = root.getFirstChild();
  while (!node.isNull()) {
    ORVIDOM_Node next;
    if (node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE) next = node.getFirstChild();
    if (!next.isNull()) {
      if (++depth > levels) return true;
    } else {
      next = node.getNextSibling();
      while (next.isNull() && depth > 1) {
        node = node.getParentNode();
        --depth;
        next = node.getNextSibling();
      }
    }
    node = std::move(next);
  }
  return false;
}
