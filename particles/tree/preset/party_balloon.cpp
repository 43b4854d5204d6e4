#include "particles/tree/preset/party_balloon.h"

#include "core/param/param_reads.h"

bool ZKW_PartyBalloon::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_PartyBalloon", 1);
  archive.io().WriteUInt32(firstLightMapOpacity.Value());
  archive.io().WriteUInt32(secondLightMapOpacity.Value());
  return ZKW_PSTree_Leaf::Save(archive);
}

void ZKW_PartyBalloon::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  ReadChangedUInt32(archive, firstLightMapOpacity);
  ReadChangedUInt32(archive, secondLightMapOpacity);
  ReadLeafPart(archive);
}

void ZKW_PartyBalloon::SetLightMaps(gfx::Effect& effect) const {
  const float opacities[3] = {1.0f, firstLightMapOpacity.Scaled(), secondLightMapOpacity.Scaled()};
  effect.SetFloatArray("LightMapsOpacity", opacities, 3);
}

void ZKW_PartyBalloon::Render(QuadBatches& batches, size_t* index, DS_2D_Light&, int*) {
  ParticleQuadBatch* batch = NextBatch(batches, index);
  gfx::Effect* effect = TreeEffect();
  if (batch == nullptr || effect == nullptr || !HasPicture()) return;
  // Light maps the source lacks stay unset: the effect then adds no highlight and no shade.
  const char* const slots[3] = {"Texture0", "Texture1", "Texture2"};
  for (size_t i = 0; i < 3; ++i)
    effect->SetTexture(slots[i], i < texture.frameSets.size()
                                     ? texture.frameSets[i].CurrentTexture().Get()
                                     : nullptr);
  SetLightMaps(*effect);
  batch->Draw(effect, "PartyBalloon", false);
}
