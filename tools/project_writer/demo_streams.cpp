#include "tools/project_writer/demo_streams.h"

#include <climits>
#include <memory>
#include <utility>

#include "geometry/shape/zkw_vgeom2d_curve.h"
#include "particles/behaviour/effects/motion_effects.h"
#include "particles/behaviour/laws/centred_laws.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "particles/behaviour/physics/exploding_pic.h"
#include "particles/behaviour/physics/shaped_points.h"
#include "particles/behaviour/physics/track_physics.h"
#include "particles/tree/picture_node.h"
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

// A straight B-spline from (x0, y0) to (x1, y1).
std::unique_ptr<ZKW_VGeom2D_Curve> Spline(float x0, float y0, float x1, float y1) {
  std::unique_ptr<ZKW_VGeom2D> made = CreateVGeom2DByName("ZKW_VGeom2D_BSpline");
  auto* curve = dynamic_cast<ZKW_VGeom2D_Curve*>(made.get());
  if (curve == nullptr) return nullptr;
  made.release();
  curve->InitAsSegment(x0, y0, 0, x1, y1, 0);
  return std::unique_ptr<ZKW_VGeom2D_Curve>(curve);
}

// A picture node of `link` at `size`, tinted `colour` (0xBBGGRR), glowing additively, moved by
// `physics`.
std::unique_ptr<ZKW_PtclSysNode_Picture> Picture(const DS_ImageFileLink& link, unsigned size,
                                                 uint32_t colour,
                                                 std::unique_ptr<ZKW_PtclSysPhys_Points> physics) {
  auto picture = std::make_unique<ZKW_PtclSysNode_Picture>();
  picture->texture.SetValueSilently(NodeTreeSource(link, 1, 1));
  picture->size.SetValue(size);
  picture->colour.SetValue(colour);
  picture->additive.SetValue(1);
  picture->SetPhysics(std::move(physics));
  return picture;
}

// An emitter moved by `physics` that draws one picture (as Picture makes it) on each of its
// particles; the picture takes its particle's age.
std::unique_ptr<ZKW_PtclSysNode_Emitter> Drawn(std::unique_ptr<ZKW_PtclSysPhys_Points> physics,
                                               const DS_ImageFileLink& link, unsigned size,
                                               uint32_t colour) {
  auto emitter = std::make_unique<ZKW_PtclSysNode_Emitter>();
  emitter->SetPhysics(std::move(physics));
  auto one = std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>();
  emitter->AddChild(DS_SafePtr<ZKW_PtclSys_Node>(Picture(link, size, colour, std::move(one))));
  return emitter;
}

}  // namespace

