// Reads arbitrary bytes as a PE module loaded as data and touches every resource it reports.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/res/resource_module.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  auto module = res::Module::FromPeImage(std::vector<uint8_t>(data, data + size));
  if (!module) return 0;
  unsigned sum = 0;
  for (const auto& e : module->Entries())
    if (!e.bytes.empty()) sum += e.bytes.front() + e.bytes.back();
  for (uint16_t id = 0; id < 48; ++id)
    sum += unsigned(module->LoadString(id).size());
  if (auto found = module->Find(u"DDS", 54)) sum += unsigned(found->size());
  return sum == 0xFFFFFFFFu;
}
