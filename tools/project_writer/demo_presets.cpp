#include "tools/project_writer/demo_presets.h"

#include <memory>
#include <utility>

#include "geometry/figure/zkw_vfigure_rect.h"
#include "particles/behaviour/sources/emitter_kinds.h"
#include "particles/behaviour/sources/line_emitters.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/party_balloon.h"
#include "particles/tree/preset/pstree_leaf.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/ptclsys_preset.h"
#include "player/resources/zkw_texture_src.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;

template <class Source>
DS_SafePtr<ZKW_PtclSys_Geometry> Sized(std::unique_ptr<Source> source) {
  source->size.value.SetValue(100);
  return DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(source));
}

// A leaf of one point per parent particle, showing `picture` in `size` units.
template <class Leaf = ZKW_PSTree_Leaf>
std::unique_ptr<Leaf> PointLeaf(DS_SafePtr<ZKW_TextureSRC> picture, unsigned size) {
  auto leaf = std::make_unique<Leaf>(Sized(std::make_unique<ZKW_PSGeometry_Point>()));
  leaf->texture.SetValueSilently(std::move(picture));
  leaf->size.SetValue(size);
  return leaf;
}

template <class Emitter>
std::unique_ptr<Emitter> Emitting(unsigned count, unsigned speed) {
  auto emitter = std::make_unique<Emitter>();
  emitter->count.SetValue(count);
  emitter->lifetime.SetValue(3.0f);
  emitter->speed.value.SetValue(speed);
  return emitter;
}

// The balloon's colour picture and its highlight and shade light maps.
DS_SafePtr<ZKW_TextureSRC> BalloonSource(const DemoPresetPictures& pictures) {
  auto source = std::make_unique<ZKW_ImgFileTex>();
  source->links = {pictures.softSpot, pictures.lightBand, pictures.smokePuff};
  source->currentName = pictures.softSpot.name;
  source->currentId = pictures.softSpot.id;
  return DS_SafePtr<ZKW_TextureSRC>(std::move(source));
}

void Add(ZKW_PSTree_Node& parent, std::unique_ptr<ZKW_PSTree_Node> child) {
  parent.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(child)));
}

}  // namespace

void AddPresetsSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                     const DemoPresetPictures& pictures) {
  DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
  slide.name.RawValue() = u"Presets";
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;

  auto root = std::make_unique<ZKW_PSTree_Root>();
  auto stem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::make_unique<ZKW_PSGeometry_Point>()));

  auto sector = std::make_unique<ZKW_PSTree_Stem>(
      DS_SafePtr<ZKW_PtclSys_Geometry>(Emitting<ZKW_PSGeomEmit_Sector>(12, 90)));
  auto spots = PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 24);
  spots->blend.SetValue(1);
  spots->glowMode.SetValue(1);
  spots->glowColour.SetValue(0x40C0FF);
  spots->glowBrightness.SetValue(60);
  Add(*sector, std::move(spots));
  Add(*stem, std::move(sector));

  auto circular = std::make_unique<ZKW_PSTree_Stem>(
      DS_SafePtr<ZKW_PtclSys_Geometry>(Emitting<ZKW_PSGeomEmit_Circular>(4, 40)));
  auto balloons = PointLeaf<ZKW_PartyBalloon>(BalloonSource(pictures), 40);
  balloons->firstLightMapOpacity.SetValue(60);
  balloons->secondLightMapOpacity.SetValue(40);
  Add(*circular, std::move(balloons));
  Add(*stem, std::move(circular));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(stem)));

  auto swarm = std::make_unique<ZKW_PSGeometry_Swarm>();
  swarm->count.SetValue(16);
  swarm->speed.SetValue(100);
  swarm->width.SetValue(300);
  swarm->height.SetValue(160);
  auto flares = std::make_unique<ZKW_PSTree_Leaf>(Sized(std::move(swarm)));
  flares->texture.SetValueSilently(NodeTreeSource(pictures.flareAtlas, 4, 4));
  flares->size.SetValue(32);
  flares->glowMode.SetValue(2);
  flares->glowColour.SetValue(0x80FFFF);
  flares->glowBrightness.SetValue(80);
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(flares)));

  // A second swarm whose parents each leave a trail of fading spots behind them.
  auto trailed = std::make_unique<ZKW_PSGeometry_Swarm>();
  trailed->count.SetValue(4);
  trailed->speed.SetValue(140);
  trailed->width.SetValue(360);
  trailed->height.SetValue(120);
  auto trailStem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::move(trailed)));
  auto trail = std::make_unique<ZKW_PSTree_Leaf>(Sized(std::make_unique<ZKW_PSGeometry_Trace>()));
  trail->texture.SetValueSilently(NodeTreeSource(pictures.softSpot, 1, 1));
  trail->size.SetValue(12);
  trail->blend.SetValue(1);
  Add(*trailStem, std::move(trail));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(trailStem)));

  // A grid of 4 x 6 spots on a rectangle, breathing in waves spread over rows and columns.
  auto grid = std::make_unique<ZKW_PSSource_Group>();
  auto rect = std::make_unique<ZKW_VFigure_Rect>();
  rect->width.SetValue(240);
  rect->height.SetValue(120);
  grid->figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(rect)), nullptr);
  grid->rows.SetValue(4);
  grid->columns.SetValue(6);
  grid->rowPhase.SetValue(30);
  grid->columnPhase.SetValue(60);
  grid->sizeOscillation.mode.SetValue(OscillationParams::kHarmonic);
  grid->sizeOscillation.frequency.SetValue(10);
  grid->sizeOscillation.amplitude.SetValue(120);
  grid->position.SetValue(D3DXVECTOR3(-150, 60, 0));
  auto gridStem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::move(grid)));
  Add(*gridStem, PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 16));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(gridStem)));

  // Sparks starting along a curved path across the lower half, heading along it.
  auto along = Emitting<ZKW_PSGeomEmit_Path>(10, 60);
  for (const D3DXVECTOR3& at : {D3DXVECTOR3(-250, -60, 0), D3DXVECTOR3(-80, -110, 0),
                                D3DXVECTOR3(80, -20, 0), D3DXVECTOR3(250, -90, 0)}) {
    DX_SmartPnt point;
    point.SetValueSilently(at);
    along->path.AppendPoint(point, nullptr);
  }
  along->path.Rebuild();
  auto pathStem =
      std::make_unique<ZKW_PSTree_Stem>(DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(along)));
  auto sparks = PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 14);
  sparks->blend.SetValue(1);
  Add(*pathStem, std::move(sparks));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(pathStem)));
  slide.savedObjects.emplace_back(std::move(root));

  auto preset = std::make_unique<ZKW_PtclSysPreset>();
  preset->keepGuid = 1;
  preset->position.SetValue(D3DXVECTOR3(100, 80, 0));
  preset->presetValue = 2;
  preset->floats = {0.5f, 1.0f};
  preset->values.emplace_back(3u);
  auto glowing = PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 48);
  glowing->glowMode.SetValue(1);
  glowing->glowColour.SetValue(0xFFFFFF);
  glowing->glowBrightness.SetValue(50);
  preset->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(glowing)));
  slide.savedObjects.emplace_back(std::move(preset));
}
