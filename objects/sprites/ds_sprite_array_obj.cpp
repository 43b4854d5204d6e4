#include "objects/sprites/ds_sprite_array_obj.h"

#include <algorithm>
#include <limits>
#include <utility>

#include "platform/gfx/image/d3dx_image_types.h"
#include "player/document/doc_res_manager.h"
#include "renderers/light/ds_2d_light.h"

namespace {

// A document picture set as the array keeps it: the whole texture in use.
LinkTextureSet FromFrameSet(const TextureFrameSet& frames) {
  LinkTextureSet set;
  set.textures = frames.textures;
  set.delays = frames.delays;
  set.sourceWidth = set.textureWidth = frames.width;
  set.sourceHeight = set.textureHeight = frames.height;
  set.aspect = frames.aspect;
  set.frameIndex = frames.frameIndex;
  set.lastSwitch = frames.lastSwitch;
  return set;
}

}  // namespace

DS_SpriteArrayObj::DS_SpriteArrayObj(std::unique_ptr<DS_BaseSpriteProp> preset)
    : DS_ABObj(std::move(preset)) {
  auto* clone = static_cast<DS_BaseSpriteProp*>(Description());
  TakePictureSet();
  BindConstructor(clone);
  if (clone != nullptr) secondTexture_ = CurrentPictureTexture(clone->secondPicture);
}

DS_SpriteArrayObj::~DS_SpriteArrayObj() = default;

void DS_SpriteArrayObj::TakePictureSet() {
  const auto* p = static_cast<const DS_BaseSpriteProp*>(Description());
  DS_DocResManager* document = CurrentDocument();
  if (p == nullptr || document == nullptr) return;
  switch (p->pictureSource) {
    case 1:
      pictureSet = FromFrameSet(document->LoadModulePictures(p->picture));
      break;
    case 2:
      pictureSet.Assign(document->BuildLinkTextures(p->picture, D3DX_FILTER_TRIANGLE));
      break;
    default:
      pictureSet = FromFrameSet(document->GetImageTextures(p->picture));
      break;
  }
}

void DS_SpriteArrayObj::Draw(DS_2D_Light& renderer) {
  renderer.DrawSpriteLayer(*this);
}

int DS_SpriteArrayObj::BlendMode() const {
  return Preset() != nullptr ? Preset()->blendMode.Value() : 0;
}

gfx::Texture* DS_SpriteArrayObj::FrameTexture() const {
  return pictureFrame < pictureSet.textures.size() ? pictureSet.textures[pictureFrame].Get()
                                                   : nullptr;
}

void DS_SpriteArrayObj::OnSlideRestart() {
  DS_ABObj::OnSlideRestart();
  for (SpriteRecord& sprite : Sprites())
    ResetSpriteRecord(sprite);
}

void DS_SpriteArrayObj::Restart() {
  DS_ABObj::Restart();
  for (SpriteRecord& sprite : Sprites())
    ResetSpriteRecord(sprite);
}

void DS_SpriteArrayObj::Update(float localTime) {
  DS_BaseSpriteProp* p = Preset();
  if (p == nullptr) return;
  p->frameEvent = false;
  ParticleGeomArray::Update(localTime);
  bool advanced = false;
  const std::vector<float>& delays = pictureSet.delays;
  if (!delays.empty()) {
    pictureFrame %= delays.size();
    if (!(p->speed.localTime - pictureChangeTime < delays[pictureFrame])) {
      pictureChangeTime = p->speed.localTime;
      pictureFrame = (pictureFrame + 1) % delays.size();
      advanced = true;
    }
  }
  if (p->frameLockedMotion.Value() != 0 && !advanced) return;
  FillVertices(*p);
  if (p->pictureSource == 2) FillUsedPartUVs();
}

void DS_SpriteArrayObj::FillUsedPartUVs() {
  const DS_BaseSpriteProp& p = *Preset();
  const uint32_t n = std::min<size_t>(CappedCount(), vertices.count / 4);
  if (n == 0) return;
  DX_V::PCT* v = LockVertices();
  if (v == nullptr) return;
  float leftU = 0.0f, rightU = pictureSet.usedU, top = 0.0f, bottom = pictureSet.usedV;
  if (p.horizontalFlip.Value() != 0) std::swap(leftU, rightU);
  if (p.verticalFlip.Value() != 0) std::swap(top, bottom);
  const float u[4] = {leftU, leftU, rightU, rightU};
  const float vv[4] = {bottom, top, bottom, top};
  for (uint32_t q = 0; q < n; ++q, v += 4) {
    for (int k = 0; k < 4; ++k) {
      v[k].u = u[k];
      v[k].v = vv[k];
    }
  }
  UnlockVertices();
}

void DS_SpriteArrayObj::SyncViewRect() {
  if (DS_BaseSpriteProp* p = Preset()) p->SyncPixelRect();
}

bool DS_SpriteArrayObj::HitTestPoint(const int point[2]) const {
  DS_BaseSpriteProp* p = Preset();
  return p != nullptr && p->HitTest(static_cast<float>(point[0]), static_cast<float>(point[1]));
}

bool DS_SpriteArrayObj::AppendScreenRects(std::vector<ScreenRect>& rects) {
  for (const SpriteRecord& sprite : Sprites()) {
    const std::array<D3DXVECTOR3, 4> corners = SpriteCorners(sprite);
    float x0 = corners[0].x, x1 = x0, y0 = corners[0].y, y1 = y0;
    for (const D3DXVECTOR3& c : corners) {
      x0 = std::min(x0, c.x), x1 = std::max(x1, c.x);
      y0 = std::min(y0, c.y), y1 = std::max(y1, c.y);
    }
    rects.push_back(ScreenRect{x0, y0, x1 - x0, y1 - y0});
  }
  return false;
}

void DS_SpriteArrayObj::ExportSpriteFrames(SpriteExportState& state, bool last) {
  ParticleGeomArray::ExportSpriteFrames(state, last);
}
