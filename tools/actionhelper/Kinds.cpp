#include "Kinds.h"

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
