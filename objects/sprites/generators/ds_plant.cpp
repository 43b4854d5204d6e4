#include "objects/sprites/generators/ds_plant.h"

#include "core/param/param_reads.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "renderers/light/ds_2d_light.h"

DS_Plant::DS_Plant() {
  plantSpeed.SetFactor(0.02f);
}

bool DS_Plant::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_Plant", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteUInt32(plantSpeed.Value());
  io.WriteUInt32(frequency.Value());
  io.WriteUInt32(swayMagnitude.Value());
  io.WriteUInt32(bendMagnitude.Value());
  return DS_SingleRectGN::Save(archive);
}

bool DS_Plant::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadChangedUInt32(archive, plantSpeed);
  ReadChangedUInt32(archive, frequency);
  ReadChangedUInt32(archive, swayMagnitude);
  ReadChangedUInt32(archive, bendMagnitude);
  return DS_SingleRectGN::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_Plant::Clone() const {
  return std::make_unique<DS_Plant>(*this);
}

void DS_Plant::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(plantSpeed, t);
}

void DS_Plant::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  if (obj.LayerCount() == 0) return;
  gfx::Texture* texture = PictureTexture(0);
  if (gfx::Effect* e = effect.Get()) {
    const float color[4] = {1.0f, 1.0f, 1.0f,
                            timing.timeMode.Value() == 1 ? timing.TimelineValue() : 1.0f};
    e->SetTechnique("Main");
    e->SetTexture("Texture", texture);
    e->SetFloat("Time", plantSpeed.localTime);
    e->SetFloat("Frequency", frequency.Scaled());
    e->SetFloat("WMagnitude", swayMagnitude.Scaled());
    e->SetFloat("BMagnitude", bendMagnitude.Scaled());
    e->SetFloatArray("color", color, 4);
  } else if (gfx::Device* device = CurrentDevice()) {
    // Without its effect the picture is drawn still, with fixed-function blending.
    device->SetTexture(0, texture);
  }
  renderer.DrawIndexedMesh(obj.Layer(0), effect.Get(), 0, obj.DrawnQuads(0));
}
