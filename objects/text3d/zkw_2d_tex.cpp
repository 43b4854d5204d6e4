#include "objects/text3d/zkw_2d_tex.h"

#include <algorithm>

#include "core/clock_step.h"
#include "core/math/ratio.h"
#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "core/timing/random_timeline.h"
#include "core/timing/timing_registry.h"
#include "platform/gfx/device.h"
#include "platform/gfx/image/d3dx_image_types.h"
#include "player/device/device_values.h"
#include "player/document/doc_res_manager.h"
#include "player/render/render_context.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// (R / 255, G / 255, B / 255, alpha / 255) of a colour word 0x00BBGGRR and its alpha byte.
void SetColor(gfx::Effect& effect, const ColorAlphaParam& colour) {
  const uint32_t c = colour.Value();
  const float rgba[4] = {static_cast<float>(c & 0xFF) / 255.0f,
                         static_cast<float>((c >> 8) & 0xFF) / 255.0f,
                         static_cast<float>((c >> 16) & 0xFF) / 255.0f,
                         static_cast<float>(colour.alpha.Scaled()) / 255.0f};
  effect.SetFloatArray("Color", rgba, 4);
}

// "wvpMatrix" for a grid: its world with the render context's view and projection.
void SetWorldViewProjection(gfx::Effect& effect, const IndexedMesh& grid) {
  const RenderContext* context = RenderContextTlsSlot::Get();
  if (context == nullptr) return;
  D3DXMATRIX wvp;
  effect.SetMatrix("wvpMatrix", &context->GetWorldViewProjection(wvp, grid.node.world));
}

// The device's clip-plane enable state, off while the guard lives and back afterwards.
class ClipPlanesOff {
 public:
  ClipPlanesOff() : device_(CurrentDevice()) {
    if (device_ == nullptr ||
        gfx::Failed(device_->GetRenderState(gfx::RenderState::ClipPlaneEnable, &saved_))) {
      device_ = nullptr;
      return;
    }
    device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, 0);
  }
  ~ClipPlanesOff() {
    if (device_ != nullptr) device_->SetRenderState(gfx::RenderState::ClipPlaneEnable, saved_);
  }
  ClipPlanesOff(const ClipPlanesOff&) = delete;
  ClipPlanesOff& operator=(const ClipPlanesOff&) = delete;

 private:
  gfx::Device* device_;
  uint32_t saved_ = 0;
};

}  // namespace

ZKW_2DTex::ZKW_2DTex() : ownTimeline(std::make_unique<ZKW_RandomTimeLine>()) {
  fillSpeed.SetScale(0.01f, 0.0f);
  fillSpeed.SetValue(100);
}

bool ZKW_2DTex::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_2DTex", kVersion);
  DS_IOF_Virtual& io = archive.io();
  WriteFileLink(archive, effectLink);
  WriteMediaQuad(archive, quad);
  layer1.Save(archive);
  layer2.Save(archive);
  shadow.Save(archive);
  io.WriteUInt32(spareAmount.Value());
  io.WriteUInt32(shadowDirection.Value());
  WriteNamedFileLinkData(archive, pictures.Value());
  io.WriteInt32(fillWithPicture.Value());
  WriteNamedFileLinkData(archive, fillPicture.Value());
  io.WriteUInt32(fillScale.Value());
  io.WriteUInt32(fillSpeed.Value());
  WriteColorAlphaParam(archive, colour1);
  WriteColorAlphaParam(archive, colour2);
  io.WriteUInt32(amount1.Value());
  io.WriteUInt32(amount2.Value());
  io.WriteInt32(fadeInKind.Value());
  io.WriteInt32(fadeOutKind.Value());
  ownTimeline->Save(archive);
  return ZKW_Text::Save(archive);
}

