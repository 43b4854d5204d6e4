#include <memory>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_w.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

std::vector<uint8_t> WrittenBytes(const std::function<void(DS_IOF_Archive&)>& write) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive archive(std::move(writer));
  write(archive);
  return w.TakeBytes();
}

}  // namespace fuzz_seeds
