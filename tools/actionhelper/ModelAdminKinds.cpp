#include "Kinds.h"

void addModelAdminKinds(std::vector<Kind>&) {}
