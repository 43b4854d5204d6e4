#include "core/registry/class_registries.h"

#include <algorithm>
#include <mutex>
#include <stdexcept>
#include <vector>

namespace {

ClassRegistries& Registries() {
  static ClassRegistries registries;
  return registries;
}

struct RegistrationState {
  std::mutex mutex;
  std::vector<ClassList> ran;
  bool sealed = false;
};

RegistrationState& State() {
  static RegistrationState state;
  return state;
}

void SealAll(ClassRegistries& r) {
  r.objects.Seal();
  r.iofItems.Seal();
  r.vgeom2d.Seal();
  r.renderers.Seal();
  r.textureSources.Seal();
  r.vgraphs.Seal();
  r.timings.Seal();
  r.vfigures.Seal();
  r.vgradients.Seal();
  r.chronos.Seal();
  r.slides.Seal();
  r.nodeExtras.Seal();
}

}  // namespace

const ObjectRegistry& GetObjectRegistry() {
  return Registries().objects;
}
const FamilyRegistry<ZKW_IOF_Item>& GetIofItemRegistry() {
  return Registries().iofItems;
}
const FamilyRegistry<ZKW_VGeom2D>& GetVGeom2DRegistry() {
  return Registries().vgeom2d;
}
const FamilyRegistry<DS_2D_Light>& GetRendererRegistry() {
  return Registries().renderers;
}
const FamilyRegistry<ZKW_TextureSRC>& GetTextureSrcRegistry() {
  return Registries().textureSources;
}
const FamilyRegistry<ZKW_VGraph>& GetVGraphRegistry() {
  return Registries().vgraphs;
}
const FamilyRegistry<ZKW_Timing>& GetTimingRegistry() {
  return Registries().timings;
}
const FamilyRegistry<ZKW_VFigure>& GetVFigureRegistry() {
  return Registries().vfigures;
}
const FamilyRegistry<ZKW_VGradient>& GetVGradientRegistry() {
  return Registries().vgradients;
}
const FamilyRegistry<ZKW_ChronoCtrl>& GetChronoRegistry() {
  return Registries().chronos;
}
const FamilyRegistry<DS_SlideContainer>& GetSlideReaderRegistry() {
  return Registries().slides;
}
const FamilyRegistry<ZKW_IOF_Item>& GetNodeExtraRegistry() {
  return Registries().nodeExtras;
}

void RegisterClasses(std::span<const ClassList> lists) {
  RegistrationState& state = State();
  std::lock_guard lock(state.mutex);
  auto ran = [&](ClassList list) {
    return list == nullptr ||
           std::find(state.ran.begin(), state.ran.end(), list) != state.ran.end();
  };
  if (state.sealed) {
    if (!std::all_of(lists.begin(), lists.end(), ran)) {
      throw std::logic_error("class registries are already filled and sealed");
    }
    return;
  }
  for (ClassList list : lists) {
    if (list == nullptr || ran(list)) continue;
    list(Registries());
    state.ran.push_back(list);
  }
  SealAll(Registries());
  state.sealed = true;
}

bool ClassRegistriesSealed() {
  RegistrationState& state = State();
  std::lock_guard lock(state.mutex);
  return state.sealed;
}
