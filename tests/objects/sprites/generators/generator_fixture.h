#pragma once

#include <memory>
#include <vector>

#include "objects/sprites/generators/ds_air_brush.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "objects/sprites/sprite_fixture.h"

namespace generator_test {

using namespace sprite_test;

// The generators' own effect, as records link it.
inline DS_HLSLEffectFile MaskEffect() {
  return DS_HLSLEffectFile(u"glimres.dll", 1801);
}

// A generator kind for tests only: it draws nothing and counts the particles its base rules
// make, so that the base's clock, emission and behaviours can be seen alone.
class TestGenerator : public DS_ParticleGenerator {
 public:
  TestGenerator() = default;
  TestGenerator(const TestGenerator&) = default;
  bool Save(DS_IOF_Archive& archive) const override {
    WriteRecordHeader(archive, u"TestGenerator", 1);
    return DS_ParticleGenerator::Save(archive);
  }
  void Render(DS_2D_Light&, DS_ParticlesObj&) override {}
  void AttachRuntimeObject(DS_ParticlesObj& obj) override { obj.SetLayerCount(1); }
  std::unique_ptr<DS_ParticleGenerator> Clone() const override {
    return std::make_unique<TestGenerator>(*this);
  }
};

// The run-time object of a generator (held as a slide holds it) and the clone it drives, of
// the generator's kind.
template <class Kind>
struct Running {
  DS_SafePtr<ZKW_RenderObj> handle;
  DS_ParticlesObj* obj = nullptr;
  Kind& Clone() const { return dynamic_cast<Kind&>(*obj->Generator()); }
};
template <class Kind>
Running<Kind> StartRuntime(Kind& description) {
  Running<Kind> run{DS_SafePtr<ZKW_RenderObj>(description.CreateRuntimeObject())};
  run.obj = dynamic_cast<DS_ParticlesObj*>(run.handle.Get());
  EXPECT_NE(run.obj, nullptr);
  return run;
}

// The description a record read made, as its kind.
template <class Kind>
const Kind& As(const ReadResult& read) {
  return dynamic_cast<const Kind&>(*read.object);
}

// What a description writes reads back whole into a description that writes the same bytes.
template <class Kind>
ReadResult RoundTrip(const Kind& kind) {
  const std::vector<uint8_t> bytes = SavedBytes(kind);
  ReadResult read = ReadDescription(bytes);
  EXPECT_TRUE(ReadWhole(read));
  if (read.object != nullptr) EXPECT_EQ(SavedBytes(*read.object), bytes);
  return read;
}

// The vertices of the first `quads` quads of a layer as they stand.
inline std::vector<DX_V::PCT> LayerVertices(const DS_ParticlesObj& obj, unsigned layer) {
  auto& mesh = const_cast<PCTSpriteArray&>(obj.Layer(layer));
  std::vector<DX_V::PCT> out;
  if (DX_V::PCT* v = mesh.LockVertices()) {
    out.assign(v, v + size_t{4} * obj.QuadCount(layer));
    mesh.UnlockVertices();
  }
  return out;
}

// The width and height of quad i's bounding box.
inline std::pair<float, float> QuadExtent(const std::vector<DX_V::PCT>& v, size_t i) {
  float minX = v[4 * i].x, maxX = minX, minY = v[4 * i].y, maxY = minY;
  for (size_t k = 4 * i; k < 4 * i + 4; ++k) {
    minX = std::min(minX, v[k].x);
    maxX = std::max(maxX, v[k].x);
    minY = std::min(minY, v[k].y);
    maxY = std::max(maxY, v[k].y);
  }
  return {maxX - minX, maxY - minY};
}

// The centre of quad i.
inline D3DXVECTOR3 QuadCentre(const std::vector<DX_V::PCT>& v, size_t i) {
  D3DXVECTOR3 sum;
  for (size_t k = 4 * i; k < 4 * i + 4; ++k)
    sum += D3DXVECTOR3(v[k].x, v[k].y, v[k].z);
  return sum * 0.25f;
}

}  // namespace generator_test
