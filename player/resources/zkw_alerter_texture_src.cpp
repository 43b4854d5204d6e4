#include "player/resources/zkw_alerter_texture_src.h"

#include <algorithm>
#include <memory>

#include "core/param/param_reads.h"
#include "platform/gfx/texture.h"
#include "player/document/doc_res_manager.h"
#include "player/render/texture_helpers.h"

namespace {

constexpr uint16_t kTagValue = 1;

bool IsTagged(gfx::Texture& texture) {
  uint16_t value = 0;
  uint32_t size = sizeof value;
  return gfx::Succeeded(texture.GetPrivateData(kPremultipliedTag, &value, &size)) &&
         size == sizeof value && value == kTagValue;
}

void Tag(gfx::Texture& texture) {
  texture.SetPrivateData(kPremultipliedTag, &kTagValue, sizeof kTagValue);
}

}  // namespace

ZKW_AlerterTextureSRC::ZKW_AlerterTextureSRC() {
  speed.RawValue() = 100;
  speed.SetScale(0.01f, 0.0f);
}

bool ZKW_AlerterTextureSRC::LoadFrames(uint32_t filter) {
  frameSets.clear();
  const ZKW_TextureSRC* source = Source();
  if (source == nullptr) return true;
  if (DS_DocResManager* document = CurrentDocument()) {
    for (const DS_ImageFileLink& link : source->links) {
      const DS_FileLink3 copy(link);
      frameSets.push_back(document->BuildLinkTextures(copy, filter));
    }
  }
  if (source->modeParam.Value() == 0) speed.SetScale(1.0f, 0.0f);
  return true;
}

bool ZKW_AlerterTextureSRC::MarkTextures() {
  const ZKW_TextureSRC* source = Source();
  if (source == nullptr) return false;
  for (LinkTextureSet& set : frameSets) {
    for (const ComRef<gfx::Texture>& texture : set.textures) {
      if (!texture) continue;
      if (source->premultiplied) {
        Tag(*texture.Get());
      } else if (!IsTagged(*texture.Get()) && PremultiplyTextureAlpha(texture.Get())) {
        Tag(*texture.Get());
      }
    }
  }
  return true;
}

void ZKW_AlerterTextureSRC::Advance(float dt) {
  // A clock never runs backwards, and a NaN step would stop the frames for good.
  const float clamped = dt > 0.0f ? std::min(dt, 0.2f) : 0.0f;
  speed.step = speed.Scaled() * clamped;
  speed.localTime += speed.step;
  for (LinkTextureSet& set : frameSets) {
    if (direction.Value() == 0) {
      set.AdvanceFrame(speed.localTime);
    } else {
      set.AdvanceFrameBackward(speed.localTime);
    }
  }
}

ComRef<gfx::Texture> ZKW_AlerterTextureSRC::CurrentTexture() const {
  return frameSets.empty() ? ComRef<gfx::Texture>() : frameSets.front().CurrentTexture();
}

void ReadAlerterTextureSRC(DS_IOF_Archive& archive, ZKW_AlerterTextureSRC& alerter) {
  alerter.SetValueSilently(DS_SafePtr<ZKW_TextureSRC>(ReadTextureSrc(archive)));
  ReadChangedUInt32(archive, alerter.speed);
  archive.io().ReadInt32(alerter.direction.RawValue());
}

void WriteAlerterTextureSRC(DS_IOF_Archive& archive, const ZKW_AlerterTextureSRC& alerter) {
  if (const ZKW_TextureSRC* source = alerter.Source()) {
    source->Save(archive);
  } else {
    ZKW_SoftCircleTex().Save(archive);
  }
  archive.io().WriteUInt32(alerter.speed.Value());
  archive.io().WriteInt32(alerter.direction.Value());
}
