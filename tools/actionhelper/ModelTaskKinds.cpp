#include "Kinds.h"

void addModelTaskKinds(std::vector<Kind>&) {}
