#include "Kinds.h"

void addQueryFrameworkKinds(std::vector<Kind>&) {}
