#include "objects/sprites/ds_fx_obj.h"

#include "renderers/light/ds_2d_light.h"

DS_FXObj::DS_FXObj(std::unique_ptr<DS_StatBaseFXCtrl> preset)
    : DS_ABObj(std::move(preset)), preset_(static_cast<DS_StatBaseFXCtrl*>(Description())) {
  BindConstructor(preset_);
  preset_->PrepareEffect();
}

DS_FXObj::~DS_FXObj() = default;

void DS_FXObj::Draw(DS_2D_Light& renderer) {
  // Without sprites the buffers may still hold the quads of an earlier count.
  if (preset_->SetEffectParameters(renderer, *this) && !Sprites().empty())
    renderer.DrawIndexedColorTex(*this, preset_->effect.Get());
}

void DS_FXObj::Update(float localTime) {
  ParticleGeomArray::Update(localTime);
  FillVertices(*preset_);
}

void DS_FXObj::ExportSpriteFrames(SpriteExportState& state, bool last) {
  ParticleGeomArray::ExportSpriteFrames(state, last);
}
