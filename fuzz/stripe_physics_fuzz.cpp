// Reads a stripe physics record from arbitrary bytes and plays it: the first byte picks the class
// (trails or one of the four curve kinds) and the version of its header, which is written here so
// that the bytes reach the body. Trails then follow an emitter that moves, jumps and dies as the
// data says; curve kinds spawn a curve for a parent and update it until the parent dies half way.
// Steps are between 0 and 0.2 s, as the player's clock gives them, and frames are few. Curves are
// played with stripes of a few hundred points at most, so that every run is quick. Any hang,
// over-read, oversized allocation or undefined behaviour fails.
#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/archive/ds_iof_archive.h"
#include "core/archive/ds_iof_r.h"
#include "core/archive/ds_iof_w.h"
#include "core/archive/resource_buffer.h"
#include "core/registry/core_class_list.h"
#include "core/registry/read_by_name.h"
#include "geometry/geometry_class_list.h"
#include "particles/behaviour/behaviour_class_list.h"
#include "particles/behaviour/physics/curve_physics.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/physics/perlin_curve.h"
#include "particles/behaviour/physics/random_curve.h"
#include "particles/behaviour/physics/trace_line.h"

namespace {

constexpr const char16_t* kClasses[] = {
    u"ZKW_PtclSysPhys_TraceLine", u"ZKW_PtclSysPhys_LineCurv", u"ZKW_PtclSysPhys_FractalCurv",
    u"ZKW_PtclSysPhys_RandomCurv", u"ZKW_PtclSysPhys_PerlinCurv"};
constexpr int kFrames = 4;

// The header of `name` with `version`, then the data, read through the player's stream so that
// any read past the end is caught.
std::unique_ptr<ZKW_IOF_Item> ReadRecord(const char16_t* name, uint32_t version,
                                         const uint8_t* data, size_t size, size_t* used) {
  auto writer = std::make_unique<DS_IOF_W>();
  DS_IOF_W& w = *writer;
  DS_IOF_Archive header(std::move(writer));
  header.io().WriteWideString(name);
  header.io().WriteDword(version);
  std::vector<uint8_t> bytes = w.TakeBytes();
  const size_t headerSize = bytes.size();
  bytes.insert(bytes.end(), data, data + size);
  bytes.shrink_to_fit();
  ResourceBuffer buffer;
  buffer.SetMemory(bytes.data(), bytes.size());
  DS_IOF_Archive archive(std::make_unique<DS_IOF_R<ResourceBuffer>>(&buffer));
  std::unique_ptr<ZKW_IOF_Item> item = ReadByName(archive, GetIofItemRegistry());
  *used = bytes.size() - buffer.Remaining() - headerSize;
  return item;
}

// The bytes after the record steer the play, one byte at a time (0 once they run out).
class Steering {
 public:
  Steering(const uint8_t* data, size_t size) : data_(data), size_(size) {}
  uint8_t Next() { return at_ < size_ ? data_[at_++] : 0; }
  float Step() { return static_cast<float>(Next()) / 255.0f * 0.2f; }

 private:
  const uint8_t* data_;
  size_t size_;
  size_t at_ = 0;
};

void PlayTrails(ZKW_PtclSysPhys_TraceLine& trace, Steering& steer) {
  ParticleHandle parent(std::make_unique<ParticleRecord>());
  ParticleHandle emitter(std::make_unique<ParticleRecord>(D3DXVECTOR3(0, 0, 0), parent));
  emitter->flags |= ParticleRecord::kRelativeToParent;
  trace.AddTrace(emitter);
  trace.AddTrace(ParticleHandle());
  for (int frame = 0; frame < kFrames; ++frame) {
    const uint8_t move = steer.Next();
    emitter->Position().x += static_cast<float>(move & 0x0F);
    emitter->Position().y -= static_cast<float>(move >> 4);
    if ((move & 0x11) == 0x11) emitter->flags |= ParticleRecord::kJumped;
    if ((move & 0x22) == 0x22) parent->flags |= ParticleRecord::kJumped;
    if (frame == kFrames / 2 && (move & 0x80) != 0) emitter->flags |= ParticleRecord::kDead;
    trace.Update(nullptr, steer.Step());
    parent->flags &= ~ParticleRecord::kJumped;
  }
  trace.KillAll();
}

// Clamps the values that size a curve's stripe to a few hundred points. Larger stripes repeat the
// same steps for more points, and one at the cap (65,535 points, whose clamping has tests of its
// own) took seconds a run.
void KeepStripeSmall(ZKW_PtclSysPhys_Curves& curves) {
  const auto atMost = [](MediaParamT<unsigned>& value, unsigned most) {
    value.RawValue() = std::min(value.Value(), most);
  };
  if (auto* line = dynamic_cast<ZKW_PtclSysPhys_LineCurv*>(&curves)) {
    atMost(line->segments, 256);
  } else if (auto* random = dynamic_cast<ZKW_PtclSysPhys_RandomCurv*>(&curves)) {
    atMost(random->segments, 256);
  } else if (auto* fractal = dynamic_cast<ZKW_PtclSysPhys_FractalCurv*>(&curves)) {
    atMost(fractal->levels, 8);
  } else if (auto* perlin = dynamic_cast<ZKW_PtclSysPhys_PerlinCurv*>(&curves)) {
    atMost(perlin->segments, 8);
    atMost(perlin->octaves, 4);
    atMost(perlin->frequencyMultiplier, 4);
  }
}

void PlayCurves(ZKW_PtclSysPhys_Curves& curves, Steering& steer) {
  KeepStripeSmall(curves);
  ParticleList parents = {ParticleHandle(std::make_unique<ParticleRecord>())};
  curves.SpawnForParents(&parents);
  for (int frame = 0; frame < kFrames; ++frame) {
    if (frame == kFrames / 2) parents[0]->flags |= ParticleRecord::kDead;
    curves.Update(&parents, steer.Step());
  }
  curves.KillAll();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const bool registered = (RegisterClasses({RegisterCoreClasses, RegisterGeometryClasses,
                                                   RegisterParticlesBehaviourClasses}),
                                  true);
  (void)registered;
  if (size == 0) return 0;
  const char16_t* name = kClasses[data[0] % 5];
  const uint32_t version = data[0] / 5 % 6;
  ++data, --size;
  size_t used = 0;
  const std::unique_ptr<ZKW_IOF_Item> item = ReadRecord(name, version, data, size, &used);
  Steering steer(data + used, size - used);
  if (auto* trace = dynamic_cast<ZKW_PtclSysPhys_TraceLine*>(item.get())) {
    PlayTrails(*trace, steer);
  } else if (auto* curves = dynamic_cast<ZKW_PtclSysPhys_Curves*>(item.get())) {
    PlayCurves(*curves, steer);
  }
  return 0;
}
