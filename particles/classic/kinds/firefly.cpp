#include "particles/classic/kinds/firefly.h"

#include "particles/classic/control/particle_system_mech.h"
#include "particles/classic/kinds/target_area.h"
#include "renderers/light/ds_2d_light.h"

ZKW_Firefly::~ZKW_Firefly() {
  particles.clear();
}

bool ZKW_Firefly::Save(DS_IOF_Archive& archive) const {
  WriteRecordHeader(archive, u"ZKW_Firefly", kVersion);
  tracer.Save(archive);
  return ZKW_BrownAnimation::Save(archive);
}

bool ZKW_Firefly::ReadBody(DS_IOF_Archive& archive, uint32_t version) {
  tracer.Read(archive);
  const bool read = ZKW_BrownAnimation::ReadBody(archive, ReadBaseHeader(archive));
  const std::vector<DS_ImageFileLink>& links = appearance.picture.Value().links;
  if (version < 2 && links.size() >= 2) {
    ParticleAppearance& traces = tracer.look;
    traces.picture.RawValue().links = {links[0]};
    const ColorSetParams& colours = appearance.colorSet;
    traces.colorSet.mode1.RawValue() = colours.mode1.Value();
    traces.colorSet.mode2.RawValue() = colours.mode2.Value();
    traces.colorSet.colors.RawValue() = colours.colors.Value();
    traces.colorSet.opacity.SetValue(colours.opacity.Value());
    traces.effectLink.name = appearance.effectLink.name;
    traces.effectLink.id = appearance.effectLink.id;
    appearance.picture.RawValue().links = {DS_ImageFileLink(links[1])};
  }
  return read;
}

int ZKW_Firefly::NeedsTarget() const {
  return (tracer.look.glowMode.Value() == ParticleAppearance::kScreenGlow ? 1 : 0) +
         (appearance.glowMode.Value() == ParticleAppearance::kScreenGlow ? 1 : 0);
}

void ZKW_Firefly::AttachRuntimeObject(ZKW_ParticleSystemMech* runtime) {
  ZKW_ParticleSystemCtrl::AttachRuntimeObject(runtime);
  tracer.look.LoadTextures();
  tracer.look.LoadEffect();
  if (runtime != nullptr) runtime->ResetBatches(2);
  FitAreaToRenderTarget(*this, region.rect);
  FillCount();
}

void ZKW_Firefly::FillBatches() {
  if (mech != nullptr)
    appearance.FillBatch(particles, *mech, static_cast<float>(appearance.size.Value()), 1);
  tracer.Update(static_cast<float>(appearance.size.Value()), clock.step, particles);
  if (mech != nullptr) {
    tracer.look.FillBatch(tracer.traces, *mech, static_cast<float>(tracer.look.size.Value()), 0);
  }
}

void ZKW_Firefly::Render(DS_2D_Light& renderer, int* readerCount) {
  if (tracer.look.glowMode.Value() == ParticleAppearance::kScreenGlow)
    renderer.SwitchTarget(readerCount, true);
  if (mech != nullptr) tracer.look.Draw(*mech, 0, renderer);
  if (appearance.glowMode.Value() == ParticleAppearance::kScreenGlow)
    renderer.SwitchTarget(readerCount, true);
  if (mech != nullptr) appearance.Draw(*mech, 1, renderer);
}

std::unique_ptr<ZKW_ParticleSystemCtrl> ZKW_Firefly::Clone() const {
  return std::make_unique<ZKW_Firefly>(*this);
}
