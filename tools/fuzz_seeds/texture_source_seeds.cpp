// Texture-source inputs for texture_source_fuzz: the first byte picks the kind of the first
// record (its index in the target's list), then that record's body, the alerter's speed and
// direction, a clock step, and a second whole record of the next kind with its own speed,
// direction and step.
#include <cstddef>
#include <functional>
#include <memory>
#include <string>

#include "core/archive/ds_iof_w.h"
#include "core/registry/read_by_name.h"
#include "player/resources/zkw_alerter_texture_src.h"
#include "tools/fuzz_seeds/fuzz_seeds.h"

namespace fuzz_seeds {

namespace {

constexpr const char16_t* kKinds[] = {u"ZKW_ResIDTex", u"ZKW_ImgFileTex", u"ZKW_SoftCircleTex",
                                      u"ZKW_TextTexure", u"ZKW_PolygonTex"};

// A source of the kind with two links, a premultiplied picture list and an atlas of 2 x 3.
std::unique_ptr<ZKW_TextureSRC> Sample(const char16_t* kind) {
  auto source = CreateByName(GetTextureSrcRegistry(), kind);
  source->links.push_back(DS_ImageFileLink(u"C:\\art\\spark.png", 7));
  source->valueA = 2;
  source->valueB = 3;
  source->premultiplied = true;
  source->modeParam.RawValue() = 0;
  return source;
}

// The alerter's record followed by the clock step the target reads after it.
std::vector<uint8_t> Alerter(std::unique_ptr<ZKW_TextureSRC> source, uint32_t speed,
                             int32_t direction, float step) {
  ZKW_AlerterTextureSRC alerter;
  alerter.SetValue(DS_SafePtr<ZKW_TextureSRC>(std::move(source)));
  alerter.speed.SetValue(speed);
  alerter.direction.RawValue() = direction;
  return WrittenBytes([&](DS_IOF_Archive& a) {
    WriteAlerterTextureSRC(a, alerter);
    a.io().WriteFloat(step);
  });
}

}  // namespace

Seeds TextureSourceSeeds() {
  Seeds seeds;
  for (size_t i = 0; i < std::size(kKinds); ++i) {
    const std::vector<uint8_t> first = Alerter(Sample(kKinds[i]), 150, 0, 0.05f);
    // The target writes the first header itself.
    const size_t header =
        WrittenBytes([&](DS_IOF_Archive& a) { WriteRecordHeader(a, kKinds[i], 1); }).size();
    Seed seed{"texture_" + ToUtf8(kKinds[i]), {static_cast<uint8_t>(i)}};
    seed.bytes.insert(seed.bytes.end(), first.begin() + static_cast<std::ptrdiff_t>(header),
                      first.end());
    const std::vector<uint8_t> second =
        Alerter(Sample(kKinds[(i + 1) % std::size(kKinds)]), 40, 1, 0.5f);
    seed.bytes.insert(seed.bytes.end(), second.begin(), second.end());
    seeds.push_back(std::move(seed));
  }
  return seeds;
}

}  // namespace fuzz_seeds
