#include "tools/project_writer/demo_preset_lines.h"

#include <memory>
#include <utility>

#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/behaviour/physics/fractal_curve.h"
#include "particles/behaviour/sources/parent_sources.h"
#include "particles/tree/preset/pstree_curve.h"
#include "particles/tree/preset/pstree_root.h"
#include "particles/tree/preset/pstree_trace.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/project_builder.h"

namespace {

template <class Source>
DS_SafePtr<ZKW_PtclSys_Geometry> Sized(std::unique_ptr<Source> source) {
  source->size.value.SetValue(100);
  return DS_SafePtr<ZKW_PtclSys_Geometry>(std::move(source));
}

DS_SafePtr<ZKW_VGraph> Straight(float y0, float y1) {
  return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>(y0, y1));
}

void Add(ZKW_PSTree_Node& parent, std::unique_ptr<ZKW_PSTree_Node> child) {
  parent.AddChild(DS_SafePtr<ZKW_PSTree_Node>(std::move(child)));
}

// Five wanderers, each a soft spot leaving a fading, tapering trail.
std::unique_ptr<ZKW_PSTree_Node> TrailedSwarm(const DemoPresetLinePictures& pictures) {
  auto swarm = std::make_unique<ZKW_PSGeometry_Swarm>();
  swarm->count.SetValue(5);
  swarm->speed.SetValue(70);
  swarm->width.SetValue(420);
  swarm->height.SetValue(150);
  swarm->position.SetValue(D3DXVECTOR3(0, -20, 0));
  // Turns that take longer than a frame: shorter ones are over before a frame can steer by them.
  swarm->travelTime.SetValue(40);
  swarm->retargetRate.SetValue(50);
  auto stem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::move(swarm)));

  auto trail = std::make_unique<ZKW_PSTree_Trace>(Sized(std::make_unique<ZKW_PSGeometry_Trace>()));
  trail->texture.SetValueSilently(NodeTreeSource(pictures.softStreak, 1, 1));
  trail->size.SetValue(9);
  trail->blend.SetValue(1);
  trail->colours.colors.RawValue() = {0x60D0FF};
  trail->trailLife.RawValue() = 1.2f;
  // Points shrink and fade over their life: both fall from its start to 0.
  trail->pointScale.values[2].SetValue(0);
  trail->pointAlpha.values[2].SetValue(0);
  Add(*stem, std::move(trail));

  auto heads = std::make_unique<ZKW_PSTree_Leaf>(Sized(std::make_unique<ZKW_PSGeometry_Point>()));
  heads->texture.SetValueSilently(NodeTreeSource(pictures.softSpot, 1, 1));
  heads->size.SetValue(22);
  heads->blend.SetValue(1);
  heads->colours.colors.RawValue() = {0x90E8FF};
  Add(*stem, std::move(heads));
  return stem;
}

// A fractal curve across the lower part (y grows downwards), tapering to both ends, with a blue
// glow about it and a white rim of light inside its edges.
std::unique_ptr<ZKW_PSTree_Node> GlowingCurve(const DemoPresetLinePictures& pictures) {
  auto point = std::make_unique<ZKW_PSGeometry_Point>();
  point->position.SetValue(D3DXVECTOR3(0, 80, 0));
  auto stem = std::make_unique<ZKW_PSTree_Stem>(Sized(std::move(point)));

  auto curve = std::make_unique<ZKW_PSTree_Curve>(Sized(std::make_unique<ZKW_PSGeometry_Point>()));
  auto fractal = std::make_unique<ZKW_PtclSysPhys_FractalCurv>();
  fractal->roughness.SetValue(40);
  fractal->speed.SetValue(20);
  curve->SelectPhysics(1, std::move(fractal));
  curve->texture.SetValueSilently(NodeTreeSource(pictures.softStreak, 1, 1));
  curve->startLength.SetValue(80);
  curve->middleLength.SetValue(320);
  curve->endLength.SetValue(80);
  curve->width.SetValue(34);
  curve->widthProfile.start.SetGraph(Straight(0.1f, 1));
  curve->widthProfile.end.SetGraph(Straight(1, 0.1f));
  curve->opacityProfile.start.SetGraph(Straight(0, 1));
  curve->opacityProfile.end.SetGraph(Straight(1, 0));
  curve->colours.colors.RawValue() = {0xFF9040};
  curve->glowMode.SetValue(1);
  curve->glowColour.SetValue(0xFF6020);
  curve->glowBrightness.SetValue(70);
  curve->glowBlurSize.SetValue(50);
  curve->innerGlowSize.SetValue(50);
  curve->innerGlow.glowColour.SetValue(0xFFFFFF);
  curve->innerGlow.glowColour.alpha.SetValue(10);
  Add(*stem, std::move(curve));
  return stem;
}

}  // namespace

void AddPresetLines(ProjectBuilder&, DS_SlideContainer& slide, float width, float height,
                    const DemoPresetLinePictures& pictures) {
  auto root = std::make_unique<ZKW_PSTree_Root>();
  // Placed: a slide's objects are made before its picture is drawn, so the tree cannot take the
  // picture's centre by itself.
  root->keepGuid = 1;
  root->position.SetValue(D3DXVECTOR3(width * 0.5f, height * 0.5f, 0));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(TrailedSwarm(pictures)));
  root->AddChild(DS_SafePtr<ZKW_PSTree_Node>(GlowingCurve(pictures)));
  slide.savedObjects.emplace_back(std::move(root));
}
