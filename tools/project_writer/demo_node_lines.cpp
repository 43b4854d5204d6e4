#include "tools/project_writer/demo_node_lines.h"

#include <climits>
#include <memory>
#include <utility>
#include <vector>

#include "geometry/graph/vgraph_line.h"
#include "particles/behaviour/effects/angle_effects.h"
#include "particles/behaviour/effects/multiplier_effects.h"
#include "particles/behaviour/laws/centred_laws.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/line/line_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/demo_tree_parts.h"
#include "tools/project_writer/project_builder.h"

namespace {

using demo_tree::AddEffect;
using demo_tree::Rect;
using demo_tree::Stream;

DS_SafePtr<ZKW_VGraph> Envelope(std::vector<ZKW_VGraph_Line::Point> points) {
  return DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_Line>(std::move(points)));
}

// A line node of `band`, tinted `colour` (0xBBGGRR), drawn additively: one line on each particle
// of its parent node, taking that particle's age.
std::unique_ptr<ZKW_PtclSysNode_Line> Line(const DS_ImageFileLink& band, uint32_t colour) {
  auto line = std::make_unique<ZKW_PtclSysNode_Line>();
  line->texture.SetValueSilently(NodeTreeSource(band, 1, 1));
  line->colour.SetValue(colour);
  line->additive.SetValue(1);
  line->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
  return line;
}

// An emitter moved by `physics` whose particles turn the way they move and carry `line`.
std::unique_ptr<ZKW_PtclSysNode_Emitter> Carried(std::unique_ptr<ZKW_PtclSysPhys_Points> physics,
                                                 std::unique_ptr<ZKW_PtclSysNode_Line> line) {
  auto emitter = std::make_unique<ZKW_PtclSysNode_Emitter>();
  emitter->SetPhysics(std::move(physics));
  AddEffect<ZKW_OrientationInMotion>(*emitter)->mode->SetValue(1);
  emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(line)));
  return emitter;
}

// An x scale running from 0 to 2 over a particle's life.
void GrowOverLife(ZKW_PtclSysNode_Line& line) {
  auto* growth = AddEffect<ZKW_PtclSysEff_Graph>(line);
  growth->parameterIndex = ParticleRecord::kScaleXYZ;
  growth->mode = 1;
  growth->xWeight = 1.0f;
  growth->envelope.SetGraph(Envelope({{0, 0}, {1, 2}}));
}

}  // namespace

void AddNodeLinesSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                       const DS_ImageFileLink& band) {
  DS_SlideContainer& slide = demo_tree::AddSystemSlide(project, u"Node lines", background);
  auto system = demo_tree::CentredSystem();
  auto add = [&](std::unique_ptr<ZKW_PtclSys_Node> node) {
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
  };

  // Comets: a radial burst whose lines end at their particle, thin and faint at the tail.
  auto radial = std::make_unique<ZKW_PtclSysMLaw_Radial>();
  radial->speed.value.SetValue(70);
  auto comets = Line(band, 0x60D0FF);
  comets->anchor.SetValue(100);
  ZKW_StraightWidehtLine& tail = *comets->segments.Value()[0];
  tail.SetValue(70);
  tail.width.value.SetValue(8);
  tail.width.envelope.SetGraph(Envelope({{0, 0.1f}, {0.8f, 0.7f}, {1, 1}}));
  tail.opacity.envelope.SetGraph(Envelope({{0, 0}, {1, 1}}));
  add(Carried(Stream(20, 15, std::move(radial), Rect(-150, 0, 8, 8)), std::move(comets)));

  // A fountain of strokes that grow out of their start and then retract into their end over
  // their life (mode 1), centred on their particle.
  auto up = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  up->direction.SetValue(90);
  up->spread.SetValue(30);
  up->speed.value.SetValue(80);
  auto strokes = Line(band, 0xA0FFA0);
  strokes->mode.SetValue(static_cast<int>(LineClipMode::kGrow));
  strokes->anchor.SetValue(50);
  ZKW_StraightWidehtLine& stroke = *strokes->segments.Value()[0];
  stroke.SetValue(90);
  stroke.width.value.SetValue(10);
  stroke.width.spread.SetValue(50);
  GrowOverLife(*strokes);
  add(Carried(Stream(8, 30, std::move(up), Rect(60, 100, 8, 8)), std::move(strokes)));

  // Dashes sliding through their window (mode 2) over their life: a dim tail segment and a
  // bright head.
  auto right = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  right->direction.SetValue(0);
  right->spread.SetValue(10);
  right->speed.value.SetValue(60);
  auto dashes = Line(band, 0xFFB070);
  dashes->mode.SetValue(static_cast<int>(LineClipMode::kSlide));
  dashes->segments.ExecuteCommand(AListMediaParam::kAddItem, nullptr);
  ZKW_StraightWidehtLine& dim = *dashes->segments.Value()[0];
  dim.SetValue(60);
  dim.width.value.SetValue(6);
  dim.opacity.value.SetValue(60);  // 60 % transparent
  ZKW_StraightWidehtLine& head = *dashes->segments.Value()[1];
  head.SetValue(30);
  head.width.value.SetValue(12);
  head.width.envelope.SetGraph(Envelope({{0, 1}, {1, 0.2f}}));
  GrowOverLife(*dashes);
  add(Carried(Stream(4, 40, std::move(right), Rect(-20, -100, 8, 8)), std::move(dashes)));

  slide.savedObjects.emplace_back(std::move(system));
}
