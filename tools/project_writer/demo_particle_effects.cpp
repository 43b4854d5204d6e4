#include "tools/project_writer/demo_particle_effects.h"

#include <climits>
#include <memory>

#include "geometry/gradient/zkw_vgradient_linear.h"
#include "geometry/shape/zkw_vgeom2d.h"
#include "particles/behaviour/effects/color_effects.h"
#include "particles/behaviour/effects/periodic_effects.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"

namespace {

template <class E>
E& AddEffect(ZKW_PtclSysNode_Picture& picture) {
  auto effect = std::make_unique<ZKW_PtclSysEffect<E>>();
  E& added = *effect;
  picture.effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(std::move(effect)));
  return added;
}

// A system at (x, y) with one picture node of `count` particles (placed on a rectangle when
// there are several); answers the node.
ZKW_PtclSysNode_Picture& AddPicture(DS_SlideContainer& slide, float x, float y, unsigned count,
                                    const DemoNodeTreePictures& pictures) {
  auto system = std::make_unique<ZKW_PtclSys_Constructor>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(x, y, 0));
  auto picture = std::make_unique<ZKW_PtclSysNode_Picture>();
  auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
  group->count.SetValue(count);
  if (count > 1) {
    auto circle = CreateVGeom2DByName("ZKW_VGeom2D_Rect");
    group->SetGeometry(std::move(circle));
  }
  picture->SetPhysics(std::move(group));
  picture->texture.SetValueSilently(NodeTreeSource(pictures.softSpot, 1, 1));
  picture->size.SetValue(40);
  ZKW_PtclSysNode_Picture& added = *picture;
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(picture)));
  slide.savedObjects.emplace_back(std::move(system));
  return added;
}

void Glow(ZKW_PtclSysNode_Picture& picture, int mode, uint32_t colour) {
  picture.options.glow.enabled.SetValue(1);
  picture.options.glow.mode.SetValue(mode);
  picture.options.glow.colour.SetValue(colour);
}

}  // namespace

void AddParticleEffectsRow(DS_SlideContainer& slide, const DemoNodeTreePictures& pictures) {
  constexpr float kRow = 225.0f;

  ZKW_PtclSysNode_Picture& pulsing = AddPicture(slide, 70, kRow, 1, pictures);
  AddEffect<ZKW_PtclSysEffect_Pulsation>(pulsing).wave->amplitude.SetValue(60);
  Glow(pulsing, 0, 0x40C0FF);  // amber

  ZKW_PtclSysNode_Picture& shaking = AddPicture(slide, 170, kRow, 1, pictures);
  ZKW_PtclSysEffect_Vibration& shake = AddEffect<ZKW_PtclSysEffect_Vibration>(shaking);
  shake.direction->SetValue(0);
  shake.wave->amplitude.SetValue(12);
  shake.wave->mode.SetValue(1);  // noise
  Glow(shaking, 1, 0xFF8040);    // sky blue

  ZKW_PtclSysNode_Picture& colouring = AddPicture(slide, 270, kRow, 1, pictures);
  ZKW_PtclSysEffect_ColorV& tint = AddEffect<ZKW_PtclSysEffect_ColorV>(colouring);
  tint.source->colors.RawValue().second = {0x4040FF, 0x40FF40, 0xFF4040};
  AddEffect<ZKW_PtclSysEffect_Swinging>(colouring);
  Glow(colouring, 2, 0x4080FF);

  ZKW_PtclSysNode_Picture& swinging = AddPicture(slide, 370, kRow, 1, pictures);
  AddEffect<ZKW_PtclSysEffect_Swinging>(swinging);
  AddEffect<ZKW_PtclSysEffect_Deformation>(swinging).direction->SetValue(0);
  Glow(swinging, 3, 0x80FFFF);
  swinging.options.shadow.enabled.SetValue(1);

  ZKW_PtclSysNode_Picture& sparks = AddPicture(slide, 480, kRow, 6, pictures);
  sparks.size.SetValue(16);
  sparks.options.radialGlow.enabled.SetValue(1);
  sparks.options.radialGlow.size.SetValue(300);  // three times the spark
  sparks.options.radialGlow.colour.SetValue(0x60A0FF);
  sparks.options.radialGlow.texture.SetValueSilently(NodeTreeSource(pictures.softSpot, 1, 1));
  // The sparks share one colour from where their system stands on a ramp that falls from 1 at
  // the row's left to 0 at x = 600: at x = 480 it reads 0.2, so 0.8 of the way to yellow.
  ZKW_PtclSysEff_ColorGradient& byPlace = AddEffect<ZKW_PtclSysEff_ColorGradient>(sparks);
  auto ramp = std::make_unique<ZKW_VGradient_Linear>();
  ramp->start.SetValue(D3DXVECTOR3(0, kRow, 0));
  ramp->end.SetValue(D3DXVECTOR3(600, kRow, 0));
  byPlace.gradient.SetValue(DS_SafePtr<ZKW_VGradient>(std::move(ramp)));
  byPlace.source->gradient.RawValue().second = {{0.0f, 0x4040FFu}, {1.0f, 0x40FFFFu}};
}
