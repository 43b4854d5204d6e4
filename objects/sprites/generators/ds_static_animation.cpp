#include "objects/sprites/generators/ds_static_animation.h"

#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "renderers/light/ds_2d_light.h"

DS_StaticAnimation::DS_StaticAnimation() {
  frameSpeed.SetFactor(0.01f);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 116);
}

bool DS_StaticAnimation::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StaticAnimation", kVersion);
  archive.io().WriteUInt32(frameSpeed.Value());
  archive.io().WriteInt32(reverse.Value());
  return DS_SingleRectGN::Save(archive);
}

bool DS_StaticAnimation::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadChangedUInt32(archive, frameSpeed);
  archive.io().ReadInt32(reverse.RawValue());
  return DS_SingleRectGN::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_StaticAnimation::Clone() const {
  return std::make_unique<DS_StaticAnimation>(*this);
}

void DS_StaticAnimation::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(frameSpeed, t);
  if (textures.empty()) return;
  TextureFrameSet& set = textures[0];
  const float now = frameSpeed.localTime;
  if (reverse.Value() == 0) {
    set.Advance(now);
    return;
  }
  if (now < set.lastSwitch) set.lastSwitch = now;
  if (set.delays.empty() || set.frameIndex >= set.delays.size()) return;
  if (set.delays[set.frameIndex] < now - set.lastSwitch) {
    set.lastSwitch = now;
    set.frameIndex =
        set.frameIndex == 0 ? static_cast<uint32_t>(set.delays.size() - 1) : set.frameIndex - 1;
  }
}

void DS_StaticAnimation::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  gfx::Effect* e = effect.Get();
  gfx::Texture* texture = PictureTexture(0);
  if (e == nullptr || texture == nullptr || obj.LayerCount() == 0) return;
  const uint32_t rgb = colour1.Value();
  const float color[4] = {
      static_cast<float>(rgb & 0xFF) / 255.0f, static_cast<float>((rgb >> 8) & 0xFF) / 255.0f,
      static_cast<float>((rgb >> 16) & 0xFF) / 255.0f,
      static_cast<float>(colour1.alpha.Scaled()) * timing.TimelineValue() / 255.0f};
  e->SetTechnique("Blend_Normal");
  e->SetTexture("Texture", texture);
  e->SetFloatArray("Color", color, 4);
  renderer.DrawIndexedMesh(obj.Layer(0), e, 0, obj.DrawnQuads(0));
}