bool ZKW_2DTex::ReadBody(DS_IOF_Archive& archive, uint32_t /*version*/) {
  DS_IOF_Virtual& io = archive.io();
  ReadEffectLink(archive, effectLink);
  ReadMediaQuad(archive, quad);
  layer1.Read(archive);
  layer2.Read(archive);
  shadow.Read(archive);
  io.ReadUInt32(spareAmount.RawValue());
  io.ReadUInt32(shadowDirection.RawValue());
  shadowDirection.Recompute();
  ReadNamedFileLinkData(archive, pictures.RawValue());
  io.ReadInt32(fillWithPicture.RawValue());
  ReadNamedFileLinkData(archive, fillPicture.RawValue());
  ReadChangedUInt32(archive, fillScale);
  ReadChangedUInt32(archive, fillSpeed);
  ReadColorAlphaParam(archive, colour1);
  ReadColorAlphaParam(archive, colour2);
  io.ReadUInt32(amount1.RawValue());
  io.ReadUInt32(amount2.RawValue());
  io.ReadInt32(fadeInKind.RawValue());
  io.ReadInt32(fadeOutKind.RawValue());
  if (std::unique_ptr<ZKW_Timing> read = ReadTiming(archive))
    ownTimeline = DS_SafePtr<ZKW_Timing>(std::move(read));
  return ZKW_Text::ReadBody(archive, ReadBaseHeader(archive));
}

void ZKW_2DTex::Prepare() {
  DS_DocResManager* document = CurrentDocument();
  effect.Reset();
  if (document != nullptr) effect = document->GetEffect(effectLink);
  textGrid.Resize(1, 1);
  backgroundGrid.Resize(1, 1);
  timing.KeepTiming(1, ownTimeline);
  if (document == nullptr) return;
  const std::vector<DS_ImageFileLink>& fillLinks = fillPicture.Value().links;
  if (fillLinks.size() == 1)
    fill.Assign(document->BuildLinkTextures(fillLinks[0], D3DX_FILTER_TRIANGLE));
  textures.clear();
  for (const DS_ImageFileLink& link : pictures.Value().links)
    textures.push_back(document->BuildLinkTextures(link, D3DX_FILTER_NONE));
  if (!textures.empty()) PlaceText();
}

void ZKW_2DTex::PlaceText() {
  const LinkTextureSet& picture = textures[0];
  const D3DXVECTOR3& c1 = quad.corners[0].Value();
  const D3DXVECTOR3& c2 = quad.corners[1].Value();
  const D3DXVECTOR3& c3 = quad.corners[2].Value();
  const D3DXVECTOR3& c4 = quad.corners[3].Value();
  const FlatTextPlacement& p = placement = PlaceFlatText(
      c1, c4, static_cast<float>(picture.textureWidth), static_cast<float>(picture.textureHeight),
      picture.usedU, picture.usedV, text.value2.Value(), text.value1.Value());
  textGrid.Fill({c2.x, c2.y, c2.z, p.e, p.f + p.c}, {c1.x, c1.y, c1.z, p.e, p.f},
                {c4.x, c4.y, c4.z, p.e + p.a, p.f + p.c}, {c3.x, c3.y, c3.z, p.e + p.a, p.f});
  const float u3 = textures.size() >= 3 ? textures[2].usedU : 1.0f;
  const float v3 = textures.size() >= 3 ? textures[2].usedV : 1.0f;
  backgroundGrid.Fill({c2.x, c2.y, c2.z, 0.0f, v3}, {c1.x, c1.y, c1.z, 0.0f, 0.0f},
                      {c4.x, c4.y, c4.z, u3, v3}, {c3.x, c3.y, c3.z, u3, 0.0f});
  fadeIn = FadeInTable(fadeInKind.Value(), p, picture.usedU, picture.usedV);
  fadeOut = FadeOutTable(fadeOutKind.Value(), p, picture.usedU, picture.usedV);
}

void ZKW_2DTex::Tick(float t) {
  fillStep = fillSpeed.Scaled() * ClockStep(fillLast, t);
  fillTime += fillStep;
  if (!fill.textures.empty()) fill.AdvanceFrame(fillTime);
}

