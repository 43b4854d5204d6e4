#include "renderers/underwater/fake_undervater.h"

#include "core/param/param_reads.h"
#include "core/startup/thread_slots.h"
#include "player/render/render_context.h"

bool FakeUndervater::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"FakeUndervater", kVersion);
  effect.Save(archive);
  return DS_2D_Light::Save(archive);
}

void FakeUndervater::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  if (version < 2) {
    ReadChangedUInt32(archive, effect.speed);
    effect.speed.SetValue(effect.speed.Value() / 2);
  } else {
    effect.ReadBody(archive, ReadBaseHeader(archive));
  }
  DS_2D_Light::ReadBody(archive, ReadBaseHeader(archive));
}

void FakeUndervater::Prepare() {
  DS_2D_Light::Prepare();
  effect.Prepare(effect.DocumentMaskSlot());
}

void FakeUndervater::Update(float t) {
  DS_2D_Light::Update(t);
  effect.Tick(t);
}

void FakeUndervater::Compose(void*) {
  RenderContext* context = RenderContextTlsSlot::Get();
  // Without targets everything was drawn on the frame already.
  if (targets.Begun()) {
    ComRef<gfx::Texture>* picture = EndTargets(false);
    targetTexture = *picture;
    const WithoutParallax atPictureDepth(context);
    if (effect.effect) {
      effect.Draw(*this);
    } else {
      DrawWithBackgroundQuad(picture->Get());
    }
  }
  if (context != nullptr) context->ApplyAndDrawBars();
}
