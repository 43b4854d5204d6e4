#include "tools/project_writer/demo_group.h"

#include <memory>

#include "core/chrono/zkw_chrono_default.h"
#include "geometry/graph/vgraph_line_kinds.h"
#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/group_constructor.h"
#include "particles/tree/picture_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "renderers/light/ds_2d_light.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/project_builder.h"

namespace {

constexpr float kFadeSeconds = 1.5f;
constexpr float kHoldSeconds = 10.0f;

// A system at (x, y) of one picture node showing the soft spot with a radial glow.
std::unique_ptr<ZKW_PtclSys_Constructor> Spot(float x, float y, uint32_t colour,
                                              const DS_ImageFileLink& softSpot) {
  auto system = std::make_unique<ZKW_PtclSys_Constructor>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(x, y, 0));
  auto picture = std::make_unique<ZKW_PtclSysNode_Picture>();
  auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
  group->count.SetValue(1);
  picture->SetPhysics(std::move(group));
  picture->texture.SetValueSilently(NodeTreeSource(softSpot, 1, 1));
  picture->size.SetValue(50);
  picture->colour.SetValue(colour);
  picture->additive.SetValue(1);
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(picture)));
  return system;
}

}  // namespace

void AddGroupSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                   const DS_ImageFileLink& softSpot) {
  DS_SlideContainer& slide = project.AddSlide(kFadeSeconds, kHoldSeconds, kFadeSeconds);
  slide.name.RawValue() = u"Group";
  if (DS_2D_Light* renderer = ProjectBuilder::RendererOf(slide))
    renderer->backgroundLink = background;

  auto group = std::make_unique<ZKW_Group_Constructor>();
  group->membersOutside.SetValue(false);  // the group moves, advances and draws its members
  ZKW_GroupNode& node = *group->node;
  node.Physics().position.SetValue(D3DXVECTOR3(0, 0, 0));
  node.origin = D3DXVECTOR3(0, 0, 0);
  node.pathMode.SetValue(1);
  AppendPathNodes(node, {D3DXVECTOR3(0, 0, 0), D3DXVECTOR3(150, -80, 0), D3DXVECTOR3(300, 40, 0),
                         D3DXVECTOR3(420, -20, 0)});
  // The position along the path: 1 x a ramp from 0 to 1 over each 8-second window.
  if (auto* window = dynamic_cast<ZKW_Chrono_Default*>(node.pathPosition.chrono.Chrono())) {
    window->enabled.SetValue(1);
    window->activeLength.SetValue(8.0f);
    window->pauseLength.SetValue(0.0f);
    window->amplitude.envelope.SetGraph(
        DS_SafePtr<ZKW_VGraph>(std::make_unique<ZKW_VGraph_StraightLine>(0.0f, 1.0f)));
  }
  group->memberRecords->push_back(Spot(60, 150, 0x40C0FF, softSpot));
  group->memberRecords->push_back(Spot(110, 170, 0xFF8040, softSpot));
  slide.savedObjects.emplace_back(std::move(group));
}