FadeEnd ZKW_2DTex::CurrentFade() const {
  const ZKW_Timing* timeline = timing.Current();
  if (timeline == nullptr) return FadeEnd{};
  switch (timeline->GetState()) {
    case TimingState::FadingIn:
      return fadeIn.At(timeline->GetValue());
    case TimingState::FadingOut:
      return fadeOut.At(timeline->GetValue());
    default:
      return FadeEnd{};
  }
}

void ZKW_2DTex::BindFill() {
  const float scale = RatioOr0(1.0f, fillScale.Scaled());
  const float fillTexScale[2] = {RatioOr0(scale, static_cast<float>(fill.sourceWidth)),
                                 RatioOr0(scale, static_cast<float>(fill.sourceHeight))};
  effect->SetFloatArray("fill_tex_scale", fillTexScale, 2);
  if (!fill.textures.empty()) effect->SetTexture("Filling", fill.CurrentTexture().Get());
  effect->SetTechnique("MainTexFill");
}

void ZKW_2DTex::Draw(DS_2D_Light& canvas) {
  if (!effect) return;
  if (textures.size() >= 3) {
    SetWorldViewProjection(*effect.Get(), backgroundGrid);
    effect->SetTexture("TaxtImg", textures[2].CurrentTexture().Get());
    effect->SetTechnique("Background");
    canvas.DrawIndexedTex(backgroundGrid, effect.Get());
  }
  const ZKW_Timing* timeline = timing.Current();
  if (timeline != nullptr && timeline->GetState() == TimingState::Hidden) return;

  const FadeEnd fade = CurrentFade();
  effect->SetFloat("Fade_Alpha", fade.alpha);
  ClipPlanesOff clipPlanesOff;
  if (textures.empty()) return;
  const LinkTextureSet& picture = textures[0];
  const D3DXVECTOR3& c1 = quad.corners[0].Value();
  const D3DXVECTOR3& c4 = quad.corners[3].Value();
  const D3DXVECTOR2& s = fade.shift;
  SetWorldViewProjection(*effect.Get(), textGrid);
  effect->SetTexture("TaxtImg", picture.CurrentTexture().Get());
  effect->SetTexture("TextEffect",
                     textures.size() >= 2 ? textures[1].CurrentTexture().Get() : nullptr);
  const float fadePos[4] = {fade.wipe.x, fade.wipe.y, (c1.x + c4.x) * 0.5f, (c1.y + c4.y) * 0.5f};
  effect->SetFloatArray("fade_pos", fadePos, 4);

  const float textureWidth = static_cast<float>(picture.textureWidth);
  const float textureHeight = static_cast<float>(picture.textureHeight);
  if (shadow.enabled.Value() != 0) {
    SetColor(*effect.Get(), shadow.color);
    const D3DXVECTOR4& direction = shadowDirection.Direction();
    const float distance = static_cast<float>(shadow.amount.Value());
    const float shift[4] = {s.x + RatioOr0(direction.x * distance, textureWidth),
                            s.y - RatioOr0(direction.y * distance, textureHeight), 0.0f, 0.0f};
    effect->SetFloatArray("Shift", shift, 4);
    effect->SetTechnique("Shadow");
    canvas.DrawIndexedTex(textGrid, effect.Get());
  }

  SetColor(*effect.Get(), text.font.color);
  const float shift[4] = {s.x, s.y, RatioOr0((c4.x - c1.x) * s.x, picture.usedU),
                          RatioOr0((c4.y - c1.y) * s.y, picture.usedV)};
  effect->SetFloatArray("Shift", shift, 4);
  if (fillWithPicture.Value() != 0) {
    BindFill();
  } else {
    effect->SetTechnique("MainColorFill");
  }
  canvas.DrawIndexedTex(textGrid, effect.Get());
}
