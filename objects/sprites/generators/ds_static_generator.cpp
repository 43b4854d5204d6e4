#include "objects/sprites/generators/ds_static_generator.h"

#include "core/startup/thread_slots.h"
#include "player/render/render_context.h"

bool DS_StaticGenerator::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_StaticGenerator", kVersion);
  DS_IOF_Virtual& io = archive.io();
  io.WriteFloat(position.Value().x);
  io.WriteFloat(position.Value().y);
  io.WriteFloat(position.Value().z);
  return DS_TexParticleGenerator::Save(archive);
}

bool DS_StaticGenerator::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  io.ReadFloat(position.RawValue().x);
  io.ReadFloat(position.RawValue().y);
  io.ReadFloat(position.RawValue().z);
  return DS_TexParticleGenerator::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_StaticGenerator::AttachRuntimeObject(DS_ParticlesObj& obj) {
  DS_TexParticleGenerator::AttachRuntimeObject(obj);
  if (keepGuid != 0) return;
  const RenderContext* context = RenderContextTlsSlot::Get();
  const D3DXVECTOR3 centre =
      context != nullptr ? D3DXVECTOR3(context->pictureW * 0.5f, context->pictureH * 0.5f, 0)
                         : D3DXVECTOR3(0, 0, 0);
  if (!(position.Value() == centre)) position.SetValue(centre);
  keepGuid = 1;
}
