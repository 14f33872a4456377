// Reads the input as one readable kind, chosen by the first byte: parses the rest and runs the
// kind's reading, which takes the document and calls every getter the kind reports.
#include "FuzzSupport.h"
#include "Kinds.h"

namespace {

std::vector<const Kind*> readKinds() {
  std::vector<const Kind*> out;
  for (const Kind& k : allKinds()) {
    if (k.read) out.push_back(&k);
  }
  return out;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const std::vector<const Kind*> kinds = readKinds();
  if (size < 1) return 0;
  const Kind& kind = *kinds[data[0] % kinds.size()];
  ORVIDOM_Element root = fuzz::ParseElement(data + 1, size - 1);
  if (root.isNull()) return 0;
  fuzz::Allowed([&] { kind.read(root); });
  return 0;
}
