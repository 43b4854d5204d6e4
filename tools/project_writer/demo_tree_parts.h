#pragma once

#include <climits>
#include <memory>
#include <utility>

#include "core/link/ds_file_link.h"
#include "core/zkw_string.h"
#include "particles/behaviour/effects/zkw_particle_effect.h"
#include "particles/behaviour/physics/emitting_physics.h"
#include "particles/tree/zkw_ptclsys_node.h"

class DS_SlideContainer;
class ProjectBuilder;
class ZKW_PtclSys_Builder;
class ZKW_VGeom2D;

// Parts that the demo's node-tree slides build their systems from.
namespace demo_tree {

// A new effect of kind E at the end of the effects `node` gives its new particles; answers it.
template <class E>
E* AddEffect(ZKW_PtclSys_Node& node) {
  auto effect = std::make_unique<ZKW_PtclSysEffect<E>>();
  E* raw = effect.get();
  node.effects.Insert(INT_MAX, DS_SafePtr<ZKW_ParticlSystem_Effect>(
                                   std::unique_ptr<ZKW_ParticlSystem_Effect>(std::move(effect))));
  return raw;
}

// A slide named `name` showing `background` (a 575 x 269 picture), faded in over 1.5 s, held
// 12 s and faded out over 1.5 s.
DS_SlideContainer& AddSystemSlide(ProjectBuilder& project, const zkw_string& name,
                                  const DS_ImageFileLink& background);
// A node-tree system stored as its builder, its root at the centre of such a picture.
std::unique_ptr<ZKW_PtclSys_Builder> CentredSystem();

// A rectangle of w x h centred on (x, y), relative to the system's root.
std::unique_ptr<ZKW_VGeom2D> Rect(float x, float y, unsigned w, unsigned h);

// A figure source of `emission` particles a second living `life` tenths of a second, placed and
// aimed by `law` on `shape`.
std::unique_ptr<ZKW_PtclSysPhys_SourceFig> Stream(unsigned emission, unsigned life,
                                                  std::unique_ptr<ZKW_PtclSys_MotionLaw> law,
                                                  std::unique_ptr<ZKW_VGeom2D> shape);

}  // namespace demo_tree