void AddStreamsSlide(ProjectBuilder& project, const DS_ImageFileLink& background,
                     const DemoStreamsPictures& pictures) {
  DS_SlideContainer& slide = demo_tree::AddSystemSlide(project, u"Streams", background);
  auto system = demo_tree::CentredSystem();
  const DS_ImageFileLink& spot = pictures.softSpot;
  auto add = [&](std::unique_ptr<ZKW_PtclSys_Node> node) {
    system->Root().AddChild(DS_SafePtr<ZKW_PtclSys_Node>(std::move(node)));
  };

  // A fountain: up at 90 +- 20 degrees, pulled back down.
  auto up = std::make_unique<ZKW_PtclSysMLaw_Vector>();
  up->direction.SetValue(90);
  up->spread.SetValue(40);
  up->speed.value.SetValue(170);
  auto fountain = Drawn(Stream(40, 20, std::move(up), Rect(-230, 110, 10, 2)), spot, 14, 0xFFD0A0);
  AddEffect<ZKW_PtclSysEffect_ForceGravitation>(*fountain)->strength->SetValue(150);
  add(std::move(fountain));

  // A radial burst, slowed by drag.
  auto radial = std::make_unique<ZKW_PtclSysMLaw_Radial>();
  radial->speed.value.SetValue(60);
  auto burst =
      Drawn(Stream(30, 15, std::move(radial), Rect(-150, -40, 20, 20)), spot, 12, 0x80C0FF);
  AddEffect<ZKW_PtclSysEffect_ForceDrag>(*burst)->strength->SetValue(20);
  add(std::move(burst));

  // A spiral about a small square.
  auto spiral = std::make_unique<ZKW_PtclSysMLaw_Spiral>();
  spiral->spiral.angularSpeed.value.SetValue(120);
  spiral->spiral.radialSpeed.value.SetValue(25);
  add(Drawn(Stream(20, 40, std::move(spiral), Rect(-40, -80, 30, 30)), spot, 10, 0xFF80FF));

  // A tunnel about a rectangle's centre.
  auto tunnel = std::make_unique<ZKW_PtclSysMLCentred_Tunel>();
  tunnel->depth.SetValue(60);
  add(Drawn(Stream(25, 30, std::move(tunnel), Rect(80, -70, 120, 80)), spot, 16, 0xC0FFC0));

  // A swarm and a flow in rectangles.
  auto swarm = std::make_unique<ZKW_PtclSysPhys_Swarm>();
  swarm->count.RawValue() = 25;
  swarm->SetGeometry(Rect(200, -70, 120, 80));
  add(Drawn(std::move(swarm), spot, 8, 0x60FFFF));
  auto flow = std::make_unique<ZKW_PtclSysPhys_Flow>();
  flow->count.RawValue() = 30;
  flow->flow.speed.value.SetValue(60);
  flow->flow.scatter.SetValue(20);
  flow->SetGeometry(Rect(-200, 30, 140, 50));
  add(Drawn(std::move(flow), spot, 8, 0xFFFFFF));

  // Fixed spots looping over a rectangle.
  auto spots = std::make_unique<ZKW_PtclSysPhys_FixedSpots>();
  spots->rows.RawValue() = 4;
  spots->columns.RawValue() = 6;
  spots->loopMode.RawValue() = 1;
  spots->loop.speed.value.SetValue(40);
  spots->loop.direction.SetValue(30);
  spots->SetGeometry(Rect(-40, 30, 120, 60));
  add(Drawn(std::move(spots), spot, 10, 0xA0A0FF));

  // A lattice sweeping its rows over a rectangle.
  auto lattice = std::make_unique<ZKW_PtclSysPhys_Lattice>();
  lattice->countA.RawValue() = 8;
  lattice->countB.RawValue() = 6;
  lattice->life.value.SetValue(15);
  lattice->SetGeometry(Rect(110, 30, 120, 60));
  add(Drawn(std::move(lattice), spot, 10, 0xFFC0C0));

  // A bouncing track along a B-spline and a perspective track, both turned to their way.
  auto track = std::make_unique<ZKW_PtclSysPhys_Track>();
  track->curve.Set(Spline(-260, 80, 260, 80));
  track->count.RawValue() = 1;
  track->motion.speed.SetValue(120);
  track->motion.easing.RawValue() = 3;
  track->pauses.endPause.SetValue(50);
  add(Drawn(std::move(track), spot, 24, 0x40FFFF));
  auto perspective = std::make_unique<ZKW_PtclSysPhys_TrackPerspective>();
  perspective->curve.Set(Spline(260, 120, -100, 0));
  perspective->motion.speed.SetValue(25);
  perspective->motion.bounce.RawValue() = 0;
  add(Drawn(std::move(perspective), spot, 40, 0xFFFFA0));

  // A faint band of light sweeping sideways across the whole picture as its texture scrolls.
  // The point group puts its one picture on the root, the picture's centre; the band runs the
  // picture's full height, so a quad of it has hard top and bottom edges and, while it scrolls,
  // hard sides where the texture wraps: the quad is as wide as the picture, which hides all four.
  auto scrolling =
      Picture(pictures.lightBand, 580, 0x304860, std::make_unique<ZKW_PtclSysPhys_ConstPntGroup>());
  auto* scroll = AddEffect<ZKW_PtclSysEffect_ScrollTex>(*scrolling);
  scroll->direction->RawValue() = 1;
  scroll->speed->SetValue(10);
  add(std::move(scrolling));

  // Pieces of the slide's own picture bursting out and coming back.
  auto pieces = std::make_unique<ZKW_PtclSysNodePic_Explode>();
  pieces->texture.SetValueSilently(NodeTreeSource(spot, 1, 1));
  pieces->size.SetValue(60);
  if (auto* physics = dynamic_cast<ZKW_PtclSysPhys_ExplodingPic*>(pieces->physics.Get()))
    physics->pieceSpeed.value.SetValue(10);
  AddEffect<ZKW_PtclSysEffect_BgTex>(*pieces);
  add(std::move(pieces));

  slide.savedObjects.emplace_back(std::move(system));
}
