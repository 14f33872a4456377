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
