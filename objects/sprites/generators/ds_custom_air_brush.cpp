#include "objects/sprites/generators/ds_custom_air_brush.h"

#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "objects/sprites/generators/ds_particles_obj.h"
#include "player/document/doc_res_manager.h"

DS_CustomAirBrush::DS_CustomAirBrush() {
  frameSpeed.SetFactor(0.01f);
}

bool DS_CustomAirBrush::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_CustomAirBrush", kVersion);
  // Registered as a picture, so that the document stores its frames and their times.
  RegisterSavedLinkWithDocument(ownPicture);
  archive.io().WriteWideString(ownPicture.name);
  archive.io().WriteInt64(ownPicture.id);
  archive.io().WriteUInt32(frameSpeed.Value());
  return DS_AirBrush::Save(archive);
}

bool DS_CustomAirBrush::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  ReadFileLink(archive, ownPicture);
  ReadChangedUInt32(archive, frameSpeed);
  return DS_AirBrush::ReadBody(archive, ReadBaseHeader(archive));
}

std::unique_ptr<DS_ParticleGenerator> DS_CustomAirBrush::Clone() const {
  return std::make_unique<DS_CustomAirBrush>(*this);
}

void DS_CustomAirBrush::Render(DS_2D_Light& renderer, DS_ParticlesObj& obj) {
  const uint32_t frame = ownFrames.frameIndex;
  RenderBlendMask(renderer, obj,
                  frame < ownFrames.textures.size() ? ownFrames.textures[frame].Get() : nullptr);
}

void DS_CustomAirBrush::Update(float t, DS_ParticlesObj& /*obj*/) {
  Step(frameSpeed, t);
  ownFrames.Advance(frameSpeed.localTime);
}

void DS_CustomAirBrush::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  obj.SetLayerCount(1);
  CreateMaskTarget();
  if (DS_DocResManager* document = CurrentDocument()) {
    ownFrames = document->GetImageTextures(ownPicture);
    aspect = ownFrames.aspect;
  }
  FillLayer();
}
