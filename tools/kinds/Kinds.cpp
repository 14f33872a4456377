#include "Kinds.h"

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
  for (const Kind& k : allKinds()) {
    if (k.name == name) return &k;
  }
  return nullptr;
}

std::vector<const Kind*> kindsReading(const std::string& root, bool anyRoot) {
  std::vector<const Kind*> out;
  for (const Kind& k : allKinds()) {
    if (k.read && (anyRoot ? k.roots.empty() : !k.roots.empty() && k.readsRoot(root))) {
      out.push_back(&k);
    }
  }
  return out;
}

bool nestedDeeperThan(const ORVIDOM_Element& root, int levels) {
  int depth = 1;
  ORVIDOM_Node node = root.getFirstChild();
  while (!node.isNull() && depth > 0) {
    if (node.getNodeType() == ORVIDOM_Node::ELEMENT_NODE && !node.getFirstChild().isNull()) {
      if (++depth > levels) return true;
      node = node.getFirstChild();
      continue;
    }
    while (node.getNextSibling().isNull() && depth > 0) {
      node = node.getParentNode();
      --depth;
    }
    if (depth > 0) node = node.getNextSibling();
  }
  return false;
}
