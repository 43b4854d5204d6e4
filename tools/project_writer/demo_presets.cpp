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

// An emitter of full-size particles: a source's size starts at 0 %, which would shrink every
// child drawn on its particles to nothing.
template <class Emitter>
std::unique_ptr<Emitter> Emitting(unsigned count, unsigned speed) {
  auto emitter = std::make_unique<Emitter>();
  emitter->count.SetValue(count);
  emitter->lifetime.SetValue(3.0f);
  emitter->speed.value.SetValue(speed);
  emitter->size.value.SetValue(100);
  return emitter;
}

// A swarm of `count` in a `width` x `height` box whose turns take longer than a frame: shorter
// ones are over before a frame can steer by them, and the particles fly off for good.
std::unique_ptr<ZKW_PSGeometry_Swarm> Swarm(unsigned count, unsigned speed, unsigned width,
                                            unsigned height) {
  auto swarm = std::make_unique<ZKW_PSGeometry_Swarm>();
  swarm->count.SetValue(count);
  swarm->speed.SetValue(speed);
  swarm->width.SetValue(width);
  swarm->height.SetValue(height);
  swarm->travelTime.SetValue(40);
  swarm->retargetRate.SetValue(50);
  return swarm;
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

void AddPresetsSlide(ProjectBuilder& project, const DS_ImageFileLink& background, float width,
                     float height, const DemoPresetPictures& pictures) {
  DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
  slide.name.RawValue() = u"Presets";
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;

  auto root = std::make_unique<ZKW_PSTree_Root>();
  // Placed: a slide's objects are made before its picture is drawn, so the tree cannot take the
  // picture's centre by itself.
  root->keepGuid = 1;
  root->position.SetValue(D3DXVECTOR3(width * 0.5f, height * 0.5f, 0));
  auto stem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::make_unique<ZKW_PSGeometry_Point>()));

  // Spots fanning out upwards and balloons circling the centre from a random point of a
  // rectangle.
  auto fan = Emitting<ZKW_PSGeomEmit_Sector>(12, 90);
  fan->sector.SetValue(90);
  fan->sector.spread.SetValue(100);
  auto sector = std::make_unique<ZKW_PSTree_Stem>(DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(fan)));
  auto spots = PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 24);
  spots->blend.SetValue(1);
  spots->glowMode.SetValue(1);
  spots->glowColour.SetValue(0x40C0FF);
  spots->glowBrightness.SetValue(60);
  Add(*sector, std::move(spots));
  Add(*stem, std::move(sector));

  auto ring = Emitting<ZKW_PSGeomEmit_Circular>(4, 40);
  auto around = std::make_unique<ZKW_VFigure_Rect>();
  around->width.SetValue(200);
  around->height.SetValue(120);
  ring->figure.SetFigure(DS_SafePtr<ZKW_VFigure>(std::move(around)), nullptr);
  auto circular =
      std::make_unique<ZKW_PSTree_Stem>(DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(ring)));
  auto balloons = PointLeaf<ZKW_PartyBalloon>(BalloonSource(pictures), 40);
  balloons->firstLightMapOpacity.SetValue(60);
  balloons->secondLightMapOpacity.SetValue(40);
  Add(*circular, std::move(balloons));
  Add(*stem, std::move(circular));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(stem)));

  auto flares = std::make_unique<ZKW_PSTree_Leaf>(Sized(Swarm(16, 30, 300, 160)));
  flares->texture.SetValueSilently(NodeTreeSource(pictures.flareAtlas, 4, 4));
  flares->size.SetValue(32);
  flares->glowMode.SetValue(2);
  flares->glowColour.SetValue(0x80FFFF);
  flares->glowBrightness.SetValue(80);
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(flares)));

  // A second swarm whose parents each leave a trail of fading spots behind them: the trace
  // makes its points when a stem emits from it, and a spot on each point fades as it ages.
  auto trailStem = std::make_unique<ZKW_PSTree_Stem>(Sized(Swarm(4, 40, 360, 120)));
  auto trace = std::make_unique<ZKW_PSTree_Stem>(Sized(std::make_unique<ZKW_PSGeometry_Trace>()));
  auto trail = PointLeaf(NodeTreeSource(pictures.softSpot, 1, 1), 12);
  trail->source->translucencyEnvelope.values[2].SetValue(0);
  trail->blend.SetValue(1);
  Add(*trace, std::move(trail));
  Add(*trailStem, std::move(trace));
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

  // Sparks starting along a curved path across the upper half, heading along it; the path is
  // drawn about the tree's position, so the sparks keep to their parent.
  auto along = Emitting<ZKW_PSGeomEmit_Path>(10, 60);
  along->attached.SetValue(1);
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
