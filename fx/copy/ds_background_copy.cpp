#include "fx/copy/ds_background_copy.h"

#include "core/math/ratio.h"
#include "core/scene/ds_abobj.h"
#include "core/scene/runtime_object_map.h"
#include "platform/gfx/device.h"
#include "player/device/device_values.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// The fit mode of a pushed view that stretches the picture over the view.
constexpr int kStretch = 3;

}  // namespace

DS_BackgroundCopy::DS_BackgroundCopy() {
  effectLink = DS_HLSLEffectFile(u"glimres.dll", 75);
}

DS_BackgroundCopy::DS_BackgroundCopy(const DS_BackgroundCopy& other)
    : DS_FX_Constructor(other),
      rectangle(other.rectangle),
      verticalFlag(other.verticalFlag),
      horizontalFlag(other.horizontalFlag),
      source(other.source),
      targets(other.targets) {}

bool DS_BackgroundCopy::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"DS_BackgroundCopy", kVersion);
  WriteMediaRectangle(archive, rectangle);
  archive.io().WriteInt32(verticalFlag.Value());
  archive.io().WriteInt32(horizontalFlag.Value());
  archive.WriteGuid(source.Value());
  return DS_FX_Constructor::Save(archive);
}

bool DS_BackgroundCopy::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  ReadMediaRectangle(archive, rectangle);
  archive.io().ReadInt32(verticalFlag.RawValue());
  archive.io().ReadInt32(horizontalFlag.RawValue());
  if (version >= 2) archive.ReadGuid(source.RawValue());
  return DS_FX_Constructor::ReadBody(archive, ReadBaseHeader(archive));
}

void DS_BackgroundCopy::CreateTargets() {
  // Without any size a linked copy shows a clear picture.
  (void)CreateAtBackBufferMultiple(targets);
}

void DS_BackgroundCopy::OnLostDevice() {
  targets.Release();
  remakeTargets_ = true;
}

void DS_BackgroundCopy::Prepare(ComRef<gfx::Texture>* maskSlot) {
  DS_FX_Constructor::Prepare(maskSlot);
  CreateTargets();
}

gfx::Texture* DS_BackgroundCopy::DrawLinkedObject(DS_2D_Light& canvas) {
  if (!targets.current && remakeTargets_) {
    remakeTargets_ = false;
    CreateTargets();
  }
  gfx::Device* device = CurrentDevice();
  if (!targets.current || device == nullptr) return nullptr;
  DS_ABObj* object = FindRuntimeObject(source.Value());
  drawing_ = true;
  targets.Begin();
  canvas.PushView(targets.width, targets.height, kStretch);
  device->Clear(0, nullptr, gfx::ClearFlags::Target, 0x00000000, 1.0f, 0);
  // Its drawing alone: a switch of the slide's targets would belong to the slide's own pass.
  if (object != nullptr) object->Draw(canvas);
  gfx::Texture* drawn = targets.End(false)->Get();
  canvas.PopView();
  drawing_ = false;
  return drawn;
}

void DS_BackgroundCopy::Draw(DS_2D_Light& canvas) {
  if (!effect || drawing_) return;
  // The linked object first: it may draw with this very effect, whose values are set after.
  gfx::Texture* picture =
      IsLinked() ? DrawLinkedObject(canvas) : canvas.GetTargetTextureSlot()->Get();
  const float w = static_cast<float>(canvas.GetPictureWidth());
  const float h = static_cast<float>(canvas.GetPictureHeight());
  const float offset[2] = {RatioOr0(static_cast<float>(rectangle.extra1.Value()), w) +
                               (horizontalFlag.Value() != 0 ? 1.0f : 0.0f),
                           RatioOr0(static_cast<float>(rectangle.extra2.Value()), h) +
                               (verticalFlag.Value() != 0 ? 1.0f : 0.0f)};
  effect->SetFloatArray("offset", offset, 2);
  effect->SetTechnique(mode.Value() != 0 && !IsLinked() ? "MainFX" : "Main");
  BindMaskPosition(canvas);
  const float s = scale.Scaled();
  const float scaled[2] = {RatioOr0(PictureAspect(canvas), s), RatioOr0(1.0f, s)};
  effect->SetFloatArray("Scale", scaled, 2);
  effect->SetTexture("Mask", GetMaskTexture()->Get());
  effect->SetTexture("Background", picture);
  canvas.DrawTexWithEffect(canvas.GetBackgroundNode(), effect.Get());
}
