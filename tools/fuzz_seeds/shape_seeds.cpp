// Shape records for the curves target: the first byte picks the class (its index among the
// twelve in the registry's order, which the samples follow, plus 12 for version 1 and 24 for
// version 2), the rest is the record's body.
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "core/archive/ds_iof_w.h"
#include "geometry/shape/shape_samples.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

std::vector<uint8_t> Written(const ZKW_VGeom2D& shape, bool headerOnly) {
  return WrittenBytes([&](DS_IOF_Archive& archive) {
    if (headerOnly) {
      WriteRecordHeader(archive, Utf8ToWString(shape.GetClassName()), 1);
    } else {
      shape.Save(archive);
    }
  });
}

}  // namespace

Seeds ShapeSeeds() {
  Seeds seeds;
  uint8_t index = 0;
  for (const ShapeSample& sample : ShapeSamples()) {
    const std::unique_ptr<ZKW_VGeom2D> shape = sample.make();
    const std::vector<uint8_t> record = Written(*shape, false);
    const size_t header = Written(*shape, true).size();
    // The stripe is stored in version 2, every other kind in version 1.
    const uint8_t version = std::string_view(sample.name) == "ZKW_VGeom2D_Stripe" ? 2 : 1;
    Seed seed{std::string("shape_") + (sample.name + sizeof "ZKW_VGeom2D_" - 1), {}};
    seed.bytes.push_back(static_cast<uint8_t>(index + 12 * version));
    seed.bytes.insert(seed.bytes.end(), record.begin() + static_cast<std::ptrdiff_t>(header),
                      record.end());
    seeds.push_back(std::move(seed));
    ++index;
  }
  return seeds;
}

}  // namespace fuzz_seeds
