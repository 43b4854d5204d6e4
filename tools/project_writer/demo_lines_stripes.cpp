#include "tools/project_writer/demo_lines_stripes.h"

#include <memory>

#include "particles/behaviour/physics/point_groups.h"
#include "particles/tree/line/stripe_line_node.h"
#include "particles/tree/ptclsys_constructor.h"
#include "player/scene/ds_slide_container.h"
#include "tools/project_writer/demo_node_tree.h"
#include "tools/project_writer/project_builder.h"

namespace {

// Additive strips of `streak`, `width` units wide, in a pale colour, one curve per particle of a
// group of `count`.
template <class Line>
std::unique_ptr<Line> Lines(const DS_ImageFileLink& streak, unsigned count, unsigned width,
                            uint32_t colour) {
  auto line = std::make_unique<Line>();
  auto group = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
  group->count.RawValue() = count;
  line->SetPhysics(std::move(group));
  line->texture.SetValueSilently(NodeTreeSource(streak, 1, 1));
  line->colour.SetValue(colour);
  line->additive.SetValue(1);
  ZKW_PtclSysPhys_Curves& curves = *line->GetCurves();
  curves.width.value.SetValue(width);
  curves.spin.angle.spread.SetValue(50);  // turned at random by up to 50 degrees either way
  return line;
}

}  // namespace

void AddStripeLines(ProjectBuilder&, DS_SlideContainer& slide, const DS_ImageFileLink& streak) {
  auto system = std::make_unique<ZKW_PtclSys_Builder>();
  system->Root().Physics().position.SetValue(D3DXVECTOR3(290, 135, 0));

  // Three bolts of 6 levels, 120 units long, fanning out from the middle and flickering fast.
  auto bolts = Lines<ZKW_PtclSysNode_FractalLine>(streak, 3, 7, 0xFFE0C0);  // pale blue
  bolts->curves->levels.RawValue() = 6;
  bolts->curves->roughness.SetValue(70);  // 0.28
  bolts->curves->speed.SetValue(120);     // 12 changes a second
  bolts->curves->length.value.SetValue(120);
  bolts->curves->spin.angle.value.SetValue(270);
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(bolts)));

  // Two wandering discharges of 30 segments, 260 units long, to the right.
  auto sparks = Lines<ZKW_PtclSysNode_RandomLine>(streak, 2, 5, 0xFFC0FF);  // violet
  sparks->curves->segments.RawValue() = 30;
  sparks->curves->speed.SetValue(30);  // a new walk every third of a second
  sparks->curves->length.value.SetValue(260);
  system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(sparks)));

  slide.savedObjects.emplace_back(std::move(system));
}
