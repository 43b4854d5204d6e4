#include "fx/layer/ds_pattern_brush.h"

#include "core/param/param_reads.h"
#include "core/scene/scene_services.h"
#include "platform/math/d3dx_math.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

DS_PatternBrush::DS_PatternBrush() {
  speed.SetScale(0.02f, 0.0f);
  speed.SetValue(50);
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 78);
  timing.flags |= ZKW_SmartTiming::kKindMarker;
  tag = 6;
  timing.timeMode.SetValueSilently(1);
}

bool DS_PatternBrush::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PatternBrush", kVersion);
  DS_IOF_Virtual& io = archive.io();
  RegisterSavedLinkWithDocument(patternLink);
  WriteFileLink(archive, patternLink);
  io.WriteInt32(flipVertical.Value());
  io.WriteInt32(flipHorizontal.Value());
  io.WriteUInt32(patternAngle.Value());
  io.WriteUInt32(patternScale.Value());
  io.WriteUInt32(offsetX.Value());
  io.WriteUInt32(offsetY.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_PatternBrush::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  DS_IOF_Virtual& io = archive.io();
  ReadFileLink(archive, patternLink);
  io.ReadInt32(flipVertical.RawValue());
  io.ReadInt32(flipHorizontal.RawValue());
  io.ReadUInt32(patternAngle.RawValue());
  ReadChangedUInt32(archive, patternScale);
  ReadChangedUInt32(archive, offsetX);
  ReadChangedUInt32(archive, offsetY);
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_PatternBrush::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  patternFrames = ImageTextureSet();
  if (DS_DocResManager* document = CurrentDocument()) {
    patternFrames = patternLink.GetExtension() == u".dll"
                        ? document->LoadModulePictures(patternLink)
                        : document->GetImageTextures(patternLink);
  }
  patternFrames.frameIndex = 0;
  patternFrames.lastSwitch = 0.0f;
}

void DS_PatternBrush::Tick(float time) {
  DS_FX_Constructor::Tick(time);
  patternFrames.Advance(Phase());
}

void DS_PatternBrush::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  const float mix[4] = {1.0f, 1.0f, 1.0f, timing.timeMode.Value() == 1 ? TimelineValue() : 1.0f};
  effect->SetFloatArray("mix_color", mix, 4);
  const float pw = static_cast<float>(patternFrames.width);
  const float ph = static_cast<float>(patternFrames.height);
  const float d = patternScale.Scaled();
  // A pattern of no size, or tiles of no size, would tile the picture endlessly.
  if (pw == 0.0f || ph == 0.0f || d == 0.0f) return;
  if (!patternFrames.textures.empty())
    effect->SetTexture("Pattern", patternFrames.CurrentTexture().Get());
  tilesX = static_cast<float>(canvas.GetPictureWidth()) / (pw * d);
  tilesY = static_cast<float>(canvas.GetPictureHeight()) / (ph * d);
  const float scale[2] = {pw / ph, 1.0f};
  const float offset[2] = {offsetX.Scaled(), offsetY.Scaled()};
  effect->SetFloatArray("scale", scale, 2);
  effect->SetFloatArray("offset", offset, 2);
  const float sx = flipHorizontal.Value() != 0 ? -tilesX : tilesX;
  const float sy = flipVertical.Value() != 0 ? -tilesY : tilesY;
  D3DXMATRIX scaling, turn, m;
  D3DXMatrixScaling(&scaling, sx, sy, 1.0f);
  D3DXMatrixRotationZ(&turn, static_cast<float>(patternAngle.Value()) * 3.1415927f / 180.0f);
  D3DXMatrixMultiply(&m, &scaling, &turn);
  const float transform[4] = {m._11, m._12, m._21, m._22};
  effect->SetFloatArray("coord_transf", transform, 4);
  BindCommon(canvas);
}

bool DS_PatternBrushC::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_PatternBrushC", kVersion);
  return DS_PatternBrush::Save(archive);
}

bool DS_PatternBrushC::ReadBody(DS_IOF_Archive& archive, uint32_t) {
  return DS_PatternBrush::ReadBody(archive, ReadBaseHeader(archive));
}
