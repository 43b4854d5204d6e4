#include "tools/project_writer/demo_lines_trace.h"

#include <memory>
#include <utility>

#include "particles/behaviour/physics/shaped_points.h"
#include "particles/tree/line/trace_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/demo_tree_parts.h"

namespace {

// An emitter moved by `physics` whose particles trail ribbons of `colour` (0xBBGGRR) `width`
// units wide, drawn in `drawMode`, with a soft spot of `spotSize` on each particle.
std::unique_ptr<ZKW_PtclSysNode_Emitter> Trailing(std::unique_ptr<ZKW_PtclSysPhys_Points> physics,
                                                  uint32_t colour, unsigned width, int drawMode,
                                                  const DS_ImageFileLink& softSpot,
                                                  unsigned spotSize) {
  auto emitter = std::make_unique<ZKW_PtclSysNode_Emitter>();
  emitter->SetPhysics(std::move(physics));
  auto trace = std::make_unique<ZKW_PtclSysNode_Trace>();
  trace->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
  trace->colour.SetValue(colour);
  trace->drawMode.SetValue(drawMode);
  trace->trace->pointSize.value.SetValue(width);
  trace->trace->pointLife.value.SetValue(15);  // 1.5 s
  trace->enabled.SetValue(1);
  auto spot = std::make_unique<ZKW_PtclSysNode_Picture>();
  spot->SetPhysics(std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
  spot->texture.SetValueSilently(NodeTreeSource(softSpot, 1, 1));
  spot->size.SetValue(spotSize);
  spot->additive.SetValue(1);
  emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(trace)));
  emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(spot)));
  return emitter;
}

}  // namespace

void AddTraceDemo(ProjectBuilder&, DS_SlideContainer& slide, const DS_ImageFileLink& softSpot) {
  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(287, 134, 0));
  auto add = [&](std::unique_ptr<ZKW_PtclSys_Node> node) {
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
  };

  auto swarm = std::make_unique<ZKW_PtclSysPhys_Swarm>();
  swarm->count.RawValue() = 10;
  swarm->SetGeometry(demo_tree::Rect(-120, 0, 240, 200));
  add(Trailing(std::move(swarm), 0xFFC080, 8, 1, softSpot, 14));  // pale blue, offset strips

  auto flow = std::make_unique<ZKW_PtclSysPhys_Flow>();
  flow->count.RawValue() = 6;
  flow->flow.speed.value.SetValue(90);
  flow->flow.scatter.SetValue(30);
  flow->SetGeometry(demo_tree::Rect(140, 0, 220, 180));
  add(Trailing(std::move(flow), 0x60C0FF, 18, 0, softSpot, 20));  // warm orange, bevelled

  slide.savedObjects.emplace_back(std::move(system));
}
