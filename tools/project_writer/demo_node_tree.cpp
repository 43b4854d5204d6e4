#include "tools/project_writer/demo_node_tree.h"

#include <memory>

#include "particles/behaviour/physics/exploding_pic.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_particle_effects.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;

}  // namespace

DS_SafePtr<ZKW_TextureSRC> NodeTreeSource(const DS_ImageFileLink& link, uint32_t columns,
                                          uint32_t rows) {
  auto source = std::make_unique<ZKW_ImgFileTex>();
  source->links = {link};
  source->currentName = link.name;
  source->currentId = link.id;
  source->valueA = columns;
  source->valueB = rows;
  source->modeParam.RawValue() = 0;
  return DS_SafePtr<ZKW_TextureSRC>(std::move(source));
}

void AddNodeTreeSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                      const DemoNodeTreePictures& pictures) {
  DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
  slide.name.RawValue() = u"Particles";
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;

  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  ZKW_PtclSysPhys_RootPnt& root = system->Root().Physics();
  root.position.SetValue(D3DXVECTOR3(290, 135, 0));
  root.spinSpeed.SetValue(75);  // 30 degrees a second

  // The flare plays its 16 frames at 12 a second, under a Blank node that only carries it.
  auto flare = std::make_unique<ZKW_PtclSysNode_Picture>();
  flare->texture.SetValueSilently(NodeTreeSource(pictures.flareAtlas, 4, 4));
  flare->texture.speed.SetValue(12);
  flare->size.SetValue(90);
  flare->colour.SetValue(0x80E0FF);  // warm white
  flare->additive.SetValue(1);
  auto blank = std::make_unique<ZKW_PtclSysNode_Blank>();
  blank->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(flare)));
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(blank)));

  // The soft spot, whole for a second, then 100 spinning pieces for a second.
  auto burst = std::make_unique<ZKW_PtclSysNodePic_Explode>();
  burst->texture.SetValueSilently(NodeTreeSource(pictures.softSpot, 1, 1));
  burst->size.SetValue(70);
  burst->colour.SetValue(0xFFC080);  // pale blue
  if (auto* pieces = dynamic_cast<ZKW_PtclSysPhys_ExplodingPic*>(burst->physics.Get()))
    pieces->pieceSpeed.value.SetValue(12);  // 120 units a second
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(burst)));

  slide.savedObjects.emplace_back(std::move(system));
  AddParticleEffectsRow(slide, pictures);
}
